#include "exercise/joinchoices.h"

#include "twoport/catalogue.h"

#include <QStringList>

#include <algorithm>

namespace kvadra
{

QString schematicCaption(const Schematic &s)
{
    QStringList elements;
    for (int k = 1; k <= 3; ++k)
        if (s.hasElement(k))
            elements << (s.family == Family::Resistance ? QStringLiteral("R%1")
                                                        : QStringLiteral("G%1"))
                            .arg(k);
    const QString shape =
        s.family == Family::Resistance ? QStringLiteral("T") : QStringLiteral("Π");
    return elements.isEmpty() ? QStringLiteral("schematic %1: no element").arg(s.number)
                              : QStringLiteral("schematic %1: %2 of %3")
                                    .arg(s.number)
                                    .arg(shape, elements.join(QStringLiteral(", ")));
}

QString startingValue(const QString &symbol)
{
    const QString digit = symbol.right(1);
    return symbol.startsWith(QLatin1Char('G'), Qt::CaseInsensitive) ? digit + QLatin1Char('m')
                                                                    : digit + QLatin1Char('k');
}

// Each port's terminals swapped: the network stood on its head, which is what makes the bottom
// line of one network meet the top line of the other in a series or parallel connection.
QString turnedOver(const QString &netlist, const circuit::Report &read)
{
    QStringList lines = netlist.split(QLatin1Char('\n'));
    for (const circuit::ElementInfo &e : read.elements) {
        if (e.kind.toUpper() != QLatin1Char('P') || e.nodes.size() != 2 || e.line < 1 ||
            e.line > lines.size())
            continue;
        lines[e.line - 1] = e.name + QLatin1Char(' ') + e.nodes[1] + QLatin1Char(' ') + e.nodes[0];
    }
    return lines.join(QLatin1Char('\n'));
}

bool allValued(const circuit::Request &request, const QStringList &symbols)
{
    return std::all_of(symbols.cbegin(), symbols.cend(), [&](const QString &s) {
        return !request.values.value(s).trimmed().isEmpty();
    });
}

} // namespace kvadra
