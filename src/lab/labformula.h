#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace kvadra
{

enum class Quantity { None, Voltage, Current, Resistance, Conductance };

// One parameter the lab helper can find from two bench readings.
struct LabParameter {
    const char *button; // "btnZ11" ...
    const char *name;   // "z11" ..., also curLabParam
    const char *meas1Name;
    Quantity meas1;
    const char *meas2Name;
    Quantity meas2;
    Quantity unit;   // None: shown without a unit
    qint16 equation; // labEquation, 1 to 8
};

// The sixteen parameters in button order: z, y, h, then A to D.
const std::array<LabParameter, 16> &labParameters();

// "V", "A", "Ohm", "S", or empty for a ratio.
QString baseUnit(Quantity q);

struct UnitPowers {
    qint16 volt;
    qint16 ampere;
    qint16 ohm;
    qint16 siemens;
};

// The parameter of formula code `equation` from the two readings in display units, as the
// answer box shows it; nothing for a code outside 1 to 8. A division by zero or an overflow
// throws CalcError.
std::optional<double> labValue(qint16 equation, double m1, double m2, const UnitPowers &units);

// The warning a shown value draws: "POSITIVE" or "NEGATIVE" when its sign is the wrong one for
// the parameter, empty otherwise. Zero never draws one.
QString labSignWarning(qint16 equation, const QString &curLabParam, double shown);

} // namespace kvadra
