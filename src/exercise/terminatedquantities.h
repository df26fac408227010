#pragma once

// The seven quantities of a network between a source and a load, as the terminated view names
// them, gives their units and copies them.

#include "circuit/engine.h"
#include "twoport/copytext.h"
#include "twoport/units.h"

#include <array>

namespace kvadra
{

struct TerminatedQuantity {
    const char *name;
    Quantity kind; // Conductance for the power: watts per volt² are siemens
    const char *what;
    const char *latex; // as a LaTeX symbol: "Z_{\\mathrm{in}}"
};

// Zin, Zout, Av, Avs, Ai, Vth, P: the order the core gives them in.
const std::array<TerminatedQuantity, 7> &terminatedQuantities();

// The display unit of a quantity: the ohm unit for the impedances, none for the ratios, and for
// the power per volt² the siemens unit written as what it is, "mW/V²".
QString terminatedUnit(int quantity, const UnitPowers &units);

// The quantities as shown, in text or as a LaTeX fragment; zs and zl as the core read them.
QString copyTerminated(const circuit::Terminated &result, const QString &zs, const QString &zl,
                       const UnitPowers &units, CopyFlavour flavour);

} // namespace kvadra
