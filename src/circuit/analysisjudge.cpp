// Judging what a student types against an entry of a set.
#include "circuit/analysis.h"

#include <ginac/ginac.h>

#include <functional>

namespace kvadra::circuit
{

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

} // namespace kvadra::circuit
