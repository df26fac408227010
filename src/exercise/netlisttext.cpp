#include "exercise/netlisttext.h"

namespace kvadra
{

namespace
{
struct Word {
    int start;
    int length;
};

QList<Word> wordsOf(const QString &line, int end)
{
    QList<Word> words;
    for (int i = 0; i < end;) {
        while (i < end && line[i].isSpace())
            ++i;
        const int start = i;
        while (i < end && !line[i].isSpace())
            ++i;
        if (i > start)
            words.append({start, i - start});
    }
    return words;
}

bool readInt(const QString &word, int *out)
{
    bool ok = false;
    *out = word.toInt(&ok);
    // Far outside any drawing a student makes; keeps the geometry's arithmetic small.
    return ok && *out > -100000 && *out < 100000;
}

// The words after "*@": a name and its place, or "wire" and its points.
void readLayout(NetlistText &net, const QStringList &words, int line)
{
    if (words.isEmpty())
        return;
    if (words[0].compare(QLatin1String("wire"), Qt::CaseInsensitive) == 0) {
        NetWire wire;
        if (words.size() % 2 == 0)
            return;
        for (int k = 1; k + 1 < words.size(); k += 2) {
            int x = 0, y = 0;
            if (!readInt(words[k], &x) || !readInt(words[k + 1], &y))
                return;
            if (wire.points.isEmpty() || wire.points.last() != QPoint(x, y))
                wire.points.append({x, y});
        }
        if (wire.points.size() >= 2) {
            net.wires.append(wire);
            net.wireLines.append(line);
        }
        return;
    }
    int x = 0, y = 0, rotation = 0;
    if (words.size() < 3 || words.size() > 4 || !readInt(words[1], &x) || !readInt(words[2], &y))
        return;
    if (words.size() == 4 && (!readInt(words[3], &rotation) || rotation % 90 != 0))
        return;
    const QString key = words[0].toLower();
    // The first line for a name is the one that counts, as the core takes the first element.
    if (net.placements.contains(key))
        return;
    net.placements.insert(key, Placement{{x, y}, ((rotation % 360) + 360) % 360});
    net.placementLines.insert(key, line);
}
} // namespace

int terminalCount(QChar kind)
{
    return kind == QLatin1Char('E') || kind == QLatin1Char('G') ? 4 : 2;
}

bool isElementKind(QChar kind)
{
    return QStringLiteral("REGFHVP").contains(kind);
}

NetlistText readNetlistText(const QString &text)
{
    NetlistText net;
    net.lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < net.lines.size(); ++n) {
        QString line = net.lines[n];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.compare(QLatin1String(".end"), Qt::CaseInsensitive) == 0) {
            net.endLine = n;
            break;
        }
        if (trimmed.startsWith(QLatin1String("*@"))) {
            readLayout(net, trimmed.mid(2).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts),
                       n);
            continue;
        }
        int end = int(line.indexOf(QLatin1Char(';')));
        if (end < 0)
            end = int(line.size());
        const QList<Word> words = wordsOf(line, end);
        if (words.isEmpty() || line[words[0].start] == QLatin1Char('*'))
            continue;
        NetElement e;
        e.name = line.mid(words[0].start, words[0].length);
        e.kind = e.name.front().toUpper();
        if (!isElementKind(e.kind))
            continue;
        e.line = n;
        const int nodes = terminalCount(e.kind);
        if (words.size() < 1 + nodes)
            continue;
        for (int k = 1; k <= nodes; ++k) {
            e.nodes.append(line.mid(words[k].start, words[k].length));
            e.nodeSpans.append({words[k].start, words[k].length});
        }
        int next = nodes + 1;
        if (e.kind == QLatin1Char('F') || e.kind == QLatin1Char('H')) {
            if (next < words.size())
                e.control = line.mid(words[next].start, words[next].length);
            ++next;
        }
        if (next < words.size()) {
            e.valueAt = words[next].start;
            const Word &last = words.last();
            e.value = line.mid(words[next].start, last.start + last.length - words[next].start);
        } else {
            e.valueAt = end;
        }
        net.elements.append(e);
    }
    return net;
}

QString elementLine(const NetElement &element)
{
    QStringList words{element.name};
    words += element.nodes;
    if (!element.control.isEmpty())
        words.append(element.control);
    if (!element.value.isEmpty())
        words.append(element.value);
    return words.join(QLatin1Char(' '));
}

QString placementLine(const QString &name, const Placement &placement)
{
    return QStringLiteral("*@ %1 %2 %3 %4")
        .arg(name)
        .arg(placement.at.x())
        .arg(placement.at.y())
        .arg(placement.rotation);
}

QString wireLine(const NetWire &wire)
{
    QString line = QStringLiteral("*@ wire");
    for (const QPoint &p : wire.points)
        line += QStringLiteral(" %1 %2").arg(p.x()).arg(p.y());
    return line;
}

} // namespace kvadra
