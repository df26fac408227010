#include "circuit/schematics.h"

#include "twoport/catalogue.h"

#include <QStringList>

namespace kvadra::circuit
{

QString schematicNetlistText(int number)
{
    const Schematic *s = schematicByNumber(number);
    if (!s)
        return QString();
    QStringList lines{
        QStringLiteral("* Schematic %1 (%2)").arg(number).arg(QLatin1String(s->name))};
    if (s->family == Family::Conductance) {
        // A Π: G1 across port 1, G2 in the top line, G3 across port 2; an absent one is open.
        lines << QStringLiteral("P1 1 0") << QStringLiteral("P2 2 0");
        if (s->hasElement(1))
            lines << QStringLiteral("RG1 1 0 G1 S");
        if (s->hasElement(2))
            lines << QStringLiteral("RG2 1 2 G2 S");
        if (s->hasElement(3))
            lines << QStringLiteral("RG3 2 0 G3 S");
    } else {
        // A T: R1 from port 1 to the middle node, R2 from it to the bottom line, R3 on to port
        // 2; an absent one is a wire, so the nodes it would join are one.
        const QString middle = s->hasElement(2) ? QStringLiteral("2") : QStringLiteral("0");
        const QString in = s->hasElement(1) ? QStringLiteral("1") : middle;
        const QString out = s->hasElement(3) ? QStringLiteral("3") : middle;
        lines << QStringLiteral("P1 %1 0").arg(in) << QStringLiteral("P2 %1 0").arg(out);
        if (s->hasElement(1))
            lines << QStringLiteral("R1 1 %1").arg(middle);
        if (s->hasElement(2))
            lines << QStringLiteral("R2 2 0");
        if (s->hasElement(3))
            lines << QStringLiteral("R3 %1 3").arg(middle);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace kvadra::circuit
