#pragma once

#include "twoport/catalogue.h"
#include "twoport/formulas.h"
#include "twoport/parameterset.h"
#include "twoport/rational.h"
#include "twoport/units.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kvadra
{

// Whether the schematic has the set, whatever values its elements take.
bool hasSet(const Schematic &schematic, ParameterSet set);
// Why it has not, in plain sentences; empty when it has.
QStringList missingSetReason(const Schematic &schematic, ParameterSet set);

// The element values of one calculation: as typed (for exact fractions), as read, and the units.
struct ElementInput {
    const Schematic *schematic = nullptr;
    std::array<QString, 3> texts;
    std::array<double, 3> values{};
    UnitPowers units;
};

// One set's entries in display units, with the working and, where the typed values allow, the
// exact value of each.
struct SetResult {
    bool singular = false; // the values make this set singular; nothing else is filled
    Matrix values{};
    std::array<QString, 4> working;
    std::array<std::optional<QString>, 4> fraction; // "5/11", never more than six digits each
};

// Every set the schematic has (none for those it has not); a set the values make singular is
// marked so.
std::array<std::optional<SetResult>, 5> computeSets(const ElementInput &input);

// The exact values of Z or Y in display units from the typed texts, as SetResult::fraction has
// them; for the calculator's own working.
std::array<std::optional<QString>, 4> exactEntries(const ElementInput &input, Procedure procedure);

} // namespace kvadra
