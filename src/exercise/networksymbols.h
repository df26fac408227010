#pragma once

// How each kind of element looks and reads: its symbol on the drawing, its words for a screen
// reader. Shared by the drawing on screen and its exports.

#include "exercise/networkdrawing.h"

#include <QColor>
#include <QFont>
#include <QRectF>

class QPainter;

namespace kvadra
{

struct Inks {
    QColor line;  // wires and symbols
    QColor label; // names and values
    QColor mark;  // selection
    QColor air;   // airwires
    QColor loose; // wire ends joined to nothing
};

// Inks that read on this background: dark on light, light on dark.
Inks inksFor(const QColor &background);

// An element in its item's coordinates: its centre at the origin, `grid` pixels a grid step.
void paintElement(QPainter &painter, const DrawnElement &element, int grid, const Inks &inks,
                  bool selected);
// The area paintElement covers, its label included.
QRectF elementBounds(const DrawnElement &element, int grid, const QFont &font);

// "resistor", "voltage-controlled voltage source", ...
QString kindName(QChar kind);
// What a screen reader says of an element: kind, value, nodes.
QString describeElement(const DrawnElement &element);

} // namespace kvadra
