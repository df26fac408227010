#pragma once

// The choices of the join view: how two networks are joined and what the other one is.

#include "circuit/engine.h"

#include <QString>

#include <array>

namespace kvadra
{

struct Schematic;

struct KindInfo {
    circuit::JoinKind kind;
    const char *caption;
    const char *rule;
};

// In the order cmbJoinKind lists them.
inline constexpr std::array<KindInfo, 5> joinKinds{{
    {circuit::JoinKind::Cascade, "cascade: port 2 of this one to port 1 of the other",
     "The rule for a cascade: multiply the ABCD matrices."},
    {circuit::JoinKind::Series, "series: both ports 1 in series, both ports 2 in series",
     "The rule for a series connection: add the Z matrices."},
    {circuit::JoinKind::Parallel, "parallel: both ports 1 in parallel, both ports 2 in parallel",
     "The rule for a parallel connection: add the Y matrices."},
    {circuit::JoinKind::SeriesParallel, "series-parallel: ports 1 in series, ports 2 in parallel",
     "The rule for a series-parallel connection: add the H matrices."},
    {circuit::JoinKind::ParallelSeries, "parallel-series: ports 1 in parallel, ports 2 in series",
     "The rule for a parallel-series connection: add the G matrices."},
}};

// A schematic as the list of networks to join with names it: "schematic 11: T of R1, R2, R3".
QString schematicCaption(const Schematic &s);

// Something to start from, so the join shows at once: 1k, 2k, 3k or 1, 2, 3 mS.
QString startingValue(const QString &symbol);

// The netlist with each port's terminals swapped, read from the report `read` gave for it.
QString turnedOver(const QString &netlist, const circuit::Report &read);

// Whether every one of `symbols` has a value in `request`: then numbers alone are asked for, which
// is fast; a symbol without one needs the formulas.
bool allValued(const circuit::Request &request, const QStringList &symbols);

} // namespace kvadra
