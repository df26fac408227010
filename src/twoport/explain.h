#pragma once

#include "twoport/catalogue.h"

#include <QString>
#include <QStringList>

#include <array>

namespace kvadra
{

// What the calculator knows about one calculation, for explaining and copying it.
struct Calculation {
    const Schematic *schematic = nullptr;
    bool hasValues = false;         // false until a calculation has read the boxes
    std::array<double, 3> values{}; // as typed, in display units
    QString elementUnit;            // "kOhm", "mS", ...
    QString zUnit;                  // the resistance display unit
    QString yUnit;                  // the conductance display unit
};

// The working behind entry `entry` (0 to 3: 11, 12, 21, 22) of the matrix a procedure gives:
// the formula in element names, the same with the values put in, and the result as `shown`.
// For an inversion the determinant comes first, on a line of its own.
QString explainEntry(const Calculation &c, Procedure procedure, int entry, const QString &shown);

// One plain sentence on why a schematic has no Z (or no Y) matrix; empty when it has one.
QString missingMatrixReason(const Schematic &schematic, bool z);

// The element values and both matrices as shown, in plain text or as a LaTeX fragment.
// A matrix given as an empty list does not exist for the schematic.
QString summaryText(const Calculation &c, const QStringList &z, const QStringList &y);
QString summaryLatex(const Calculation &c, const QStringList &z, const QStringList &y);

// "z11", "y22", ...
QString entryName(bool z, int entry);

} // namespace kvadra
