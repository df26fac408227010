#pragma once

// Where the elements of a netlist typed without layout lines go on the grid. QtCore only.

#include "exercise/networkdrawing.h"

namespace kvadra
{

struct Layout {
    QHash<int, Placement> places; // by element index
    QList<NetWire> wires;
};

// A readable drawing of the whole network, the same for the same text: each conductively
// separate part as a ladder along its bottom line (the common terminal of the ports, where
// they share one), shunt elements hanging from the top nodes, series elements between them,
// bridges above, port 1 on the left and port 2 on the right. Where that would join what the text
// keeps apart, every node gets a line of its own and each element stands between its two lines.
// E's and G's control pairs are left to airwires.
Layout layOut(const Drawing &drawing);

// Gives each element not `placed` a place in a row right of everything that is placed, where it
// touches nothing.
void placeAside(Drawing &drawing, const QList<bool> &placed);

} // namespace kvadra
