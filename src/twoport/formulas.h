#pragma once

#include <QtGlobal>

#include <array>

namespace kvadra
{

// Entries 11, 12, 21, 22 in this order, in display units.
using Matrix = std::array<double, 4>;

// The four procedures take the element values 1, 2, 3 in display units (absent elements 0) and
// the unit powers as the shared state holds them. Each converts the inputs, computes, and
// converts the outputs before returning, so a CalcError thrown anywhere leaves the caller with
// nothing to store. The order of every operation matters: the test solver compares results
// bit for bit across schematics.
Matrix yFromConductances(double g1, double g2, double g3, qint16 siemensDisplay);
Matrix zFromConductances(double g1, double g2, double g3, qint16 siemensDisplay, qint16 ohmDisplay);
Matrix zFromResistances(double r1, double r2, double r3, qint16 ohmDisplay);
Matrix yFromResistances(double r1, double r2, double r3, qint16 ohmDisplay, qint16 siemensDisplay);

} // namespace kvadra
