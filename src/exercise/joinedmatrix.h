#pragma once

// A parameter set of two joined networks as the join view shows it.

#include "circuit/engine.h"

#include <QString>

namespace kvadra
{

// The matrix as a two-by-two table in rich text, its unit once where all four entries share it;
// the reason where the set is missing.
QString matrixText(ParameterSet set, const circuit::SetReport &report, const UnitPowers &units);

// The same matrix in words, exact, for a screen reader and a test:
// "6000 Ohm, 4000 Ohm; 4000 Ohm, 10000 Ohm".
QString matrixWords(ParameterSet set, const circuit::SetReport &report, const UnitPowers &units);

} // namespace kvadra
