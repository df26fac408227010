#include "resources/pictures.h"

#include "resources/drawing.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QIconEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <QStylePainter>

#include <algorithm>
#include <functional>

namespace kvadra
{

namespace
{

const QLatin1String kSchematicPrefix("TEST");
const QLatin1String kSetupPrefix("LAB");
constexpr QSize kSchematicSize(145, 88);
constexpr QSize kSetupSize(240, 120);
constexpr QSize kProgramIconSize(24, 24);

constexpr const char *kSchematics[] = {"G1",   "G1G2", "G1G2G3", "G1G3",   "G2",   "G2G3", "G3",
                                       "NONE", "R1",   "R1R2",   "R1R2R3", "R1R3", "R2R3", "R3"};
constexpr const char *kSetups[] = {"Z11", "Z12", "Z21", "Z22", "Y11", "Y12", "Y21", "Y22",
                                   "H11", "H12", "H21", "H22", "A",   "B",   "C",   "D"};

bool isSchematic(const QString &name)
{
    if (!name.startsWith(kSchematicPrefix))
        return false;
    const QStringView rest = QStringView(name).mid(kSchematicPrefix.size());
    for (const char *s : kSchematics)
        if (rest == QLatin1String(s))
            return true;
    return false;
}

bool isSetup(const QString &name)
{
    return name.startsWith(kSetupPrefix) && drawing::isLabSetup(name.mid(kSetupPrefix.size()));
}

// A white canvas of the given logical size at the given ratio, handed to paint.
QPixmap render(QSize logical, qreal ratio, const std::function<void(QPainter &)> &paint)
{
    QPixmap pixmap(logical * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    paint(painter);
    painter.end();
    return pixmap;
}

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

QStringList pictureNames()
{
    QStringList names;
    for (const char *s : kSchematics)
        names << kSchematicPrefix + QLatin1String(s);
    for (const char *s : kSetups)
        names << kSetupPrefix + QLatin1String(s);
    return names;
}

QSize pictureSize(const QString &name)
{
    if (isSchematic(name))
        return kSchematicSize;
    if (isSetup(name))
        return kSetupSize;
    Q_ASSERT_X(false, "pictureSize", qPrintable(QStringLiteral("no picture ") + name));
    return QSize();
}

QPixmap picture(const QString &name, qreal devicePixelRatio)
{
    const bool schematic = isSchematic(name);
    if (!schematic && !isSetup(name)) {
        Q_ASSERT_X(false, "picture", qPrintable(QStringLiteral("no picture ") + name));
        return QPixmap();
    }
    if (!(devicePixelRatio > 0))
        devicePixelRatio = 1.0;
    const QString key = QStringLiteral("kvadra/%1@%2").arg(name).arg(devicePixelRatio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    if (schematic) {
        pixmap = render(kSchematicSize, devicePixelRatio, [&](QPainter &p) {
            drawing::paintSchematic(p, name.mid(kSchematicPrefix.size()));
        });
    } else {
        pixmap = render(kSetupSize, devicePixelRatio, [&](QPainter &p) {
            drawing::paintLabSetup(p, name.mid(kSetupPrefix.size()));
        });
    }
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

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

namespace
{
QAccessibleInterface *pictureBoxAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("kvadra::PictureBox") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    return nullptr;
}
} // namespace

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(pictureBoxAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
}

QString pictureDescription(const QString &name)
{
    if (name.startsWith(QLatin1String("TEST")))
        return QStringLiteral("Schematic ") + name.mid(4);
    if (name.startsWith(QLatin1String("LAB"))) {
        // "LABZ11" shows the set-up for z11; the chain parameters keep their capitals.
        const QString parameter = name.mid(3);
        return QStringLiteral("Set-up for ") +
               (parameter.size() > 1 ? parameter.toLower() : parameter);
    }
    return QString();
}

QString pictureDetails(const QString &name)
{
    if (isSchematic(name))
        return drawing::describeSchematic(name.mid(kSchematicPrefix.size()));
    if (isSetup(name))
        return drawing::describeLabSetup(name.mid(kSetupPrefix.size()));
    return QString();
}

void PictureBox::setPictureName(const QString &name)
{
    m_name = name;
    setAccessibleName(pictureDescription(name));
    setAccessibleDescription(pictureDetails(name));
    updateGeometry();
    update();
}

QSize PictureBox::sizeHint() const
{
    return m_name.isEmpty() ? QSize(0, 0) : pictureSize(m_name);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (m_name.isEmpty())
        return;
    QPainter(this).drawPixmap(0, 0, picture(m_name, devicePixelRatioF()));
}

PictureButton::PictureButton(const QString &pictureName, QWidget *parent)
    : QPushButton(parent), m_name(pictureName)
{
    setAccessibleName(pictureDescription(pictureName));
    setAccessibleDescription(pictureDetails(pictureName));
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    p.drawControl(QStyle::CE_PushButtonBevel, option);
    const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    p.fillRect(face, Qt::white);
    const QSize size = pictureSize(m_name);
    p.drawPixmap(face.x() + (face.width() - size.width()) / 2,
                 face.y() + (face.height() - size.height()) / 2,
                 picture(m_name, devicePixelRatioF()));
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = face;
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace kvadra
