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

namespace
{
const char *const quantityNames[] = {"Zin", "Zout", "Av", "Avs", "Ai", "Vth", "P"};
} // namespace

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

FormulaContext AnalysisImpl::context(const QStringList &extra) const
{
    FormulaContext c;
    c.table = m_table.get();
    c.names = m_network->netlist().symbols;
    for (const QString &name : extra)
        if (!c.names.contains(name))
            c.names.append(name);
    c.values = m_network->substitution();
    for (const QString &name : extra) {
        const auto it = m_request.values.constFind(name);
        if (it == m_request.values.constEnd() || m_network->netlist().hasSymbol(name))
            continue;
        ValueError ignored;
        if (const auto v = readValue(*it, &ignored); v && !v->isSymbol)
            c.values[m_table->symbol(name)] = v->number;
    }
    return c;
}

JudgeTarget AnalysisImpl::entryTarget(ParameterSet set, int entry) const
{
    const Network &n = *m_network;
    JudgeTarget t;
    t.name = entryName(set, entry);
    t.kind = entryKind(set, entry);
    t.unitPower = power(t.kind);
    t.working = m_report.sets[size_t(set)].entries[size_t(entry)].working;
    t.unvalued = n.unvalued();
    auto number = [&](ParameterSet s, int k) -> std::optional<GiNaC::numeric> {
        const EntryValue &v = n.entry(s, k);
        if (n.state(s) != SetState::Exists || !v.exact)
            return std::nullopt;
        return *v.exact / tenTo(power(entryKind(s, k)));
    };
    auto formula = [&](ParameterSet s, int k) { return n.entry(s, k).formula; };
    t.number = number(set, entry);
    t.formula = formula(set, entry);
    const QString unit = displayUnit(t.kind, m_request.units);
    const QString shown = t.number ? withUnit(decimalText(*t.number), unit) : QString();
    addSignAndPrefixSlips(t, shown);
    const std::optional<ParameterSet> inverse =
        set == ParameterSet::Z   ? std::optional(ParameterSet::Y)
        : set == ParameterSet::Y ? std::optional(ParameterSet::Z)
        : set == ParameterSet::H ? std::optional(ParameterSet::G)
        : set == ParameterSet::G ? std::optional(ParameterSet::H)
                                 : std::nullopt;
    if (inverse) {
        const auto x = number(*inverse, entry);
        const auto f = formula(*inverse, entry);
        const QString other = entryName(*inverse, entry);
        t.slips.push_back(
            {x && !x->is_zero() ? std::optional(x->inverse()) : std::nullopt,
             f && !f->is_zero() ? std::optional(GiNaC::ex(1 / *f)) : std::nullopt,
             QStringLiteral("that is 1/") + other,
             QStringLiteral("That is 1/%1, but %2 is not the reciprocal of %1: the whole matrix "
                            "is inverted, not each entry.")
                 .arg(other, t.name)});
    }
    for (int other = 0; other < 4; ++other)
        if (other != entry)
            t.slips.push_back({number(set, other), formula(set, other),
                               QStringLiteral("that is ") + entryName(set, other),
                               QStringLiteral("That is the value of %1: indices swapped, or the "
                                              "other port?")
                                   .arg(entryName(set, other))});
    std::optional<GiNaC::numeric> det;
    if (number(set, 0) && number(set, 1) && number(set, 2) && number(set, 3))
        det = *number(set, 0) * *number(set, 3) - *number(set, 1) * *number(set, 2);
    std::optional<GiNaC::ex> detFormula;
    if (formula(set, 0) && formula(set, 1) && formula(set, 2) && formula(set, 3))
        detFormula = GiNaC::normal(*formula(set, 0) * *formula(set, 3) -
                                   *formula(set, 1) * *formula(set, 2));
    const QString detName = QStringLiteral("the determinant of ") + setName(set);
    t.slips.push_back({det, detFormula, QStringLiteral("that is ") + detName,
                       QStringLiteral("That is %1, not %2.").arg(detName, t.name)});
    t.slips.push_back(
        {det && !det->is_zero() ? std::optional(det->inverse()) : std::nullopt,
         detFormula && !detFormula->is_zero() ? std::optional(GiNaC::ex(1 / *detFormula))
                                              : std::nullopt,
         QStringLiteral("that is 1 over ") + detName,
         QStringLiteral("That is 1 over %1: the numerator of the division by the determinant is "
                        "missing.")
             .arg(detName)});
    for (ParameterSet other : allParameterSets)
        if (other != set) {
            const QString same = entryName(other, entry);
            t.slips.push_back({number(other, entry), formula(other, entry),
                               QStringLiteral("that is ") + same,
                               QStringLiteral("That is %1, the same entry of the %2 set.")
                                   .arg(same, setName(other))});
        }
    return t;
}

