#pragma once

#include "twoport/catalogue.h"
#include "twoport/copytext.h"
#include "twoport/formulas.h"

#include <QString>

#include <array>
#include <optional>

namespace kvadra
{

// A matrix as the last successful run of its procedure left it: the element values it was
// computed from and its entries, in display units.
struct ComputedMatrix {
    std::array<double, 3> elements{};
    Matrix entries{};
};

// What the calculator's copy holds: each matrix with the element values it came from.
struct CalculatorResults {
    const Schematic *schematic = nullptr;
    QString elementUnit, zUnit, yUnit;
    std::optional<ComputedMatrix> z, y; // none: not computed, or the schematic has none
};

// The calculator's results as plain text, or as a LaTeX fragment (amsmath for its matrices).
QString calculatorCopy(const CalculatorResults &r, CopyFlavour flavour);

} // namespace kvadra
