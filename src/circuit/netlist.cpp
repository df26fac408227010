#include "circuit/netlist.h"

#include "twoport/numbertext.h"

#include <ginac/ginac.h>

namespace kvadra::circuit
{

namespace
{
struct Word {
    QString text;
    int column; // from 1
};

QList<Word> wordsOf(QStringView line)
{
    QList<Word> words;
    for (qsizetype i = 0; i < line.size();) {
        while (i < line.size() && line[i].isSpace())
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !line[i].isSpace())
            ++i;
        if (i > start)
            words.append({line.mid(start, i - start).toString(), int(start) + 1});
    }
    return words;
}

class Reader
{
public:
    explicit Reader(ReadResult &result) : m_result(result), m_net(result.netlist) {}

    bool line(int number, QStringView text);
    bool finish(int endLine);

private:
    bool error(int line, int column, const QString &message)
    {
        m_result.error = NetlistError{{line, column}, message};
        return false;
    }
    bool element(int number, QStringView text, const QList<Word> &words);
    int node(const Word &word, int line, bool *ok);
    bool value(Element &e, const QList<Word> &words, int first, QStringView text);
    bool zeroVolts(const QList<Word> &words, int first, int line);
    bool addSymbol(const QString &name, SymbolKind kind, Location at);

    ReadResult &m_result;
    Netlist &m_net;
    QHash<QString, int> m_nodeIndex;    // lower-case name -> index
    QHash<QString, int> m_elementIndex; // lower-case name -> index
    QHash<QString, int> m_symbolLine;
};

int Reader::node(const Word &word, int line, bool *ok)
{
    const QString key = word.text.toLower();
    if (const auto it = m_nodeIndex.constFind(key); it != m_nodeIndex.constEnd())
        return *it;
    if (m_net.nodes.size() >= maxNodes) {
        *ok = error(line, word.column, QStringLiteral("too many nodes: at most %1").arg(maxNodes));
        return -1;
    }
    const int index = int(m_net.nodes.size());
    m_net.nodes.append(word.text);
    m_nodeIndex.insert(key, index);
    if (word.text == QLatin1String("0"))
        m_net.ground = index;
    return index;
}

bool Reader::addSymbol(const QString &name, SymbolKind kind, Location at)
{
    if (const auto it = m_net.symbolKinds.constFind(name); it != m_net.symbolKinds.constEnd()) {
        const bool clash = (*it == SymbolKind::Conductance && kind == SymbolKind::Resistance) ||
                           (*it == SymbolKind::Resistance && kind == SymbolKind::Conductance);
        if (clash)
            return error(at.line, at.column,
                         QStringLiteral("symbol '%1' is a %2 on line %3 and a %4 here: name the "
                                        "two values apart")
                             .arg(name, *it == SymbolKind::Conductance
                                            ? QStringLiteral("conductance")
                                            : QStringLiteral("resistance"))
                             .arg(m_symbolLine.value(name))
                             .arg(kind == SymbolKind::Conductance ? QStringLiteral("conductance")
                                                                  : QStringLiteral("resistance")));
        if (*it == SymbolKind::Gain && kind != SymbolKind::Gain)
            m_net.symbolKinds[name] = kind;
        return true;
    }
    if (m_net.symbols.size() >= maxSymbols)
        return error(at.line, at.column,
                     QStringLiteral("too many symbols: at most %1").arg(maxSymbols));
    m_net.symbols.append(name);
    m_net.symbolKinds.insert(name, kind);
    m_symbolLine.insert(name, at.line);
    return true;
}

// The value words of an element from `first` on; none makes the element's name its symbol.
bool Reader::value(Element &e, const QList<Word> &words, int first, QStringView text)
{
    ElementInfo &info = m_net.infos.last();
    const bool isR = e.kind == QLatin1Char('R');
    if (first >= words.size()) {
        e.value.isSymbol = true;
        e.value.symbol = e.name;
        if (!isSymbolName(e.name))
            return error(e.at.line, e.at.column,
                         QStringLiteral("'%1' has no value and its name cannot be a symbol: "
                                        "write a value, or a symbol name (a letter, then "
                                        "letters, digits or _)")
                             .arg(e.name));
    } else {
        const int start = words[first].column - 1;
        const int end = words.last().column - 1 + int(words.last().text.size());
        const QStringView written = text.mid(start, end - start);
        ValueError problem;
        const auto v = readValue(written, &problem);
        if (!v)
            return error(e.at.line, start + problem.offset + 1,
                         problem.message + QStringLiteral(" (%1)").arg(e.name));
        e.value = *v;
        e.written = true;
        e.valueAt = {e.at.line, words[first].column};
        info.valueText = written.toString();
    }
    const Location at = e.written ? e.valueAt : e.at;
    const ValueUnit unit = e.value.unit;
    if (!isR) {
        const QChar k = e.kind;
        const bool fits = unit == ValueUnit::None ||
                          (k == QLatin1Char('G') && unit == ValueUnit::Siemens) ||
                          (k == QLatin1Char('H') && unit == ValueUnit::Ohm);
        if (!fits)
            return error(
                at.line, at.column,
                QStringLiteral("%1: %2").arg(
                    e.name, k == QLatin1Char('G')   ? QStringLiteral("a transconductance takes S "
                                                                       "or no unit")
                            : k == QLatin1Char('H') ? QStringLiteral("a transresistance takes "
                                                                     "ohm or no unit")
                                                    : QStringLiteral("a gain is a ratio: no "
                                                                     "unit")));
    }
    if (e.value.isSymbol) {
        const SymbolKind kind = !isR                         ? SymbolKind::Gain
                                : unit == ValueUnit::Siemens ? SymbolKind::Conductance
                                                             : SymbolKind::Resistance;
        if (!addSymbol(e.value.symbol, kind, at))
            return false;
        info.symbol = e.value.symbol;
    }
    info.conductance = isR && unit == ValueUnit::Siemens;
    return true;
}

// A sense source's value: nothing, 0, 0V, DC 0 or DC 0 V.
bool Reader::zeroVolts(const QList<Word> &words, int first, int line)
{
    int i = first;
    if (i < words.size() && words[i].text.compare(QLatin1String("dc"), Qt::CaseInsensitive) == 0)
        ++i;
    if (i >= words.size())
        return true;
    qsizetype length = 0;
    const auto t = scanDecimal(words[i].text, &length);
    QString rest = words[i].text.mid(length);
    if (rest.isEmpty() && i + 1 < words.size())
        rest = words[++i].text;
    const bool isZero =
        t && t->digits == QLatin1String("0") &&
        (rest.isEmpty() || rest == QLatin1String("V") || rest == QLatin1String("v"));
    if (!isZero)
        return error(line, words[first].column,
                     QStringLiteral("'%1' must be a zero-volt source (0), the sense of an F or "
                                    "H source: an independent source would make the network "
                                    "active")
                         .arg(words[0].text));
    if (i + 1 < words.size())
        return error(line, words[i + 1].column,
                     QStringLiteral("unexpected '%1' after the value").arg(words[i + 1].text));
    return true;
}

bool Reader::element(int number, QStringView text, const QList<Word> &words)
{
    const Word &name = words[0];
    const QChar kind = name.text.front().toUpper();
    static const QString kinds = QStringLiteral("REGFHVP");
    if (!kinds.contains(kind))
        return error(
            number, name.column,
            QStringLiteral("unknown element '%1': expected R, E, G, F, H, V or P").arg(name.text));
    if (int(m_net.elements.size()) >= maxElements)
        return error(number, name.column,
                     QStringLiteral("too many elements: at most %1").arg(maxElements));
    const QString key = name.text.toLower();
    if (const auto it = m_elementIndex.constFind(key); it != m_elementIndex.constEnd())
        return error(number, name.column,
                     QStringLiteral("duplicate name '%1': already on line %2")
                         .arg(name.text)
                         .arg(m_net.elements[size_t(*it)].at.line));
    Element e;
    e.kind = kind;
    e.name = name.text;
    e.at = {number, name.column};
    if (kind == QLatin1Char('P')) {
        if (key != QLatin1String("p1") && key != QLatin1String("p2"))
            return error(number, name.column,
                         QStringLiteral("unknown port '%1': expected P1 or P2").arg(name.text));
        e.port = key == QLatin1String("p1") ? 1 : 2;
    }
    const int nodeCount = kind == QLatin1Char('E') || kind == QLatin1Char('G') ? 4 : 2;
    const int found = std::min(int(words.size()) - 1, nodeCount);
    if (found < nodeCount) {
        const Word &last = words.last();
        return error(number, last.column + int(last.text.size()),
                     QStringLiteral("missing node: %1 needs %2 nodes, found %3")
                         .arg(name.text)
                         .arg(nodeCount)
                         .arg(found));
    }
    ElementInfo info;
    info.kind = kind;
    info.name = name.text;
    info.line = number;
    for (int k = 1; k <= nodeCount; ++k) {
        bool ok = true;
        const int index = node(words[k], number, &ok);
        if (!ok)
            return false;
        e.nodes.push_back(index);
        e.nodeAt.push_back({number, words[k].column});
        info.nodes.append(words[k].text);
    }
    int next = nodeCount + 1;
    if (kind == QLatin1Char('F') || kind == QLatin1Char('H')) {
        if (next >= words.size()) {
            const Word &last = words.last();
            return error(number, last.column + int(last.text.size()) + 1,
                         QStringLiteral("missing sense source: %1 needs the name of a zero-volt "
                                        "source V after its nodes")
                             .arg(name.text));
        }
        info.control = words[next].text;
        e.senseAt = {number, words[next].column};
        ++next;
    }
    m_elementIndex.insert(key, int(m_net.elements.size()));
    m_net.infos.append(info);
    if (kind == QLatin1Char('P')) {
        if (next < words.size())
            return error(number, words[next].column,
                         QStringLiteral("unexpected '%1' after the nodes of %2")
                             .arg(words[next].text, name.text));
        m_net.ports[size_t(e.port - 1)] = int(m_net.elements.size());
    } else if (kind == QLatin1Char('V')) {
        if (!zeroVolts(words, next, number))
            return false;
        if (next < words.size()) {
            const int start = words[next].column - 1;
            const int end = words.last().column - 1 + int(words.last().text.size());
            m_net.infos.last().valueText = text.mid(start, end - start).toString();
        }
    } else if (!value(e, words, next, text)) {
        return false;
    }
    m_net.elements.push_back(std::move(e));
    return true;
}

bool Reader::line(int number, QStringView text)
{
    if (text.size() > maxLineLength)
        return error(number, maxLineLength + 1,
                     QStringLiteral("line too long: at most %1 characters").arg(maxLineLength));
    if (const qsizetype comment = text.indexOf(QLatin1Char(';')); comment >= 0)
        text = text.left(comment);
    const QList<Word> words = wordsOf(text);
    if (words.isEmpty() || words[0].text.startsWith(QLatin1Char('*')))
        return true;
    return element(number, text, words);
}

bool Reader::finish(int endLine)
{
    // Sense sources may be named before their own line.
    for (size_t i = 0; i < m_net.elements.size(); ++i) {
        Element &e = m_net.elements[i];
        if (e.kind != QLatin1Char('F') && e.kind != QLatin1Char('H'))
            continue;
        const QString &sense = m_net.infos[qsizetype(i)].control;
        const int index = m_elementIndex.value(sense.toLower(), -1);
        if (index < 0)
            return error(e.senseAt.line, e.senseAt.column,
                         QStringLiteral("undefined sense source '%1' for %2: expected the name of "
                                        "a zero-volt source (a V line)")
                             .arg(sense, e.name));
        if (m_net.elements[size_t(index)].kind != QLatin1Char('V'))
            return error(e.senseAt.line, e.senseAt.column,
                         QStringLiteral("'%1' is not a zero-volt source: %2 senses the current "
                                        "through a V line")
                             .arg(sense, e.name));
        e.sense = index;
    }
    m_result.readable = true;

    // A node met only once, and not at a port, joins its element to nothing.
    std::vector<int> uses(size_t(m_net.nodes.size()), 0);
    std::vector<std::pair<int, int>> first(size_t(m_net.nodes.size()), {-1, -1});
    for (size_t i = 0; i < m_net.elements.size(); ++i) {
        const Element &e = m_net.elements[i];
        for (size_t k = 0; k < e.nodes.size(); ++k) {
            const size_t n = size_t(e.nodes[k]);
            if (uses[n]++ == 0)
                first[n] = {int(i), int(k)};
            if (e.kind == QLatin1Char('P'))
                uses[n] = std::max(uses[n], 2);
        }
    }
    std::optional<NetlistError> problem;
    for (size_t n = 0; n < uses.size(); ++n) {
        if (uses[n] != 1)
            continue;
        const Element &e = m_net.elements[size_t(first[n].first)];
        const QString what = QStringLiteral("node '%1' of %2 connects to nothing else: every node "
                                            "needs a second element or a port")
                                 .arg(m_net.nodes[qsizetype(n)], e.name);
        m_net.notes.append(QStringLiteral("Node %1 of %2 connects to nothing else.")
                               .arg(m_net.nodes[qsizetype(n)], e.name));
        if (!problem)
            problem = NetlistError{e.nodeAt[size_t(first[n].second)], what};
    }
    for (int p = 0; p < 2; ++p) {
        if (m_net.ports[size_t(p)] >= 0)
            continue;
        m_net.notes.append(
            QStringLiteral("Port %1 is missing: no set can be computed.").arg(p + 1));
        if (!problem)
            problem = NetlistError{{endLine, 1},
                                   QStringLiteral("missing port P%1: expected a line 'P%1 a b' "
                                                  "naming its two terminals")
                                       .arg(p + 1)};
    }
    m_result.error = problem;
    return !problem;
}
} // namespace

ReadResult readNetlist(const QString &text)
{
    ReadResult result;
    Reader reader(result);
    int number = 0;
    int lastWritten = 0;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        QStringView line = QStringView(text).mid(start, end - start);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (++number > maxLines) {
            result.error = NetlistError{{number, 1},
                                        QStringLiteral("too many lines: at most %1").arg(maxLines)};
            return result;
        }
        if (!line.trimmed().isEmpty()) {
            if (line.trimmed().compare(QLatin1String(".end"), Qt::CaseInsensitive) == 0)
                break;
            lastWritten = number;
            if (!reader.line(number, line))
                return result;
        }
        start = end + 1;
    }
    reader.finish(lastWritten + 1);
    return result;
}

QString writeElementLine(const ElementInfo &element)
{
    QStringList words{element.name};
    words += element.nodes;
    if (!element.control.isEmpty())
        words.append(element.control);
    if (!element.valueText.isEmpty()) {
        ValueError ignored;
        const auto value = readValue(element.valueText, &ignored);
        words.append(value && element.kind != QLatin1Char('V') ? canonicalValue(*value)
                                                               : element.valueText);
    }
    return words.join(QLatin1Char(' '));
}

} // namespace kvadra::circuit
