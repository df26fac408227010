#include "resources/pictures.h"

#include "resources/drawing.h"

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
#include <utility>

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

QPixmap programIconPixmap(qreal ratio)
{
    QPixmap pixmap(kProgramIconSize * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawing::paintProgramIcon(painter);
    painter.end();
    return pixmap;
}

// Draws its picture afresh for whatever size and ratio it is asked for, so icons stay sharp on
// every screen instead of being scaled from one stored pixmap.
class DrawnIconEngine : public QIconEngine
{
public:
    using Renderer = std::function<QPixmap(qreal ratio)>;

    DrawnIconEngine(QSize logical, Renderer renderer)
        : m_logical(logical), m_renderer(std::move(renderer))
    {
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        return m_logical.scaled(size, Qt::KeepAspectRatio);
    }

    // size is in device pixels here; QIcon gives the result its ratio. scaledPixmap() is left to
    // the base class, which maps onto this in whichever convention the Qt version uses.
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        // The ratio that fits, rather than the fitted size, picks the drawing, so an icon at
        // 1.5x is the very picture drawn for 1.5x.
        const qreal ratio = std::min(qreal(size.width()) / m_logical.width(),
                                     qreal(size.height()) / m_logical.height());
        if (!(ratio > 0))
            return QPixmap();
        QPixmap pm = m_renderer(ratio);
        pm.setDevicePixelRatio(1.0);
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
        const QRect target(rect.x() + (rect.width() - fitted.width()) / 2,
                           rect.y() + (rect.height() - fitted.height()) / 2, fitted.width(),
                           fitted.height());
        painter->drawPixmap(target, pm);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {m_logical}; }
    QIconEngine *clone() const override { return new DrawnIconEngine(*this); }
    QString key() const override { return QStringLiteral("kvadra-drawn"); }
    bool isNull() override { return false; }

private:
    QSize m_logical;
    Renderer m_renderer;
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
    return QIcon(new DrawnIconEngine(kProgramIconSize, programIconPixmap));
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

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {}

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

void PictureBox::setPictureName(const QString &name)
{
    m_name = name;
    setAccessibleName(pictureDescription(name));
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
