#include "exercise/networkdrawing.h"

#include <QMap>
#include <QSet>

#include <algorithm>
#include <optional>

// The drawing written back into the student's text, which keeps what they typed.
namespace kvadra
{

QString writeDrawing(const NetlistText &net, const Drawing &d)
{
    const QList<QStringList> names = nodeNamesOf(d);
    QList<std::optional<QString>> lines;
    for (const QString &line : net.lines)
        lines.append(line);
    QMap<int, QStringList> after; // new lines after a line; -1 before the first
    QHash<int, const NetElement *> byLine;
    for (const NetElement &e : net.elements)
        byLine.insert(e.line, &e);

    QSet<int> kept;
    int lastElementLine = -1;
    QStringList added;
    for (int i = 0; i < d.elements.size(); ++i) {
        const DrawnElement &drawn = d.elements[i];
        const NetElement *old = byLine.value(drawn.line);
        if (!old) {
            NetElement fresh;
            fresh.kind = drawn.kind;
            fresh.name = drawn.name;
            fresh.nodes = names[i];
            fresh.control = drawn.control;
            fresh.value = drawn.value;
            added.append(elementLine(fresh));
            continue;
        }
        kept.insert(old->line);
        lastElementLine = std::max(lastElementLine, old->line);
        // Node names are compared without case, so "mid" where the node is "Mid" stays as typed.
        QString line = *lines[old->line];
        for (int t = int(old->nodeSpans.size()) - 1; t >= 0; --t)
            if (old->nodes.value(t).compare(names[i].value(t), Qt::CaseInsensitive) != 0)
                line.replace(old->nodeSpans[t].first, old->nodeSpans[t].second, names[i].value(t));
        lines[old->line] = line;
    }
    for (const NetElement &e : net.elements)
        if (!kept.contains(e.line)) {
            lines[e.line].reset();
            lastElementLine = std::max(lastElementLine, e.line);
        }

    // Layout lines: each element's place where it changed, orphans out, the rest appended.
    int lastLayoutLine = -1;
    QStringList layout;
    for (const DrawnElement &drawn : d.elements) {
        const QString key = drawn.name.toLower();
        const int line = net.placementLines.value(key, -1);
        if (line < 0) {
            layout.append(placementLine(drawn.name, drawn.place));
            continue;
        }
        lastLayoutLine = std::max(lastLayoutLine, line);
        if (!(net.placements.value(key) == drawn.place))
            lines[line] = placementLine(drawn.name, drawn.place);
    }
    QSet<QString> drawnNames;
    for (const DrawnElement &drawn : d.elements)
        drawnNames.insert(drawn.name.toLower());
    for (auto it = net.placementLines.constBegin(); it != net.placementLines.constEnd(); ++it)
        if (!drawnNames.contains(it.key()))
            lines[it.value()].reset();
    QList<NetWire> wanted = d.wires;
    for (int w = 0; w < net.wires.size(); ++w) {
        const int at = int(wanted.indexOf(net.wires[w]));
        if (at >= 0) {
            wanted.removeAt(at);
            lastLayoutLine = std::max(lastLayoutLine, net.wireLines[w]);
        } else {
            lines[net.wireLines[w]].reset();
        }
    }
    for (const NetWire &w : std::as_const(wanted))
        layout.append(wireLine(w));

    // Where the text ends before ".end" and its trailing blank lines.
    int end = net.endLine >= 0 ? net.endLine : int(net.lines.size());
    while (end > 0 && lines[end - 1] && lines[end - 1]->trimmed().isEmpty())
        --end;
    const int elementsGo = lastElementLine >= 0 ? lastElementLine : end - 1;
    after[std::max(-1, std::min(elementsGo, end - 1))] += added;
    const int layoutGoes = lastLayoutLine >= 0 ? lastLayoutLine : end - 1;
    after[std::max(-1, std::max(layoutGoes, elementsGo))] += layout;

    QStringList out = after.value(-1);
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i])
            out.append(*lines[i]);
        out += after.value(i);
    }
    return out.join(QLatin1Char('\n'));
}

QString freeName(const Drawing &d, QChar kind)
{
    QSet<QString> taken;
    for (const DrawnElement &e : d.elements)
        taken.insert(e.name.toLower());
    const QChar k = kind.toUpper();
    for (int n = 1; n < 1000; ++n) {
        const QString name = k + QString::number(n);
        if (k == QLatin1Char('P') && n > 2)
            return QString();
        if (!taken.contains(name.toLower()))
            return name;
    }
    return QString();
}

} // namespace kvadra
