#pragma once

#include "circuit/engine.h"

namespace kvadra
{

// What the own-network window asks of the core for a netlist text that reads: every element
// given as a number stands for a symbol named after it, with that number as its value, so the
// results come as formulas in the element names and the student may type formulas in them too.
// Zeros stay (a wire, an open circuit), as do names that cannot be symbols or are symbols
// already; past the core's symbolic limit every number stays as written.
circuit::Request symbolicRequest(const QString &text, const circuit::Report &read,
                                 const UnitPowers &units);

} // namespace kvadra
