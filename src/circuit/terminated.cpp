// The network between a source and a load, and the student's values for it judged.
#include "circuit/analysis.h"

#include <ginac/ginac.h>

#include <functional>

namespace kvadra::circuit
{

namespace
{
const char *const quantityNames[] = {"Zin", "Zout", "Av", "Avs", "Ai", "Vth", "P"};
} // namespace

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
