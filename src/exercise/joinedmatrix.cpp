#include "exercise/joinedmatrix.h"

#include "exercise/resultcells.h"
#include "twoport/numbertext.h"

#include <QStringList>

namespace kvadra
{

QString matrixText(ParameterSet set, const circuit::SetReport &report, const UnitPowers &units)
{
    if (report.state != circuit::SetState::Exists)
        return report.reason;
    QStringList unitList;
    for (int i = 0; i < 4; ++i)
        unitList << displayUnit(entryKind(set, i), units);
    const bool shared = unitList.count(unitList[0]) == 4;
    QString rows;
    for (int r = 0; r < 2; ++r) {
        rows += QStringLiteral("<tr>");
        for (int c = 0; c < 2; ++c) {
            const circuit::Exact &e = report.entries[size_t(2 * r + c)];
            const QString number = e.known ? writeNumber(e.decimal) : fitted(e.formula);
            rows +=
                QStringLiteral("<td align=right>&nbsp;%1&nbsp;</td>")
                    .arg(shared ? number : withUnit(number, unitList[2 * r + c]).toHtmlEscaped());
        }
        rows += QStringLiteral("</tr>");
    }
    return QStringLiteral("<table><tr><td>[</td><td><table>%1</table></td><td>]</td><td>%2</td>"
                          "</tr></table>")
        .arg(rows, shared ? unitList[0] : QString());
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

} // namespace kvadra
