#include "resources/programicon.h"

#include "resources/drawing.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace kvadra
{

namespace
{

constexpr QSize kProgramIconSize(24, 24);

// Draws the program icon afresh for whatever size it is asked for, so that title bars, task
// switchers and the menu entry all get a drawing rather than 24 pixels scaled up.
class ProgramIconEngine : public QIconEngine
{
public:
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        return kProgramIconSize.scaled(size, Qt::KeepAspectRatio);
    }

    // size is in device pixels here; QIcon gives the result its ratio.
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const QSize fitted = actualSize(size, mode, state);
        if (fitted.isEmpty())
            return QPixmap();
        // Below its own grid the drawing would lose whole pixels; it is reduced from a large one.
        const int drawn =
            fitted.width() < kProgramIconSize.width() ? 4 * fitted.width() : fitted.width();
        const qreal ratio = qreal(drawn) / kProgramIconSize.width();
        QPixmap pm(kProgramIconSize * ratio);
        pm.setDevicePixelRatio(ratio);
        pm.fill(Qt::transparent);
        QPainter painter(&pm);
        drawing::paintProgramIcon(painter);
        painter.end();
        pm.setDevicePixelRatio(1.0);
        if (drawn != fitted.width())
            pm = pm.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (mode == QIcon::Disabled) {
            if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance())) {
                QStyleOption option;
                option.palette = QApplication::palette();
                pm = app->style()->generatedIconPixmap(mode, pm, &option);
            }
        }
        return pm;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QSize fitted = actualSize(rect.size(), mode, state);
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap pm = pixmap(fitted * ratio, mode, state);
        pm.setDevicePixelRatio(ratio);
        painter->drawPixmap(QRect(rect.topLeft() + QPoint((rect.width() - fitted.width()) / 2,
                                                          (rect.height() - fitted.height()) / 2),
                                  fitted),
                            pm);
    }

    // The sizes of an icon theme, which is what window managers and task switchers look for.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int side : {16, 22, 24, 32, 48, 64})
            sizes << QSize(side, side);
        return sizes;
    }
    QIconEngine *clone() const override { return new ProgramIconEngine; }
    QString key() const override { return QStringLiteral("kvadra-program-icon"); }
    bool isNull() override { return false; }
};

} // namespace

QIcon programIcon()
{
    return QIcon(new ProgramIconEngine);
}
namespace drawing
{

void paintProgramIcon(QPainter &painter)
{
    // A two-port: a blue box with a port of two open terminals on either side.
    Ink ink(painter);
    ink.block(8, 3, 8, 18);
    ink.setColor(QColor(0, 0, 255));
    ink.block(9, 4, 6, 16);
    ink.setColor(QColor(128, 160, 255));
    ink.block(10, 5, 1, 14);
    ink.setColor(Qt::black);
    for (int y : {7, 16}) {
        ink.hline(6, 7, y);
        ink.hline(16, 17, y);
        ink.ring({3, y});
        ink.ring({20, y});
    }
}

} // namespace drawing

} // namespace kvadra
