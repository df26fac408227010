#pragma once

#include "circuit/engine.h"
#include "twoport/catalogue.h"
#include "twoport/units.h"

#include <QString>

#include <array>
#include <optional>

namespace kvadra
{

// The calculator's schematic with the values as the student typed them, in the display units.
struct ElementInput {
    const Schematic *schematic = nullptr;
    std::array<QString, 3> texts;
    std::array<double, 3> values{};
    UnitPowers units;
};

// The schematic as a netlist of the circuit core with the values put in exactly as typed, digit
// for digit rather than as the nearest double, so that 1/9 typed to 16 places is judged as typed.
// `numericOnly` leaves the formulas out.
circuit::Request coreRequest(const ElementInput &input, const circuit::Engine &engine,
                             bool numericOnly);

// An entry's exact value as the calculator's tooltips show it: a fraction of at most six digits
// over at most six, nothing for an integer or a longer one.
std::optional<QString> shortFraction(const circuit::Exact &entry);

} // namespace kvadra
