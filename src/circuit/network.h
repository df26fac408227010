#pragma once

// One network with the values of its symbols: the port tests of every set, solved with symbols,
// with the values, and with values that stand for any others, and why a set is missing.
// Internal to the circuit core.

#include "circuit/netlist.h"
#include "circuit/solver.h"
#include "circuit/symbols.h"
#include "twoport/parameterset.h"

#include <memory>

namespace kvadra::circuit
{

// A formula longer than this many terms is more than a student can read.
inline constexpr int formulaTermLimit = 60;
// Symbolic work stops when an entry grows past this many terms, when its polynomial products
// and divisions pass this many term products, and above this many symbols: GiNaC's division
// of large multivariate polynomials takes seconds, for formulas far too long to show.
inline constexpr int symbolicTermCap = 400;
inline constexpr long long symbolicBudget = 300000;
inline constexpr int symbolicSymbolLimit = 24;
// A quotient with more terms than this in numerator and denominator together is not simplified
// into a formula: it could not come down to formulaTermLimit.
inline constexpr int simplifyTermLimit = 400;

Work symbolicWork(const Work &base);
// Whether a quotient of polynomials is small enough to simplify into a formula.
bool worthSimplifying(const GiNaC::ex &numerator, const GiNaC::ex &denominator);

// The port test of a set: the two port quantities it fixes and the two it reads.
struct PortTest {
    std::array<int, 2> inputs, outputs;
};
PortTest portTest(ParameterSet set);
// How entry k (11, 12, 21, 22; A, B, C, D) reads off its test: B and D take I2 flowing out.
struct EntryTest {
    int output, input, sign;
};
EntryTest entryTest(ParameterSet set, int entry);
QString quantityName(int quantity); // "V1", "I1", "V2", "I2"
int portOf(int quantity);           // 1 or 2
bool isVoltage(int quantity);       // V1 or V2, not a current
// "z11 = V1/I1 with port 2 open (I2 = 0)"
QString entryDefinition(ParameterSet set, int entry);

struct EntryValue {
    std::optional<GiNaC::ex> formula;    // in the symbols (R, not 1/R), normalized
    std::optional<GiNaC::numeric> exact; // in base units, when every symbol has a value
    bool tooLong = false;                // more terms than formulaTermLimit
};

struct Pass {
    std::vector<ElementState> states;
    Rows relation;
    std::array<Solved, 5> tests;
};

class Network
{
public:
    // Throws NetlistError for a value that does not fit its symbol.
    Network(std::shared_ptr<SymbolTable> table, Netlist net, QHash<QString, Value> values,
            bool numericOnly, const Work &work);

    const Netlist &netlist() const { return m_net; }
    SymbolTable &symbols() const { return *m_table; }
    std::shared_ptr<SymbolTable> table() const { return m_table; }
    const QHash<QString, Value> &values() const { return m_values; }
    bool allValued() const { return m_allValued; }
    QStringList unvalued() const;

    const Pass *symbolic() const { return m_symbolic ? &*m_symbolic : nullptr; }
    const Pass *numeric() const { return m_numeric ? &*m_numeric : nullptr; }
    // Solved with symbols, or where that was not done, with values that stand for any.
    const Pass &generic() const { return m_symbolic ? *m_symbolic : *m_generic; }
    bool symbolicTooLarge() const { return m_tooLarge; }
    const Work &work() const { return m_work; }

    SetState state(ParameterSet set) const { return m_state[size_t(set)]; }
    QString reason(ParameterSet set) const { return m_reason[size_t(set)]; }
    // Where the set exists (or exists but for these values): its entry.
    const EntryValue &entry(ParameterSet set, int k) const
    {
        return m_entries[size_t(set)][size_t(k)];
    }
    // A sum of entries of one set, each with its sign ({{1, 0}, {-1, 1}}: e11 - e12), as an
    // entry: formulas added over the set's common denominator, numbers added.
    EntryValue combination(ParameterSet set, const std::vector<std::pair<int, int>> &terms) const;
    // Reciprocity and symmetry as the first set that tells has them.
    std::optional<bool> reciprocal() const { return m_reciprocal; }
    std::optional<bool> symmetric() const { return m_symmetric; }
    // Each symbol's value as a number in its own unit, for writing into a formula.
    QHash<QString, QString> valueTexts() const;
    // The symbols with values, each replaced by its number (R in ohms, G in siemens).
    GiNaC::exmap substitution() const;

    // Why a test fails, as a clause ("port 2 is shorted — ..."), read from a solved test.
    QString mechanism(ParameterSet set, const Pass &pass) const;
    // Where nodes are joined by wires: the path of elements between two nodes.
    std::vector<int> wirePath(int from, int to, const std::vector<ElementState> &states) const;
    QString shortDetail(int port, const std::vector<ElementState> &states) const;
    QString passDetail(const std::vector<ElementState> &states) const;
    // A relation c0·q0 + c1·q1 = 0 as "q0 = k*q1", from a pass that has real values.
    QString relationText(const std::vector<GiNaC::ex> &c, const std::array<int, 2> &q) const;

private:
    enum class Mode { Symbolic, Numeric, Generic };
    std::vector<ElementState> statesFor(Mode mode) const;
    // A valued symbol's number in its own unit (a resistance in ohms, a conductance in siemens,
    // a gain as given); none where that is infinite: 0 S for a resistance, 0 Ω for a conductance.
    std::optional<GiNaC::numeric> numberOf(const QString &symbol) const;
    Pass run(Mode mode) const;
    void decide();
    void decideSymmetry();

    std::shared_ptr<SymbolTable> m_table;
    Netlist m_net;
    QHash<QString, Value> m_values;
    Work m_work;
    bool m_allValued = true;
    bool m_tooLarge = false;
    std::optional<Pass> m_symbolic, m_numeric, m_generic;
    std::array<SetState, 5> m_state{};
    std::array<QString, 5> m_reason;
    std::array<std::array<EntryValue, 4>, 5> m_entries;
    std::optional<bool> m_reciprocal, m_symmetric;
};

} // namespace kvadra::circuit
