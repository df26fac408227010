#pragma once

// The fourteen schematics of the calculators as netlists. Internal to the circuit core.

#include <QString>

namespace kvadra::circuit
{

QString schematicNetlistText(int number);

} // namespace kvadra::circuit