Verdict AnalysisImpl::judge(ParameterSet set, int entry, const QString &typed) const
{
    const std::lock_guard<std::recursive_mutex> lock(ginacMutex());
    if (typed.trimmed().isEmpty())
        return {};
    if (m_report.error || !m_network)
        return {Verdict::Unexplained, QStringLiteral("no network"),
                QStringLiteral("The network cannot be read: ") + m_report.error->text()};
    const SetReport &r = m_report.sets[size_t(set)];
    if (r.state != SetState::Exists)
        return {Verdict::Unexplained,
                r.state == SetState::Missing ? QStringLiteral("no such set")
                                             : QStringLiteral("none for these values"),
                r.reason};
    return judgeTyped(typed, entryTarget(set, entry), context());
}

std::optional<Termination> AnalysisImpl::termination(const QString &text, const QString &what,
                                                     std::optional<NetlistError> *error) const
{
    ValueError problem;
    const auto v = readValue(text, &problem);
    if (!v) {
        *error = NetlistError{{}, QStringLiteral("%1: %2").arg(what, problem.message)};
        return std::nullopt;
    }
    Termination t;
    const bool conductance = v->unit == ValueUnit::Siemens;
    if (v->isSymbol) {
        const Netlist &net = m_network->netlist();
        const SymbolKind kind = net.symbolKinds.value(v->symbol, SymbolKind::Gain);
        if (kind != SymbolKind::Gain && (kind == SymbolKind::Conductance) != conductance) {
            *error = NetlistError{{},
                                  QStringLiteral("%1: the symbol '%2' is a %3 in the netlist")
                                      .arg(what, v->symbol,
                                           conductance ? QStringLiteral("resistance")
                                                       : QStringLiteral("conductance"))};
            return std::nullopt;
        }
        t.symbol = v->symbol;
        const GiNaC::ex s = m_table->symbol(v->symbol);
        t.z = conductance ? 1 / s : s;
        QString valueText = m_request.values.value(v->symbol);
        if (!valueText.isEmpty()) {
            const auto given = readValue(valueText, &problem);
            if (!given || given->isSymbol) {
                *error = NetlistError{{},
                                      QStringLiteral("value of %1: %2")
                                          .arg(v->symbol, given ? QStringLiteral("a number, "
                                                                                 "not a symbol")
                                                                : problem.message)};
                return std::nullopt;
            }
            // As an impedance: a conductance is inverted, and one of 0 S is an open circuit.
            const bool inSiemens = given->unit == ValueUnit::Siemens ||
                                   (given->unit == ValueUnit::None && conductance);
            if (inSiemens && given->number.is_zero())
                t.open = true;
            else
                t.value = inSiemens ? given->number.inverse() : given->number;
        }
        return t;
    }
    if (conductance) {
        if (v->number.is_zero()) {
            t.open = true;
            return t;
        }
        t.value = v->number.inverse();
    } else {
        t.value = v->number;
    }
    t.z = *t.value;
    return t;
}

