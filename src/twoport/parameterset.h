#pragma once

#include "twoport/units.h"

#include <QString>

#include <array>

namespace kvadra
{

// The five parameter sets of the course. B and D take I2 as flowing out of port 2, as the lab
// helper measures it; every other entry has both port currents flowing in.
enum class ParameterSet { Z, Y, H, G, ABCD };
inline constexpr std::array<ParameterSet, 5> allParameterSets{
    ParameterSet::Z, ParameterSet::Y, ParameterSet::H, ParameterSet::G, ParameterSet::ABCD};

QString setName(ParameterSet set); // "Z", ..., "ABCD"
// "z11", "h21", "g12", "A", ...: entries in the order 11, 12, 21, 22 (A, B, C, D).
QString entryName(ParameterSet set, int entry);
std::array<QString, 4> entryNames(ParameterSet set);
// What an entry is: an impedance, an admittance or a ratio without a unit.
Quantity entryKind(ParameterSet set, int entry);

} // namespace kvadra
