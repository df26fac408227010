#pragma once

// The circuit core as the windows and the command line meet it: plain Qt value types, no GiNaC.
// GiNaC and CLN take about 10 ms to load, a third of a bare window's start-up, so the program
// loads the core as a module the first time a window needs it (circuit/loader.h); tests and
// tools that link the core call engine() directly.

#include "twoport/parameterset.h"
#include "twoport/units.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <memory>
#include <optional>

class QTextStream;

namespace kvadra::circuit
{

// A place in a netlist text, both counted from 1; 0 where there is none.
struct Location {
    int line = 0;
    int column = 0;
};

// Why a netlist cannot be read: one message naming what was found and what was expected.
struct NetlistError {
    Location at;
    QString message; // without the place: "unknown element 'X1': expected R, E, G, F, H, V or P"
    QString text() const; // "line 3, column 7: " + message
};

// One element line as read, for the drawing and a screen reader.
struct ElementInfo {
    QChar kind;               // 'R', 'E', 'G', 'F', 'H', 'V' (zero-volt sense source), 'P' (port)
    QString name;             // as typed: "R1", "Rb", "P1"
    QStringList nodes;        // two, or four for E and G (output pair, then control pair)
    QString control;          // F and H: the name of the sense source
    QString valueText;        // the value as typed, empty where none was
    QString symbol;           // the symbol the value stands for, empty for a number
    bool conductance = false; // a resistor given as a conductance (value in S)
    int line = 0;
};

// One exact value, in the display unit of its kind (or a plain ratio).
struct Exact {
    bool known = false;  // false while a symbol without a value remains
    QString exact;       // reduced fraction or integer: "5/11", "-2", "3"
    QString exactLatex;  // "\frac{5}{11}", "-2"
    double decimal = 0;  // the nearest double of exact
    QString decimalText; // exact rounded to 15 significant digits, ties to even, C digits and
                         // %g layout: "0.454545454545455", "1.5e-07"
    QString formula;     // in the element names, plain infix as a student types it:
                         // "R1 + R2", "(R2 + R3)/(R1*R2 + R1*R3 + R2*R3)"; empty for a numeric
                         // network and where the formula is too long
    QString formulaLatex;
    int formulaTerms = 0;        // terms of the expanded numerator and denominator together
    bool formulaTooLong = false; // more terms than a student could read (60): formula left out
    QString fullFormula; // the formula in the same writing even where too long to show; empty
                         // where it was not worked out (past the core's symbolic work limits)
    QString working;     // how it comes about, in lines: its definition by the port test, the
                         // formula, the formula with the values put in, the result
};

enum class SetState { Exists, Missing, Singular };

struct SetReport {
    SetState state = SetState::Missing;
    // Missing: one plain sentence in the network's own terms (which port is shorted, open, or cut
    // off from the other, through which element). Singular: the set exists for the network, but
    // these values make its test have no unique answer; the sentence says which.
    QString reason;
    std::array<Exact, 4> entries; // 11, 12, 21, 22 (A, B, C, D); only for Exists
};

// An equivalent T (from Z) or Π (from Y): its branches, and a controlled source where the network
// is not reciprocal.
struct Equivalent {
    bool exists = false;
    QString description; // "T: Z1 = z11 − z12 in series at port 1, ..."
    QList<QPair<QString, Exact>>
        parts; // "Z1", "Z2", "Z3", and "r" (z21 − z12) where not reciprocal
};

// What the core says about a network with the values given.
struct Report {
    // Nothing is computed when set. A netlist that reads but is incomplete (a port missing, a
    // node joined to nothing) still has its elements, symbols and notes, for a drawing.
    std::optional<NetlistError> error;
    QList<ElementInfo> elements;
    QStringList symbols;  // the symbols of the netlist, in order of appearance
    QStringList unvalued; // symbols without a value: exact numbers wait for them
    // What a half-made network lacks and which sets that prevents ("Port 2 is missing: no set can
    // be computed."); empty for a complete network.
    QStringList notes;
    std::array<SetReport, 5> sets;  // by ParameterSet
    std::optional<bool> reciprocal; // nothing where neither Z nor Y (nor H) tells
    std::optional<bool> symmetric;
    Equivalent tee, pi;
};

// The student's own value or formula judged against one entry.
struct Verdict {
    enum Kind { Empty, Unreadable, Match, Slip, Unexplained } kind = Empty;
    QString brief; // a few words, for beside the box
    QString text;  // in full: the slip in plain words, or the working
};

// A network with a source at port 1 and a load at port 2.
struct Terminated {
    std::optional<NetlistError> error; // in Zs or ZL as typed
    // Zin, Zout, Av, Avs, Ai, Vth, P, each with its sentence where it does not exist.
    QList<QPair<QString, std::optional<Exact>>> quantities;
    QMap<QString, QString> missing; // quantity name -> why it does not exist
};

enum class JoinKind { Cascade, Series, Parallel, SeriesParallel, ParallelSeries };

struct Joined {
    std::optional<NetlistError> error;
    std::array<SetReport, 5> rule;  // by the textbook rule: ABCD product, or Z, Y, H, G sum
    std::array<SetReport, 5> built; // of the two netlists wired together
    bool ruleHolds = false;
    QString why; // when it does not hold: the currents the connection unbalances, by Brune's test
    QString netlist; // the network built, with the values given, as a netlist to open
};

// The values that turn the symbols of a netlist into numbers, each written as a netlist value
// ("1.5k", "2mS", "5/11"), and the display units the results are given in.
struct Request {
    QString netlist;
    QMap<QString, QString> values;
    UnitPowers units; // all 0: ohm, siemens
    // Solve with the values put in first: exact numbers only, no formulas, for speed.
    bool numericOnly = false;
};

// One network analysed: its report, and what can be asked of it afterwards.
class Analysis
{
public:
    virtual ~Analysis() = default;
    virtual const Report &report() const = 0;
    // The student's typed value (a number in the check window's spellings, a fraction, a value
    // with a prefix, or a formula in the element names) against entry `entry` of `set`.
    virtual Verdict judge(ParameterSet set, int entry, const QString &typed) const = 0;
    // The network between a source with impedance zs at port 1 and a load zl at port 2, each a
    // netlist value or a symbol.
    virtual Terminated terminate(const QString &zs, const QString &zl) const = 0;
    // The student's own value for a terminated quantity ("Zin", ...), judged the same way.
    virtual Verdict judgeTerminated(const QString &zs, const QString &zl, const QString &quantity,
                                    const QString &typed) const = 0;
};

class Engine
{
public:
    virtual ~Engine() = default;
    // Reads a netlist without solving it: the elements, or the first error.
    virtual Report read(const QString &netlist) const = 0;
    // Solves a network. A set `cancel` stops the work between steps and gives nothing.
    virtual std::unique_ptr<Analysis> analyse(const Request &request,
                                              const std::atomic<bool> *cancel = nullptr) const = 0;
    virtual Joined join(const Request &first, const Request &second, JoinKind kind) const = 0;
    // The netlists of the fourteen schematics by number (1 to 14), their elements as symbols
    // named as the calculator names them (R1, R2, R3 or G1, G2, G3).
    virtual QString schematicNetlist(int number) const = 0;
    // `kvadra --parameters ...`: args without the program name; returns the exit code.
    virtual int commandLine(const QStringList &args, QTextStream &out, QTextStream &err) const = 0;
};

// The core itself, for what links it: the module, tests, tools.
const Engine &engine();

} // namespace kvadra::circuit

// The one symbol the module exports; the program resolves it by name.
extern "C" const kvadra::circuit::Engine *kvadraCircuitEngine();