std::vector<TerminatedValue> AnalysisImpl::terminatedValues(const QString &zs, const QString &zl,
                                                            std::optional<NetlistError> *error,
                                                            QStringList *extra) const
{
    std::vector<TerminatedValue> out;
    const auto source = termination(zs, QStringLiteral("source impedance"), error);
    if (!source)
        return out;
    const auto load = termination(zl, QStringLiteral("load"), error);
    if (!load)
        return out;
    for (const Termination *t : {&*source, &*load})
        if (!t->symbol.isEmpty() && extra)
            extra->append(t->symbol);
    const Network &n = *m_network;
    using Row = std::vector<GiNaC::ex>;
    // Conditions over V1, I1, V2, I2 and the drive d.
    auto loadRow = [](const GiNaC::ex &z, bool open) {
        return open ? Row{0, 0, 0, 1, 0} : Row{0, 0, 1, z, 0};
    };
    auto sourceRow = [](const GiNaC::ex &z, bool open, bool driven) {
        return open ? Row{0, 1, 0, 0, 0} : Row{1, z, 0, 0, driven ? -1 : 0};
    };
    const Row driveI1{0, 1, 0, 0, -1}, driveV1{1, 0, 0, 0, -1}, driveI2{0, 0, 0, 1, -1},
        openPort2{0, 0, 0, 1, 0};
    struct Definition {
        Quantity kind;
        std::function<std::array<Row, 2>(const GiNaC::ex &, const GiNaC::ex &)> rows;
        int target; // the unknown read; -1 for the power
        int sign;
        QString drive; // what fails when the drive cannot be set
    };
    // Open where its value makes it so; a symbol stays a symbol in the formulas.
    bool so = false, lo = false;
    const std::array<Definition, 7> defs{{
        {Quantity::Resistance,
         [&](const GiNaC::ex &, const GiNaC::ex &l) {
             return std::array<Row, 2>{loadRow(l, lo), driveI1};
         },
         V1, 1,
         QStringLiteral("with the load at port 2, no current can be driven into port 1 (Zin is "
                        "infinite)")},
        {Quantity::Resistance,
         [&](const GiNaC::ex &s, const GiNaC::ex &) {
             return std::array<Row, 2>{sourceRow(s, so, false), driveI2};
         },
         V2, 1,
         QStringLiteral("with the source zeroed and Zs at port 1, no current can be driven into "
                        "port 2 (Zout is infinite)")},
        {Quantity::None,
         [&](const GiNaC::ex &, const GiNaC::ex &l) {
             return std::array<Row, 2>{loadRow(l, lo), driveV1};
         },
         V2, 1,
         QStringLiteral("with the load at port 2, port 1 is shorted, so no voltage can be "
                        "applied to it")},
        {Quantity::None,
         [&](const GiNaC::ex &s, const GiNaC::ex &l) {
             return std::array<Row, 2>{loadRow(l, lo), sourceRow(s, so, true)};
         },
         V2, 1, QStringLiteral("the source's loop is a short: Zs + Zin = 0")},
        {Quantity::None,
         [&](const GiNaC::ex &, const GiNaC::ex &l) {
             return std::array<Row, 2>{loadRow(l, lo), driveI1};
         },
         I2, -1, QStringLiteral("with the load at port 2, no current can be driven into port 1")},
        {Quantity::None,
         [&](const GiNaC::ex &s, const GiNaC::ex &) {
             return std::array<Row, 2>{openPort2, sourceRow(s, so, true)};
         },
         V2, 1, QStringLiteral("with port 2 open, the source's loop is a short: Zs + z11 = 0")},
        {Quantity::Conductance,
         [&](const GiNaC::ex &s, const GiNaC::ex &l) {
             return std::array<Row, 2>{loadRow(l, lo), sourceRow(s, so, true)};
         },
         -1, 1, QStringLiteral("the source's loop is a short: Zs + Zin = 0")},
    }};
    auto solveWith = [&](const Pass &pass, const GiNaC::ex &s, const GiNaC::ex &l, int q,
                         int termCap) {
        const bool withValues = termCap == 0;
        so = source->open && (withValues || source->symbol.isEmpty());
        lo = load->open && (withValues || load->symbol.isEmpty());
        Rows rows;
        for (const auto &r : pass.relation.rows)
            rows.rows.push_back({r[0], r[1], r[2], r[3], 0});
        for (const Row &r : defs[size_t(q)].rows(s, l))
            rows.rows.push_back(r);
        const Work work = termCap > 0 ? symbolicWork(n.work()) : n.work();
        return solve(std::move(rows), {V1, I1, V2, I2}, {4}, work);
    };
    auto read = [&](const Solved &solved, int q) -> std::optional<GiNaC::ex> {
        const Definition &d = defs[size_t(q)];
        if (!solved.constraints.empty())
            return std::nullopt;
        if (d.target < 0) {
            if (!solved.determined(V2) || !solved.determined(I2))
                return std::nullopt;
            return -solved.value(V2, 4) * solved.value(I2, 4);
        }
        if (!solved.determined(d.target))
            return std::nullopt;
        return d.sign * solved.value(d.target, 4);
    };
    const bool numbers =
        n.numeric() && (source->open || source->value) && (load->open || load->value);
    const bool symbols =
        !source->symbol.isEmpty() || !load->symbol.isEmpty() || !n.netlist().symbols.isEmpty();
    // Symbols are solved with the network's own symbols, or with its numbers where it has none.
    const Pass *symbolic = n.symbolic()                    ? n.symbolic()
                           : !symbols                      ? nullptr
                           : n.netlist().symbols.isEmpty() ? n.numeric()
                                                           : nullptr;
    for (int q = 0; q < 7; ++q) {
        TerminatedValue t;
        t.name = QLatin1String(quantityNames[q]);
        t.kind = defs[size_t(q)].kind;
        std::optional<Solved> exactSolved;
        if (numbers) {
            exactSolved = solveWith(*n.numeric(), source->value ? GiNaC::ex(*source->value) : 0,
                                    load->value ? GiNaC::ex(*load->value) : 0, q, 0);
            if (const auto v = read(*exactSolved, q)) {
                t.value.exact = GiNaC::ex_to<GiNaC::numeric>(GiNaC::normal(*v));
                t.exists = true;
            }
        }
        if (symbolic && symbols) {
            try {
                const Solved s = solveWith(*symbolic, source->z, load->z, q, symbolicTermCap);
                if (const auto v = read(s, q)) {
                    if (!numbers)
                        t.exists = true;
                    // Terms of what would be simplified: for the power, a product of two.
                    const int target = defs[size_t(q)].target;
                    const auto terms = [](const GiNaC::ex &e) {
                        return GiNaC::is_a<GiNaC::add>(e) ? int(e.nops()) : 1;
                    };
                    const int size = target < 0
                                         ? terms(s.numerator(V2, 4)) * terms(s.numerator(I2, 4)) +
                                               terms(s.pivot) * terms(s.pivot)
                                         : terms(s.numerator(target, 4)) + terms(s.pivot);
                    if (size <= simplifyTermLimit) {
                        t.value.formula = GiNaC::normal(m_table->resistances(*v));
                        t.value.tooLong =
                            FormulaWriter(*m_table).terms(*t.value.formula) > formulaTermLimit;
                    } else {
                        t.value.tooLong = true;
                    }
                }
            } catch (const TooLarge &) {
                t.value.tooLong = true;
            }
        } else if (n.symbolicTooLarge()) {
            t.value.tooLong = true;
        }
        if (!t.exists) {
            const Definition &d = defs[size_t(q)];
            std::optional<Solved> why = exactSolved;
            if (!why && symbolic) {
                try {
                    why = solveWith(*symbolic, source->z, load->z, q, symbolicTermCap);
                } catch (const TooLarge &) {
                }
            }
            if (!why)
                t.missing = QStringLiteral("No %1: its formula is too long to work out, and not "
                                           "every symbol has a value.")
                                .arg(t.name);
            else if (!why->constraints.empty())
                t.missing = QStringLiteral("No %1: %2.").arg(t.name, d.drive);
            else
                t.missing = QStringLiteral("No %1: the circuit leaves %2 free.")
                                .arg(t.name, quantityName(d.target < 0 ? V2 : d.target));
        }
        if (!t.exists)
            t.value = EntryValue{};
        out.push_back(t);
    }
    return out;
}

