#pragma once

// Parameter sets as a copy writes them, for every view that shows the core's sets.

#include "circuit/engine.h"
#include "twoport/copytext.h"

#include <QStringList>

namespace kvadra
{

// One set as a matrix in its display units; a missing set, or one still waiting for the values
// of `unvalued`, as a note saying so. `title` heads it: "Z parameters".
void copySet(CopyText &copy, ParameterSet set, const circuit::SetReport &report,
             const UnitPowers &units, const QStringList &unvalued, const QString &title);

} // namespace kvadra
