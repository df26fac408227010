#include "exercise/circuitikz.h"

#include <QRegularExpression>

namespace kvadra
{

namespace
{
// The blank after the comma keeps a coordinate from reading as a decimal comma.
QString at(QPoint p)
{
    return QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y());
}

// Anything a student may type, safe in LaTeX's text mode.
QString escaped(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\textbackslash{}");
            break;
        case '{':
        case '}':
        case '$':
        case '&':
        case '#':
        case '_':
        case '%':
            out += QLatin1Char('\\') + c;
            break;
        case '^':
            out += QStringLiteral("\\^{}");
            break;
        case '~':
            out += QStringLiteral("\\~{}");
            break;
        case 0x00B5: // micro sign
        case 0x03BC: // Greek mu
            out += QStringLiteral("$\\mu$");
            break;
        case 0x03A9: // Omega
        case 0x2126: // Ohm sign
            out += QStringLiteral("$\\Omega$");
            break;
        default:
            // The font of a plain document has ASCII; the rest would go missing from the PDF.
            out += c.unicode() < 128 ? QString(c) : QStringLiteral("?");
        }
    }
    return out;
}

// "R1" as R with the subscript 1, as the results name it; other names as typed.
QString name(const QString &n)
{
    static const QRegularExpression plain(QStringLiteral("^([A-Za-z])([A-Za-z0-9]*)$"));
    const QRegularExpressionMatch m = plain.match(n);
    if (!m.hasMatch())
        return QStringLiteral("\\mbox{%1}").arg(escaped(n));
    return QStringLiteral("$%1%2$").arg(
        m.captured(1), m.captured(2).isEmpty() ? QString() : "_{" + m.captured(2) + '}');
}

QString value(const DrawnElement &e)
{
    if (e.kind == QLatin1Char('F') || e.kind == QLatin1Char('H'))
        return QStringLiteral("\\mbox{%1}$\\cdot i$\\mbox{(%2)}")
            .arg(escaped(e.value.isEmpty() ? e.name : e.value), escaped(e.control));
    return e.value.isEmpty() ? QString() : QStringLiteral("\\mbox{%1}").arg(escaped(e.value));
}
} // namespace

QString circuitikz(const Drawing &d)
{
    QStringList lines{QStringLiteral("% Needs \\usepackage[american]{circuitikz}"),
                      QStringLiteral("\\begin{circuitikz}[x=0.5cm, y=-0.5cm]")};
    for (const NetWire &w : d.wires) {
        QStringList points;
        for (const QPoint &p : w.points)
            points.append(at(p));
        lines.append(QStringLiteral("\\draw %1;").arg(points.join(QStringLiteral(" -- "))));
    }
    for (const Airwire &a : d.airwires)
        lines.append(QStringLiteral("\\draw[dashed] %1 -- %2;")
                         .arg(at(terminalPoint(d.elements[a.from], a.fromTerminal)),
                              at(terminalPoint(d.elements[a.to], a.toTerminal))));
    for (const DrawnElement &e : d.elements) {
        const QPoint a = terminalPoint(e, 0), b = terminalPoint(e, 1);
        const QString v = value(e);
        const QString label = QStringLiteral("l=%1").arg(name(e.name)) +
                              (v.isEmpty() ? QString() : QStringLiteral(", a=%1").arg(v));
        QString bipole;
        switch (e.kind.unicode()) {
        case 'R':
            bipole = QStringLiteral("R");
            break;
        case 'V':
            bipole = QStringLiteral("ammeter");
            break;
        case 'E':
        case 'H':
            bipole = QStringLiteral("cV");
            break;
        case 'G':
        case 'F':
            bipole = QStringLiteral("cI");
            break;
        default:
            break;
        }
        if (e.kind == QLatin1Char('P')) {
            lines.append(QStringLiteral("\\draw %1 node[ocirc]{} node[anchor=south east]{$+$} "
                                        "%2 node[ocirc]{} node[anchor=north east]{$-$};")
                             .arg(at(a), at(b)));
            lines.append(QStringLiteral("\\node at (%1, %2) {%3};")
                             .arg((a.x() + b.x()) / 2.0)
                             .arg((a.y() + b.y()) / 2.0)
                             .arg(name(e.name)));
            continue;
        }
        lines.append(QStringLiteral("\\draw %1 to[%2, %3] %4;").arg(at(a), bipole, label, at(b)));
        if (terminalCount(e.kind) == 4)
            lines.append(QStringLiteral("\\draw %1 node[ocirc]{} node[anchor=south]{$+$} %2 "
                                        "node[ocirc]{} node[anchor=south]{$-$};")
                             .arg(at(terminalPoint(e, 2)), at(terminalPoint(e, 3))));
    }
    for (const QPoint &p : junctionsOf(d))
        lines.append(QStringLiteral("\\node[circ] at %1 {};").arg(at(p)));
    lines.append(QStringLiteral("\\end{circuitikz}"));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace kvadra
