#pragma once

// Two joined networks' results as the join view shows and copies them.

#include "circuit/engine.h"
#include "twoport/copytext.h"

#include <QString>

namespace kvadra
{

// The matrix as a two-by-two table in rich text, its unit once where all four entries share it;
// the reason where the set is missing.
QString matrixText(ParameterSet set, const circuit::SetReport &report, const UnitPowers &units);

// The same matrix in words, exact, for a screen reader and a test:
// "6000 Ohm, 4000 Ohm; 4000 Ohm, 10000 Ohm".
QString matrixWords(ParameterSet set, const circuit::SetReport &report, const UnitPowers &units);

// "✓ The rule holds: ..." or "✗ The rule does not hold: ...".
QString ruleVerdict(const circuit::Joined &joined);

// Every set by the rule and as built, the verdict on the rule and why, after `heading` (how the
// two were joined); plain text or a LaTeX fragment (amsmath for its matrices).
QString copyJoined(const circuit::Joined &joined, const QString &heading, const UnitPowers &units,
                   CopyFlavour flavour);

} // namespace kvadra
