#include "circuit/network.h"

#include <ginac/ginac.h>

#include <deque>
#include <numeric>

namespace kvadra::circuit
{

PortTest portTest(ParameterSet set)
{
    switch (set) {
    case ParameterSet::Z:
        return {{I1, I2}, {V1, V2}};
    case ParameterSet::Y:
        return {{V1, V2}, {I1, I2}};
    case ParameterSet::H:
        return {{I1, V2}, {V1, I2}};
    case ParameterSet::G:
        return {{V1, I2}, {I1, V2}};
    case ParameterSet::ABCD:
        break;
    }
    return {{V2, I2}, {V1, I1}};
}

EntryTest entryTest(ParameterSet set, int entry)
{
    const PortTest t = portTest(set);
    const int row = entry / 2, column = entry % 2;
    // B and D read the current out of port 2: -I2.
    const int sign = set == ParameterSet::ABCD && column == 1 ? -1 : 1;
    return {t.outputs[size_t(row)], t.inputs[size_t(column)], sign};
}

QString quantityName(int quantity)
{
    static const char *const names[] = {"V1", "I1", "V2", "I2"};
    return QLatin1String(names[quantity]);
}

Work symbolicWork(const Work &base)
{
    Work w = base;
    w.termCap = symbolicTermCap;
    w.budget = symbolicBudget;
    w.spent = 0;
    return w;
}

bool worthSimplifying(const GiNaC::ex &numerator, const GiNaC::ex &denominator)
{
    auto terms = [](const GiNaC::ex &e) { return GiNaC::is_a<GiNaC::add>(e) ? int(e.nops()) : 1; };
    return terms(numerator) + terms(denominator) <= simplifyTermLimit;
}

int portOf(int quantity)
{
    return quantity < 2 ? 1 : 2;
}

bool isVoltage(int quantity)
{
    return quantity % 2 == 0;
}

namespace
{
// "port 2 open (I2 = 0)" for a fixed current, "port 2 shorted (V2 = 0)" for a fixed voltage.
QString heldAtZero(int quantity)
{
    return QStringLiteral("port %1 %2 (%3 = 0)")
        .arg(portOf(quantity))
        .arg(isVoltage(quantity) ? QStringLiteral("shorted") : QStringLiteral("open"))
        .arg(quantityName(quantity));
}
} // namespace

QString entryDefinition(ParameterSet set, int entry)
{
    const PortTest t = portTest(set);
    const EntryTest e = entryTest(set, entry);
    const int other = t.inputs[size_t(1 - entry % 2)];
    const QString in =
        e.sign < 0 ? QStringLiteral("(−%1)").arg(quantityName(e.input)) : quantityName(e.input);
    QString text = QStringLiteral("%1 = %2/%3 with %4")
                       .arg(entryName(set, entry), quantityName(e.output), in, heldAtZero(other));
    if (e.sign < 0)
        text += QStringLiteral(", −I2 the current out of port 2");
    return text;
}

namespace
{
// Values that stand for any: no relation among them but the ones written into the netlist.
GiNaC::numeric anyValue(quint64 seed)
{
    quint64 z = seed + 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return GiNaC::numeric(long((z >> 34) + 1000));
}

quint64 seedOf(const QString &name)
{
    quint64 h = 1469598103934665603ULL;
    for (QChar c : name)
        h = (h ^ c.unicode()) * 1099511628211ULL;
    return h;
}

ElementState fromResistance(const GiNaC::numeric &r)
{
    return r.is_zero() ? ElementState{ElementState::Wire, 0}
                       : ElementState{ElementState::Valued, 1 / r};
}

ElementState fromConductance(const GiNaC::numeric &g)
{
    return g.is_zero() ? ElementState{ElementState::Open, 0}
                       : ElementState{ElementState::Valued, g};
}
} // namespace

Network::Network(std::shared_ptr<SymbolTable> table, Netlist net, QHash<QString, Value> values,
                 bool numericOnly, const Work &work)
    : m_table(std::move(table)), m_net(std::move(net)), m_work(work)
{
    for (const QString &name : m_net.symbols) {
        m_table->symbol(name);
        const auto it = values.constFind(name);
        if (it == values.constEnd()) {
            m_allValued = false;
            continue;
        }
        const SymbolKind kind = m_net.symbolKinds.value(name);
        if (it->isSymbol)
            throw NetlistError{
                {},
                QStringLiteral("value of %1: a number, not the symbol '%2'").arg(name, it->symbol)};
        if (kind == SymbolKind::Gain && it->unit != ValueUnit::None) {
            // A gain keeps the unit its sources give it; one symbol may serve several.
            for (const Element &e : m_net.elements)
                if (e.value.isSymbol && e.value.symbol == name &&
                    !((e.kind == QLatin1Char('G') && it->unit == ValueUnit::Siemens) ||
                      (e.kind == QLatin1Char('H') && it->unit == ValueUnit::Ohm)))
                    throw NetlistError{{},
                                       QStringLiteral("value of %1: the gain of %2 takes %3")
                                           .arg(name, e.name,
                                                e.kind == QLatin1Char('G')   ? "S or no unit"
                                                : e.kind == QLatin1Char('H') ? "ohm or no unit"
                                                                             : "no unit")};
        }
        m_values.insert(name, *it);
        if (!numberOf(name))
            for (const Element &e : m_net.elements)
                if (e.kind != QLatin1Char('R') && e.value.isSymbol && e.value.symbol == name)
                    throw NetlistError{{},
                                       QStringLiteral("value of %1: 0 S is an infinite resistance, "
                                                      "and %1 is also the gain of %2")
                                           .arg(name, e.name)};
    }
    const bool symbols = !m_net.symbols.isEmpty();
    if (symbols && !(numericOnly && m_allValued)) {
        if (m_net.symbols.size() > symbolicSymbolLimit) {
            m_tooLarge = true;
        } else {
            try {
                m_symbolic = run(Mode::Symbolic);
            } catch (const TooLarge &) {
                m_tooLarge = true;
            }
        }
    }
    if (m_allValued)
        m_numeric = run(Mode::Numeric);
    if (!m_symbolic) {
        const bool allExist =
            m_numeric && std::all_of(m_numeric->tests.begin(), m_numeric->tests.end(),
                                     [](const Solved &s) { return s.unique(); });
        // Where every set exists with these values, it exists for any values.
        m_generic = allExist ? m_numeric : run(Mode::Generic);
    }
    decide();
    decideSymmetry();
}

QStringList Network::unvalued() const
{
    QStringList out;
    for (const QString &name : m_net.symbols)
        if (!m_values.contains(name))
            out.append(name);
    return out;
}

std::vector<ElementState> Network::statesFor(Mode mode) const
{
    std::vector<ElementState> states;
    const auto &elements = m_net.elements;
    for (size_t i = 0; i < elements.size(); ++i) {
        const Element &e = elements[i];
        const Value &v = e.value;
        ElementState s;
        if (e.kind == QLatin1Char('V') || e.kind == QLatin1Char('P')) {
            states.push_back(s);
            continue;
        }
        const bool isR = e.kind == QLatin1Char('R');
        if (!v.isSymbol) {
            if (isR)
                s = v.unit == ValueUnit::Siemens ? fromConductance(v.number)
                                                 : fromResistance(v.number);
            else
                s = {ElementState::Valued, v.number};
            // A zero stays: it is what the netlist says the element is.
            if (mode == Mode::Generic && s.kind == ElementState::Valued && !v.number.is_zero())
                s.value = anyValue(i);
        } else if (mode == Mode::Symbolic) {
            const bool resistance =
                isR && m_net.symbolKinds.value(v.symbol) == SymbolKind::Resistance;
            s.value = resistance ? GiNaC::ex(m_table->conductanceOf(v.symbol))
                                 : GiNaC::ex(m_table->symbol(v.symbol));
        } else if (mode == Mode::Generic) {
            s.value = anyValue(seedOf(v.symbol));
        } else {
            const auto n = numberOf(v.symbol);
            if (isR && m_net.symbolKinds.value(v.symbol) == SymbolKind::Conductance) {
                s = n ? fromConductance(*n) : ElementState{ElementState::Wire, 0}; // 0 Ω
            } else if (isR) {
                s = n ? fromResistance(*n) : ElementState{ElementState::Open, 0}; // 0 S
            } else {
                // A gain may share a resistor's symbol: it is the resistance, however given.
                s.value = *n;
            }
        }
        states.push_back(s);
    }
    return states;
}

Pass Network::run(Mode mode) const
{
    Pass p;
    p.states = statesFor(mode);
    const Work work = mode == Mode::Symbolic ? symbolicWork(m_work) : m_work;
    p.relation = portRelation(m_net, p.states, work);
    const Minors minors = minorsOf(p.relation, work);
    for (ParameterSet set : allParameterSets) {
        const PortTest t = portTest(set);
        // Where a test has no answer, solving it in full says why.
        auto solved = solveByMinors(minors, t.outputs, t.inputs);
        p.tests[size_t(set)] = solved ? std::move(*solved)
                                      : solve(p.relation, {t.outputs[0], t.outputs[1]},
                                              {t.inputs[0], t.inputs[1]}, work);
    }
    return p;
}

void Network::decide()
{
    static const std::array<QString, 5> zeroOf[5] = {
        // What each other set's entries must not be for this set to exist.
        {QString(), QStringLiteral("det Y = y11·y22 − y12·y21"), QStringLiteral("h22"),
         QStringLiteral("g11"), QStringLiteral("C")},
        {QStringLiteral("det Z = z11·z22 − z12·z21"), QString(), QStringLiteral("h11"),
         QStringLiteral("g22"), QStringLiteral("B")},
        {QStringLiteral("z22"), QStringLiteral("y11"), QString(),
         QStringLiteral("det G = g11·g22 − g12·g21"), QStringLiteral("D")},
        {QStringLiteral("z11"), QStringLiteral("y22"), QStringLiteral("det H = h11·h22 − h12·h21"),
         QString(), QStringLiteral("A")},
        {QStringLiteral("z21"), QStringLiteral("y21"), QStringLiteral("h21"), QStringLiteral("g21"),
         QString()},
    };
    for (ParameterSet set : allParameterSets) {
        const size_t s = size_t(set);
        const bool anyValues = generic().tests[s].unique();
        const bool actual = m_numeric ? m_numeric->tests[s].unique() : anyValues;
        SetState &state = m_state[s];
        state = actual ? SetState::Exists : anyValues ? SetState::Singular : SetState::Missing;
        if (state == SetState::Missing) {
            m_reason[s] = QStringLiteral("No %1 parameters: %2.")
                              .arg(setName(set), mechanism(set, generic()));
        } else if (state == SetState::Singular) {
            QString why;
            for (ParameterSet other : allParameterSets)
                if (other != set && m_numeric->tests[size_t(other)].unique()) {
                    why = QStringLiteral("they make %1 zero").arg(zeroOf[s][size_t(other)]);
                    break;
                }
            if (why.isEmpty())
                why = mechanism(set, *m_numeric);
            m_reason[s] = QStringLiteral("These values make the %1 test have no unique answer: "
                                         "%2. Other values give the %1 parameters.")
                              .arg(setName(set), why);
        }
        for (int k = 0; k < 4; ++k) {
            const EntryTest t = entryTest(set, k);
            EntryValue &v = m_entries[s][size_t(k)];
            const Solved *symbolic = m_symbolic ? &m_symbolic->tests[s] : nullptr;
            if (symbolic && symbolic->unique() &&
                worthSimplifying(symbolic->numerator(t.output, t.input), symbolic->pivot)) {
                v.formula = m_table->quotientInResistances(
                    t.sign * symbolic->numerator(t.output, t.input), symbolic->pivot);
                FormulaWriter writer(*m_table);
                v.tooLong = writer.terms(*v.formula) > formulaTermLimit;
            } else if (m_tooLarge || symbolic) {
                v.tooLong = true;
            }
            if (state == SetState::Exists && m_numeric)
                v.exact = GiNaC::ex_to<GiNaC::numeric>(
                    m_numeric->tests[s].value(t.output, t.input) * t.sign);
        }
    }
}

EntryValue Network::combination(ParameterSet set,
                                const std::vector<std::pair<int, int>> &terms) const
{
    EntryValue out;
    const size_t s = size_t(set);
    const bool numbers = std::all_of(terms.begin(), terms.end(), [&](const auto &t) {
        return bool(m_entries[s][size_t(t.second)].exact);
    });
    if (numbers) {
        GiNaC::numeric sum = 0;
        for (const auto &[sign, k] : terms)
            sum += sign * *m_entries[s][size_t(k)].exact;
        out.exact = sum;
    }
    const Solved *symbolic = m_symbolic ? &m_symbolic->tests[s] : nullptr;
    if (!symbolic || !symbolic->unique()) {
        out.tooLong = m_tooLarge;
        return out;
    }
    GiNaC::ex numerator = 0;
    for (const auto &[sign, k] : terms) {
        const EntryTest t = entryTest(set, k);
        numerator += sign * t.sign * symbolic->numerator(t.output, t.input);
    }
    numerator = numerator.expand();
    if (!worthSimplifying(numerator, symbolic->pivot)) {
        out.tooLong = true;
        return out;
    }
    out.formula = m_table->quotientInResistances(numerator, symbolic->pivot);
    out.tooLong = FormulaWriter(*m_table).terms(*out.formula) > formulaTermLimit;
    return out;
}

void Network::decideSymmetry()
{
    for (ParameterSet set : allParameterSets) {
        if (m_state[size_t(set)] != SetState::Exists)
            continue;
        // Numerators over the set's one denominator: the entries and 1 as fractions.
        std::array<GiNaC::ex, 4> n;
        GiNaC::ex d = 1;
        if (m_numeric) {
            for (int k = 0; k < 4; ++k)
                n[size_t(k)] = *m_entries[size_t(set)][size_t(k)].exact;
        } else if (m_symbolic && m_symbolic->tests[size_t(set)].unique()) {
            const Solved &s = m_symbolic->tests[size_t(set)];
            for (int k = 0; k < 4; ++k) {
                const EntryTest t = entryTest(set, k);
                n[size_t(k)] = t.sign * s.numerator(t.output, t.input);
            }
            d = s.pivot;
        } else {
            continue;
        }
        auto zero = [](const GiNaC::ex &e) { return e.expand().is_zero(); };
        const GiNaC::ex det = n[0] * n[3] - n[1] * n[2] - d * d;
        switch (set) {
        case ParameterSet::Z:
        case ParameterSet::Y:
            m_reciprocal = zero(n[1] - n[2]);
            m_symmetric = *m_reciprocal && zero(n[0] - n[3]);
            break;
        case ParameterSet::H:
        case ParameterSet::G:
            m_reciprocal = zero(n[1] + n[2]);
            m_symmetric = *m_reciprocal && zero(det);
            break;
        case ParameterSet::ABCD:
            m_reciprocal = zero(det);
            m_symmetric = *m_reciprocal && zero(n[0] - n[3]);
            break;
        }
        return;
    }
}

std::optional<GiNaC::numeric> Network::numberOf(const QString &symbol) const
{
    const Value &given = m_values[symbol];
    const SymbolKind kind = m_net.symbolKinds.value(symbol);
    const bool inverse = (kind == SymbolKind::Resistance && given.unit == ValueUnit::Siemens) ||
                         (kind == SymbolKind::Conductance && given.unit == ValueUnit::Ohm);
    if (!inverse)
        return given.number;
    if (given.number.is_zero())
        return std::nullopt;
    return 1 / given.number;
}

QHash<QString, QString> Network::valueTexts() const
{
    QHash<QString, QString> texts;
    for (auto it = m_values.constBegin(); it != m_values.constEnd(); ++it)
        if (const auto n = numberOf(it.key()))
            texts.insert(it.key(), exactText(*n));
    return texts;
}

GiNaC::exmap Network::substitution() const
{
    GiNaC::exmap map;
    for (auto it = m_values.constBegin(); it != m_values.constEnd(); ++it)
        if (const auto n = numberOf(it.key()))
            map[m_table->symbol(it.key())] = *n;
    return map;
}

} // namespace kvadra::circuit