namespace
{
QString terminatedDefinition(const QString &name)
{
    static const QHash<QString, QString> definitions{
        {QStringLiteral("Zin"), QStringLiteral("Zin = V1/I1 with ZL at port 2 (V2 = −ZL·I2)")},
        {QStringLiteral("Zout"), QStringLiteral("Zout = V2/I2 with the source zeroed and Zs at "
                                                "port 1 (V1 = −Zs·I1)")},
        {QStringLiteral("Av"), QStringLiteral("Av = V2/V1 with ZL at port 2")},
        {QStringLiteral("Avs"), QStringLiteral("Avs = V2/Vs with the source (Vs, Zs) at port 1 "
                                               "and ZL at port 2")},
        {QStringLiteral("Ai"), QStringLiteral("Ai = IL/I1 = −I2/I1 with ZL at port 2")},
        {QStringLiteral("Vth"), QStringLiteral("Vth = V2/Vs with port 2 open and the source (Vs, "
                                               "Zs) at port 1")},
        {QStringLiteral("P"), QStringLiteral("P = V2·IL/Vs² = −V2·I2/Vs², the power into ZL per "
                                             "volt² of Vs")},
    };
    return definitions.value(name);
}
} // namespace

Terminated AnalysisImpl::terminate(const QString &zs, const QString &zl) const
{
    const std::lock_guard<std::recursive_mutex> lock(ginacMutex());
    Terminated result;
    if (!m_network) {
        result.error = m_report.error;
        return result;
    }
    const auto values = terminatedValues(zs, zl, &result.error, nullptr);
    for (const TerminatedValue &t : values) {
        if (t.exists)
            result.quantities.append(
                {t.name, exact(t.value, t.kind, t.name, terminatedDefinition(t.name))});
        else
            result.quantities.append({t.name, std::nullopt});
        if (!t.missing.isEmpty())
            result.missing.insert(t.name, t.missing);
    }
    return result;
}

