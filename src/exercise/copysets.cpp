#include "exercise/copysets.h"

namespace kvadra
{

void copySet(CopyText &copy, ParameterSet set, const circuit::SetReport &report,
             const UnitPowers &units, const QStringList &unvalued, const QString &title)
{
    if (report.state != circuit::SetState::Exists) {
        copy.note(title + QStringLiteral(": ") + report.reason);
        return;
    }
    std::array<double, 4> values{};
    bool known = true;
    for (size_t i = 0; i < 4; ++i) {
        values[i] = report.entries[i].decimal;
        known = known && report.entries[i].known;
    }
    if (!known) {
        copy.note(title + QStringLiteral(": waits for the values of ") +
                  (unvalued.isEmpty() ? QStringLiteral("its symbols")
                                      : unvalued.join(QStringLiteral(", "))));
        return;
    }
    QStringList unitList;
    for (int i = 0; i < 4; ++i)
        unitList << displayUnit(entryKind(set, i), units);
    unitList.removeDuplicates();
    if (!copy.latex())
        copy.line(title +
                  (unitList.size() == 1 && !unitList[0].isEmpty()
                       ? QStringLiteral(" (") + unitList[0] + QLatin1Char(')')
                       : QString()) +
                  QLatin1Char(':'));
    copy.matrix(set, values, unitList.size() == 1 ? unitList[0] : QString());
}

} // namespace kvadra
