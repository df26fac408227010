#pragma once

#include "twoport/copytext.h"
#include "twoport/units.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace kvadra
{

// One parameter the lab helper can find from two bench readings.
struct LabParameter {
    const char *name; // "z11" ..., also curLabParam
    const char *meas1Name;
    Quantity meas1;
    const char *meas2Name;
    Quantity meas2;
    Quantity unit;   // None: shown without a unit
    qint16 equation; // labEquation, 1 to 8

    QString pictureName() const;
};

// The set-up picture of a parameter: "LABZ11" for "z11", ... "LABD".
QString labPictureName(const QString &parameter);

// The sixteen parameters in button order: z, y, h, then A to D.
const std::array<LabParameter, 16> &labParameters();

// The parameter of formula code `equation` from the two readings in display units, as the
// answer box shows it; nothing for a code outside 1 to 8. A division by zero or an overflow
// throws CalcError.
std::optional<double> labValue(qint16 equation, double m1, double m2, const UnitPowers &units);

// The warning a shown value draws: "POSITIVE" or "NEGATIVE" when its sign is the wrong one for
// the parameter, empty otherwise. Zero never draws one.
QString labSignWarning(qint16 equation, const QString &curLabParam, double shown);

// The parameter of that name ("z11", "A", ...), or nullptr.
const LabParameter *labParameter(const QString &name);

// The unit the answer is shown in: the display unit, a fixed base unit for B and C, or empty.
QString answerUnit(const LabParameter &p, const UnitPowers &units);

// The working behind an answer: formula, readings with their units, for answers without a
// display unit the readings in base units, and the answer as shown.
QString labExplanation(const LabParameter &p, double m1, double m2, const UnitPowers &units,
                       const QString &shown);

// One successful calculation of the lab helper: the parameter, the two readings as read and the
// answer as shown, in the units in force.
struct LabReading {
    const LabParameter *parameter = nullptr;
    UnitPowers units;
    double m1 = 0, m2 = 0, answer = 0;
};

// The calculation as plain text or as a LaTeX fragment (which needs no package).
QString labCopy(const LabReading &r, CopyFlavour flavour);

} // namespace kvadra
