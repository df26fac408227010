#pragma once

// The own-network drawing as data: where each element stands on the grid, the wires, and how
// they join the elements' terminals into nodes. The netlist text is what the student owns; a
// drawing is read from it (drawingOf) and written back into it (writeDrawing), touching only the
// lines whose nodes, places or wires changed. QtCore only.

#include "exercise/netlisttext.h"

namespace kvadra
{

struct DrawnElement {
    QChar kind;
    QString name;
    QString control;
    QString value;
    QStringList nodes; // as the text names them; empty for an element not yet in the text
    Placement place;
    int line = -1; // the element's line in the text, -1 for a new one
};

// A connection the text makes and no drawn wire shows, between two element terminals: drawn as
// a dashed line, and kept as a connection when the drawing is written back.
struct Airwire {
    int from = 0, fromTerminal = 0, to = 0, toTerminal = 0;
    bool operator==(const Airwire &o) const
    {
        return from == o.from && fromTerminal == o.fromTerminal && to == o.to &&
               toTerminal == o.toTerminal;
    }
};

struct Drawing {
    QList<DrawnElement> elements;
    QList<NetWire> wires;
    QList<Airwire> airwires;
};

// Where a terminal lies from the element's centre: the main pair 4 apart along the element's
// axis, terminal 0 first (left at 0°), and E's and G's control pair beside it.
QPoint terminalOffset(QChar kind, int terminal, int rotation);
QPoint terminalPoint(const DrawnElement &element, int terminal);
QPoint rotated(QPoint p, int rotation);

// The places and turns an element may take so that its first two terminals lie at a and b
// (4 apart on a line of the grid): its centre and rotation.
Placement placementBetween(QChar kind, QPoint a, QPoint b);

// The drawing of a text: the stored places, every other element laid out on the grid
// (deterministically: the same text always gives the same drawing), the stored wires less those
// joining what the text keeps apart, and airwires where the text joins what no wire does.
Drawing drawingOf(const NetlistText &net);

// The node name of each terminal of each element as the drawing joins them (wires, terminals on
// one point, a terminal or a wire's end on a wire, airwires). A node keeps the name most of its
// terminals had in the text ("0" first); a node that is new gets the lowest free number.
QList<QStringList> nodeNamesOf(const Drawing &drawing);

// The text with the drawing written into it: changed node words replaced in their lines, lines
// of elements no longer drawn taken out, new elements after the last element line, and every
// place and wire in the layout lines at the end. Comments, names and values stay as typed.
QString writeDrawing(const NetlistText &net, const Drawing &drawing);

// Whether the drawn wires and touching terminals join only terminals the text names alike.
bool wiresAgreeWithText(const Drawing &drawing);

// The lowest free name of that kind: "R4" where R1 to R3 are taken; "P1", "P2" for ports.
QString freeName(const Drawing &drawing, QChar kind);

// Points where three or more wire ends and terminals meet, for junction dots; and the ends of
// wires that join nothing.
QList<QPoint> junctionsOf(const Drawing &drawing);
QList<QPoint> looseEndsOf(const Drawing &drawing);

} // namespace kvadra
