#pragma once

#include <QList>
#include <QString>

namespace kvadra
{

namespace circuit
{
class Engine;
}

struct StartingPoint {
    QString title; // as the menu shows it
    QString netlist;
};

// The fourteen schematics of the sheet, as the core writes them, then a bridged T, a lattice, a
// ladder and a transistor's h-model.
QList<StartingPoint> startingPoints(const circuit::Engine &engine);

} // namespace kvadra