Verdict AnalysisImpl::judgeTerminated(const QString &zs, const QString &zl, const QString &quantity,
                                      const QString &typed) const
{
    const std::lock_guard<std::recursive_mutex> lock(ginacMutex());
    if (typed.trimmed().isEmpty())
        return {};
    if (!m_network)
        return {Verdict::Unexplained, QStringLiteral("no network"),
                QStringLiteral("The network cannot be read: ") + m_report.error->text()};
    std::optional<NetlistError> error;
    QStringList extra;
    const auto values = terminatedValues(zs, zl, &error, &extra);
    if (error)
        return {Verdict::Unexplained, QStringLiteral("no termination"), error->text()};
    const auto it = std::find_if(values.begin(), values.end(),
                                 [&](const TerminatedValue &t) { return t.name == quantity; });
    if (it == values.end())
        return {Verdict::Unreadable, QStringLiteral("no such quantity"),
                QStringLiteral("No quantity named %1: Zin, Zout, Av, Avs, Ai, Vth or P.")
                    .arg(quantity)};
    if (!it->exists)
        return {Verdict::Unexplained, QStringLiteral("none"), it->missing};
    JudgeTarget t;
    t.name = it->name;
    t.kind = it->kind;
    t.unitPower = power(t.kind);
    t.working = exact(it->value, it->kind, it->name, terminatedDefinition(it->name)).working;
    t.unvalued = m_network->unvalued();
    if (it->value.exact)
        t.number = *it->value.exact / tenTo(t.unitPower);
    t.formula = it->value.formula;
    const QString shown =
        t.number ? withUnit(decimalText(*t.number), displayUnit(t.kind, m_request.units))
                 : QString();
    addSignAndPrefixSlips(t, shown);
    t.slips.push_back(
        {t.number && !t.number->is_zero() ? std::optional(t.number->inverse()) : std::nullopt,
         t.formula && !t.formula->is_zero() ? std::optional(GiNaC::ex(1 / *t.formula))
                                            : std::nullopt,
         QStringLiteral("upside down"),
         QStringLiteral("That is 1/%1: the ratio is taken upside down.").arg(t.name)});
    for (const TerminatedValue &other : values)
        if (other.name != quantity && other.exists && other.kind == it->kind) {
            std::optional<GiNaC::numeric> x;
            if (other.value.exact)
                x = *other.value.exact / tenTo(t.unitPower);
            t.slips.push_back({x, other.value.formula, QStringLiteral("that is ") + other.name,
                               QStringLiteral("That is %1, not %2.").arg(other.name, quantity)});
        }
    return judgeTyped(typed, t, context(extra));
}

} // namespace kvadra::circuit
