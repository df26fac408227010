#include "twoport/units.h"

namespace kvadra
{

qint16 UnitPowers::of(Quantity q) const
{
    switch (q) {
    case Quantity::Voltage:
        return volt;
    case Quantity::Current:
        return ampere;
    case Quantity::Resistance:
        return ohm;
    case Quantity::Conductance:
        return siemens;
    case Quantity::None:
        break;
    }
    return 0;
}

QString unitPrefix(qint16 power)
{
    switch (power) {
    case -3:
        return QStringLiteral("m");
    case 3:
        return QStringLiteral("k");
    default:
        return QString();
    }
}

QString baseUnit(Quantity q)
{
    switch (q) {
    case Quantity::Voltage:
        return QStringLiteral("V");
    case Quantity::Current:
        return QStringLiteral("A");
    case Quantity::Resistance:
        return QStringLiteral("Ohm");
    case Quantity::Conductance:
        return QStringLiteral("S");
    case Quantity::None:
        break;
    }
    return QString();
}

QString displayUnit(Quantity q, const UnitPowers &units)
{
    return q == Quantity::None ? QString() : unitPrefix(units.of(q)) + baseUnit(q);
}

QString withUnit(const QString &number, const QString &unit)
{
    return unit.isEmpty() ? number : number + QLatin1Char(' ') + unit;
}

QString latexUnit(const QString &unit)
{
    if (unit.isEmpty())
        return QString();
    QString u = unit;
    u.replace(QStringLiteral("Ohm"), QStringLiteral("\\Omega"));
    return QStringLiteral("\\,\\mathrm{") + u + QLatin1Char('}');
}

} // namespace kvadra
