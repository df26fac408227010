#include "resources/pictures.h"

#include "lab/labformula.h"
#include "resources/drawing.h"
#include "twoport/catalogue.h"

#include <QPainter>

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

bool isSchematic(const QString &name)
{
    const auto &all = catalogue();
    return std::any_of(all.begin(), all.end(),
                       [&](const Schematic &s) { return s.pictureName() == name; });
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

} // namespace

QStringList pictureNames()
{
    QStringList names;
    for (const Schematic &s : catalogue())
        names << s.pictureName();
    for (const LabParameter &p : labParameters())
        names << p.pictureName();
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
    if (schematic)
        return render(kSchematicSize, devicePixelRatio, [&](QPainter &p) {
            drawing::paintSchematic(p, name.mid(kSchematicPrefix.size()));
        });
    return render(kSetupSize, devicePixelRatio,
                  [&](QPainter &p) { drawing::paintLabSetup(p, name.mid(kSetupPrefix.size())); });
}

QString pictureDescription(const QString &name)
{
    if (isSchematic(name))
        return QStringLiteral("Schematic ") + name.mid(kSchematicPrefix.size());
    for (const LabParameter &p : labParameters())
        if (p.pictureName() == name)
            return QStringLiteral("Set-up for ") + QLatin1String(p.name);
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

} // namespace kvadra
