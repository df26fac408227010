#pragma once

// A netlist text as the own-network drawing reads and rewrites it: its element lines with where
// each word stands, and the layout lines ("*@ R1 3 2 90", "*@ wire 0 0 4 0") that keep the
// drawing's positions in comments the circuit core ignores. QtCore only: the drawing reads what
// a student is half-way through typing, line by line, while the core judges the whole text.

#include <QHash>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace kvadra
{

struct NetElement {
    QChar kind; // upper case: R E G F H V P
    QString name;
    QStringList nodes; // two, or four for E and G (output pair, then control pair)
    QString control;   // F and H: the sense source's name
    QString value;     // as typed, empty where none
    int line = -1;     // from 0; -1 for an element not yet in the text
    // Where each node word stands in its line: start and length.
    QList<QPair<int, int>> nodeSpans;
    // Where the value starts in its line, or where it would go.
    int valueAt = 0;
};

// An element's place on the drawing's grid: its centre and its turn, in degrees clockwise.
struct Placement {
    QPoint at;
    int rotation = 0;
    bool operator==(const Placement &o) const { return at == o.at && rotation == o.rotation; }
};

struct NetWire {
    QList<QPoint> points; // at least two grid points, joined by straight segments
    bool operator==(const NetWire &o) const { return points == o.points; }
};

struct NetlistText {
    QStringList lines;
    QList<NetElement> elements;
    QHash<QString, Placement> placements; // by the element's name in lower case
    QHash<QString, int> placementLines;
    QList<NetWire> wires;
    QList<int> wireLines;
    int endLine = -1; // ".end", past which nothing is read
};

int terminalCount(QChar kind);
bool isElementKind(QChar kind);

NetlistText readNetlistText(const QString &text);

// The element line a drawing writes for a new element: name, nodes, sense source, value.
QString elementLine(const NetElement &element);
QString placementLine(const QString &name, const Placement &placement);
QString wireLine(const NetWire &wire);

} // namespace kvadra
