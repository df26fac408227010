#include "exercise/joinedtext.h"

#include "exercise/copysets.h"
#include "exercise/resultcells.h"
#include "twoport/numbertext.h"

#include <QStringList>

namespace kvadra
{

namespace
{
// A short fraction says more than its decimal; a long one would not fit beside the other matrix.
QString entryText(const circuit::Exact &e)
{
    if (!e.known)
        return fitted(e.formula);
    return e.exact.size() <= 12 ? e.exact : writeNumber(e.decimal);
}
} // namespace

QString matrixText(ParameterSet set, const circuit::SetReport &report, const UnitPowers &units)
{
    if (report.state != circuit::SetState::Exists)
        return report.reason.toHtmlEscaped();
    QStringList unitList;
    for (int i = 0; i < 4; ++i)
        unitList << displayUnit(entryKind(set, i), units);
    const bool shared = unitList.count(unitList[0]) == 4;
    auto cell = [&](int i) {
        const QString number = entryText(report.entries[size_t(i)]);
        return QStringLiteral("<td align=right>&nbsp;%1&nbsp;</td>")
            .arg((shared ? number : withUnit(number, unitList[i])).toHtmlEscaped());
    };
    // Bracket halves in their own cells draw the matrix's brackets over both rows.
    return QStringLiteral("<table cellspacing=0><tr><td>⎡</td>%1%2<td>⎤</td>"
                          "<td rowspan=2 valign=middle>&nbsp;%3</td></tr>"
                          "<tr><td>⎣</td>%4%5<td>⎦</td></tr></table>")
        .arg(cell(0), cell(1), shared ? unitList[0] : QString(), cell(2), cell(3));
}

QString matrixWords(ParameterSet set, const circuit::SetReport &report, const UnitPowers &units)
{
    if (report.state != circuit::SetState::Exists)
        return report.reason;
    QStringList entries;
    for (int i = 0; i < 4; ++i) {
        const circuit::Exact &e = report.entries[size_t(i)];
        entries << withUnit(e.known ? e.exact : e.formula, displayUnit(entryKind(set, i), units));
    }
    return entries[0] + QStringLiteral(", ") + entries[1] + QStringLiteral("; ") + entries[2] +
           QStringLiteral(", ") + entries[3];
}

QString ruleVerdict(const circuit::Joined &joined)
{
    return joined.ruleHolds ? QStringLiteral("✓ The rule holds: the network built has the rule's "
                                             "parameters.")
                            : QStringLiteral("✗ The rule does not hold: the network built "
                                             "differs from the rule's result.");
}

QString copyJoined(const circuit::Joined &joined, const QString &heading, const UnitPowers &units,
                   CopyFlavour flavour)
{
    CopyText copy(flavour);
    if (copy.latex())
        copy.note(QStringLiteral("Needs \\usepackage{amsmath} for its matrices."));
    copy.note(heading);
    for (auto [results, how] :
         {std::pair{&joined.rule, " by the rule"}, std::pair{&joined.built, " as built"}})
        for (ParameterSet set : allParameterSets)
            copySet(copy, set, (*results)[size_t(set)], units, {},
                    setName(set) + QString::fromUtf8(how));
    copy.note(ruleVerdict(joined));
    if (!joined.why.isEmpty())
        copy.note(joined.why);
    return copy.text();
}

} // namespace kvadra
