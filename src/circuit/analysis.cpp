#include "circuit/analysis.h"

#include <ginac/ginac.h>

#include <functional>

namespace kvadra::circuit
{

std::recursive_mutex &ginacMutex()
{
    static std::recursive_mutex mutex;
    return mutex;
}

AnalysisImpl::AnalysisImpl(const Request &request, const std::atomic<bool> *cancel,
                           std::shared_ptr<SymbolTable> table)
    : m_request(request), m_table(table ? std::move(table) : std::make_shared<SymbolTable>())
{
    build(cancel);
}

AnalysisImpl::~AnalysisImpl()
{
    // Its GiNaC values go while no other thread works in GiNaC.
    const std::lock_guard<std::recursive_mutex> lock(ginacMutex());
    m_network.reset();
    m_table.reset();
}

qint16 AnalysisImpl::power(Quantity kind) const
{
    return kind == Quantity::None ? 0 : m_request.units.of(kind);
}

void AnalysisImpl::build(const std::atomic<bool> *cancel)
{
    ReadResult read = readNetlist(m_request.netlist);
    if (read.error) {
        m_report.error = read.error;
        if (read.readable) {
            m_report.elements = read.netlist.infos;
            m_report.symbols = read.netlist.symbols;
            m_report.notes = read.netlist.notes;
        }
        return;
    }
    const Netlist &net = read.netlist;
    QHash<QString, Value> values;
    for (auto it = m_request.values.constBegin(); it != m_request.values.constEnd(); ++it) {
        if (!net.hasSymbol(it.key()))
            continue;
        ValueError problem;
        const auto v = readValue(it.value(), &problem);
        if (!v) {
            m_report.error =
                NetlistError{{}, QStringLiteral("value of %1: %2").arg(it.key(), problem.message)};
            return;
        }
        values.insert(it.key(), *v);
    }
    m_report.elements = net.infos;
    m_report.symbols = net.symbols;
    try {
        m_network =
            std::make_unique<Network>(m_table, net, values, m_request.numericOnly, Work{cancel, 0});
    } catch (const NetlistError &e) {
        m_report = Report{};
        m_report.error = e;
        return;
    }
    const Network &n = *m_network;
    m_report.unvalued = n.unvalued();
    for (ParameterSet set : allParameterSets) {
        SetReport &r = m_report.sets[size_t(set)];
        r.state = n.state(set);
        r.reason = n.reason(set);
        if (r.state != SetState::Exists)
            continue;
        for (int k = 0; k < 4; ++k)
            r.entries[size_t(k)] = exact(n.entry(set, k), entryKind(set, k), entryName(set, k),
                                         entryDefinition(set, k));
    }
    m_report.reciprocal = n.reciprocal();
    m_report.symmetric = n.symmetric();
    const bool reciprocal = m_report.reciprocal.value_or(false);
    if (n.state(ParameterSet::Z) == SetState::Exists) {
        auto z = [&n](int k) { return n.entry(ParameterSet::Z, k); };
        Equivalent &t = m_report.tee;
        t.exists = true;
        t.description = QStringLiteral("T: Z1 = z11 − z12 in series at port 1, Z2 = z12 from the "
                                       "middle node to the common bottom line, Z3 = z22 − z12 in "
                                       "series at port 2");
        t.parts.append(
            {QStringLiteral("Z1"),
             exact(n.combination(ParameterSet::Z, {{1, 0}, {-1, 1}}), Quantity::Resistance,
                   QStringLiteral("Z1"), QStringLiteral("Z1 = z11 − z12"))});
        t.parts.append(
            {QStringLiteral("Z2"),
             exact(z(1), Quantity::Resistance, QStringLiteral("Z2"), QStringLiteral("Z2 = z12"))});
        t.parts.append(
            {QStringLiteral("Z3"),
             exact(n.combination(ParameterSet::Z, {{1, 3}, {-1, 1}}), Quantity::Resistance,
                   QStringLiteral("Z3"), QStringLiteral("Z3 = z22 − z12"))});
        if (!reciprocal) {
            t.description += QStringLiteral(", and a voltage source r·I1 with r = z21 − z12 in "
                                            "series with Z3, its plus side toward port 2");
            t.parts.append(
                {QStringLiteral("r"),
                 exact(n.combination(ParameterSet::Z, {{1, 2}, {-1, 1}}), Quantity::Resistance,
                       QStringLiteral("r"), QStringLiteral("r = z21 − z12"))});
        }
    }
    if (n.state(ParameterSet::Y) == SetState::Exists) {
        Equivalent &p = m_report.pi;
        p.exists = true;
        p.description = QStringLiteral("Π: Y1 = y11 + y12 across port 1, Y2 = −y12 between the "
                                       "two top terminals, Y3 = y22 + y12 across port 2");
        p.parts.append(
            {QStringLiteral("Y1"),
             exact(n.combination(ParameterSet::Y, {{1, 0}, {1, 1}}), Quantity::Conductance,
                   QStringLiteral("Y1"), QStringLiteral("Y1 = y11 + y12"))});
        p.parts.append({QStringLiteral("Y2"),
                        exact(n.combination(ParameterSet::Y, {{-1, 1}}), Quantity::Conductance,
                              QStringLiteral("Y2"), QStringLiteral("Y2 = −y12"))});
        p.parts.append(
            {QStringLiteral("Y3"),
             exact(n.combination(ParameterSet::Y, {{1, 3}, {1, 1}}), Quantity::Conductance,
                   QStringLiteral("Y3"), QStringLiteral("Y3 = y22 + y12"))});
        if (!reciprocal) {
            p.description += QStringLiteral(", and a current source g·V1 with g = y21 − y12 from "
                                            "port 2's top terminal to the bottom line");
            p.parts.append(
                {QStringLiteral("g"),
                 exact(n.combination(ParameterSet::Y, {{1, 2}, {-1, 1}}), Quantity::Conductance,
                       QStringLiteral("g"), QStringLiteral("g = y21 − y12"))});
        }
    }
}

Exact AnalysisImpl::exact(const EntryValue &v, Quantity kind, const QString &name,
                          const QString &definition) const
{
    Exact e;
    const Network &n = *m_network;
    const qint16 p = power(kind);
    const QString base = baseUnit(kind), shownUnit = displayUnit(kind, m_request.units);
    QStringList chain{name};
    const bool symbols = !n.netlist().symbols.isEmpty() || v.formula;
    FormulaWriter writer(*m_table);
    std::optional<GiNaC::numeric> display;
    if (v.exact) {
        e.known = true;
        display = *v.exact / tenTo(p);
        e.exact = exactText(*display);
        e.exactLatex = exactLatex(*display);
        e.decimal = display->to_double();
        e.decimalText = decimalText(*display);
    }
    if (v.formula && symbols) {
        e.formulaTerms = writer.terms(*v.formula);
        e.fullFormula = writer.plain(*v.formula);
        if (!v.tooLong) {
            e.formula = e.fullFormula;
            e.formulaLatex = writer.latex(*v.formula);
            chain << e.formula;
            const QString withValues = writer.withValues(*v.formula, n.valueTexts());
            if (e.known && withValues != e.formula)
                chain << withValues;
        }
    }
    e.formulaTooLong = v.tooLong && symbols;
    QString line;
    if (e.known) {
        const QString exactBase = withUnit(exactText(*v.exact), base);
        if (chain.size() == 1 || chain.last() != exactText(*v.exact))
            chain << exactBase;
        else
            chain.last() = exactBase;
        if (p != 0)
            chain << withUnit(e.exact, shownUnit);
        line = chain.join(QStringLiteral(" = "));
        const QString decimal = decimalText(*display);
        if (decimal != e.exact)
            line += QStringLiteral(" ≈ ") + withUnit(decimal, shownUnit);
    } else {
        line = chain.join(QStringLiteral(" = "));
    }
    QStringList lines{definition};
    if (chain.size() > 1)
        lines << line;
    if (e.formulaTooLong)
        lines << QStringLiteral("%1: its formula is too long to show (more than %2 terms)")
                     .arg(name)
                     .arg(formulaTermLimit);
    if (!e.known)
        lines << QStringLiteral("%1 has no number while %2 %3 no value")
                     .arg(name, n.unvalued().join(QStringLiteral(", ")),
                          n.unvalued().size() == 1 ? QStringLiteral("has")
                                                   : QStringLiteral("have"));
    e.working = lines.join(QLatin1Char('\n'));
    return e;
}

} // namespace kvadra::circuit
