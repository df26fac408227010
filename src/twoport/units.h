#pragma once

#include <QString>
#include <QtGlobal>

namespace kvadra
{

enum class Quantity { None, Voltage, Current, Resistance, Conductance };

// The display units in force: the power of ten of each display unit over its base unit.
struct UnitPowers {
    qint16 volt = 0;
    qint16 ampere = 0;
    qint16 ohm = 0;
    qint16 siemens = 0;

    qint16 of(Quantity q) const;
};

// "m" for -3, "k" for 3, empty for any other power.
QString unitPrefix(qint16 power);

// "V", "A", "Ohm", "S", or empty for a ratio.
QString baseUnit(Quantity q);

// The base unit with the prefix of its power: "mA", "kOhm", empty for a ratio.
QString displayUnit(Quantity q, const UnitPowers &units);

// A number with its unit after a blank, or alone when the unit is empty.
QString withUnit(const QString &number, const QString &unit);

// A unit as LaTeX math after a thin space: "\,\mathrm{k\Omega}"; empty for no unit.
QString latexUnit(const QString &unit);

} // namespace kvadra
