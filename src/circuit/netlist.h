#pragma once

// The netlist as read: elements between numbered nodes, their values exactly as written, and
// where each word stood. Internal to the circuit core.

#include "circuit/engine.h"
#include "circuit/value.h"

#include <QHash>

#include <array>
#include <vector>

namespace kvadra::circuit
{

// Limits that keep any text cheap to read and to solve; each has its message.
inline constexpr int maxLines = 10000;
inline constexpr int maxLineLength = 1000;
inline constexpr int maxElements = 200;
inline constexpr int maxNodes = 200;
inline constexpr int maxSymbols = 60;

enum class SymbolKind { Resistance, Conductance, Gain };

struct Element {
    QChar kind; // upper case: R E G F H V P
    QString name;
    std::vector<int> nodes; // output pair, then the control pair of E and G
    int sense = -1;         // F and H: the element index of their zero-volt source
    int port = 0;           // P: 1 or 2
    // R: a resistance (unit None or Ohm) or a conductance (Siemens); E, F: a ratio; G: a
    // transconductance; H: a transresistance. Without a written value, the element's own name
    // is its symbol.
    Value value;
    bool written = false; // a value was written
    Location at;          // the element's name
    std::vector<Location> nodeAt;
    Location senseAt, valueAt;
};

struct Netlist {
    std::vector<Element> elements;
    QStringList nodes; // as first written; node names compare without case, as in SPICE
    int ground = -1;   // node "0", where it is used
    QStringList symbols;
    QHash<QString, SymbolKind> symbolKinds;
    std::array<int, 2> ports{-1, -1}; // element indices of P1 and P2
    QList<ElementInfo> infos;
    QStringList notes; // what a half-made network lacks

    bool hasSymbol(const QString &name) const { return symbolKinds.contains(name); }
};

struct ReadResult {
    std::optional<NetlistError> error;
    // The text could be read line by line: the elements are there even when `error` says the
    // network is incomplete (a port missing, a node left hanging), so a drawing can show them.
    bool readable = false;
    Netlist netlist;
};

ReadResult readNetlist(const QString &text);

// An element line written back in canonical form: name, nodes, sense source, value.
QString writeElementLine(const ElementInfo &element);

} // namespace kvadra::circuit
