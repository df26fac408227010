#pragma once

#include "twoport/catalogue.h"
#include "twoport/copytext.h"
#include "twoport/formulas.h"
#include "twoport/parameterset.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kvadra
{

// The element values of one calculation and the display units it ran in.
struct Calculation {
    const Schematic *schematic = nullptr;
    std::array<double, 3> values{}; // as typed, in display units
    QString elementUnit;            // "kOhm", "mS", ...
    QString zUnit;                  // the resistance display unit
    QString yUnit;                  // the conductance display unit
};

// The working behind entry `entry` (0 to 3: 11, 12, 21, 22) of the matrix a procedure gave, from
// the numbers of that very run: the element values in base units where the display unit is
// another, the determinant for an inversion, then the formula in element names, the same with
// the values put in, and the result in base units and in the display unit.
QString explainEntry(const Calculation &c, Procedure procedure, const ProcedureTrace &trace,
                     int entry);

// The steps of a working joined by " = ", a step the same as the one before it left out.
QString equationChain(const QStringList &steps);

// The first line of a result's explanation: its entry and value, and its exact value where there
// is one ("y11 = 0.454545454545455 mS = 5/11 mS").
QString resultHeadline(const QString &entry, const QString &shown, const QString &unit,
                       const std::optional<QString> &fraction = std::nullopt);

// The values of the elements a schematic has, "R1 = 1 kOhm, R3 = 3 kOhm", and the same as a
// list for a copy.
QString elementValues(const Schematic &schematic, const std::array<double, 3> &values,
                      const QString &unit);
QList<NamedValue> elementValueList(const Schematic &schematic, const std::array<double, 3> &values,
                                   const QString &unit);

} // namespace kvadra
