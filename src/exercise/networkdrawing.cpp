#include "exercise/networkdrawing.h"

#include "exercise/networklayout.h"

#include <QMap>
#include <QSet>

#include <algorithm>
#include <optional>

namespace kvadra
{

namespace
{
quint64 key(QPoint p)
{
    return (quint64(quint32(p.x())) << 32) | quint32(p.y());
}

// On the closed segment from a to b.
bool onSegment(QPoint p, QPoint a, QPoint b)
{
    const qint64 cross =
        qint64(b.x() - a.x()) * (p.y() - a.y()) - qint64(b.y() - a.y()) * (p.x() - a.x());
    if (cross != 0)
        return false;
    return p.x() >= std::min(a.x(), b.x()) && p.x() <= std::max(a.x(), b.x()) &&
           p.y() >= std::min(a.y(), b.y()) && p.y() <= std::max(a.y(), b.y());
}

struct Joins {
    explicit Joins(int n) : parent(n)
    {
        for (int i = 0; i < n; ++i)
            parent[i] = i;
    }
    int find(int i)
    {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    }
    void join(int a, int b)
    {
        a = find(a);
        b = find(b);
        // The smaller id leads, so a group is known by its first terminal.
        if (a != b)
            parent[std::max(a, b)] = std::min(a, b);
    }
    QList<int> parent;
};

// Terminals are numbered element by element, then come the wires.
struct Graph {
    QList<int> first; // each element's first terminal
    int terminals = 0;
    Joins joins{0};
    int terminal(int element, int t) const { return first[element] + t; }
};

Graph connect(const Drawing &d, bool withAirwires)
{
    Graph g;
    for (const DrawnElement &e : d.elements) {
        g.first.append(g.terminals);
        g.terminals += terminalCount(e.kind);
    }
    g.joins = Joins(g.terminals + int(d.wires.size()));
    QHash<quint64, QList<int>> at;
    QList<QPoint> points;
    auto add = [&](QPoint p, int id) {
        auto it = at.find(key(p));
        if (it == at.end()) {
            it = at.insert(key(p), {});
            points.append(p);
        }
        it->append(id);
    };
    for (int e = 0; e < d.elements.size(); ++e)
        for (int t = 0; t < terminalCount(d.elements[e].kind); ++t)
            add(terminalPoint(d.elements[e], t), g.terminal(e, t));
    for (int w = 0; w < d.wires.size(); ++w)
        for (const QPoint &p : d.wires[w].points)
            add(p, g.terminals + w);
    for (const QList<int> &ids : std::as_const(at))
        for (int id : ids)
            g.joins.join(ids.first(), id);
    for (int w = 0; w < d.wires.size(); ++w) {
        const QList<QPoint> &ps = d.wires[w].points;
        for (int s = 0; s + 1 < ps.size(); ++s)
            for (const QPoint &p : std::as_const(points))
                if (onSegment(p, ps[s], ps[s + 1]))
                    g.joins.join(g.terminals + w, at.value(key(p)).first());
    }
    if (withAirwires)
        for (const Airwire &a : d.airwires)
            if (a.from < g.first.size() && a.to < g.first.size())
                g.joins.join(g.terminal(a.from, a.fromTerminal), g.terminal(a.to, a.toTerminal));
    return g;
}

QString nodeKey(const DrawnElement &e, int t)
{
    return e.nodes.value(t).toLower();
}

// Groups of drawn connection whose terminals the text names differently; the first such group's
// terminals that are not of its commonest name, or nothing.
QList<std::pair<int, int>> detachedTerminals(const Drawing &d)
{
    Graph g = connect(d, false);
    QMap<int, QList<std::pair<int, int>>> groups;
    for (int e = 0; e < d.elements.size(); ++e)
        for (int t = 0; t < terminalCount(d.elements[e].kind); ++t)
            if (!nodeKey(d.elements[e], t).isEmpty())
                groups[g.joins.find(g.terminal(e, t))].append({e, t});
    for (const auto &members : std::as_const(groups)) {
        QMap<QString, int> counts;
        for (const auto &[e, t] : members)
            ++counts[nodeKey(d.elements[e], t)];
        if (counts.size() < 2)
            continue;
        QString commonest;
        int most = 0;
        for (const auto &[e, t] : members) {
            const QString k = nodeKey(d.elements[e], t);
            if (counts[k] > most) {
                most = counts[k];
                commonest = k;
            }
        }
        QList<std::pair<int, int>> out;
        for (const auto &[e, t] : members)
            if (nodeKey(d.elements[e], t) != commonest)
                out.append({e, t});
        return out;
    }
    return {};
}

bool touches(const NetWire &w, QPoint p)
{
    for (int s = 0; s + 1 < w.points.size(); ++s)
        if (onSegment(p, w.points[s], w.points[s + 1]))
            return true;
    return false;
}

QList<Airwire> airwiresOf(const Drawing &d)
{
    Graph g = connect(d, false);
    // Terminals by node name, in the order the names first appear.
    QStringList order;
    QHash<QString, QList<std::pair<int, int>>> byName;
    for (int e = 0; e < d.elements.size(); ++e)
        for (int t = 0; t < terminalCount(d.elements[e].kind); ++t) {
            const QString k = nodeKey(d.elements[e], t);
            if (k.isEmpty())
                continue;
            if (!byName.contains(k))
                order.append(k);
            byName[k].append({e, t});
        }
    QList<Airwire> out;
    for (const QString &name : std::as_const(order)) {
        const auto &members = byName[name];
        QSet<int> joined{g.joins.find(g.terminal(members[0].first, members[0].second))};
        QSet<int> all;
        for (const auto &[e, t] : members)
            all.insert(g.joins.find(g.terminal(e, t)));
        // Nearest pairs first, so the dashed lines stay short; ties go by order.
        while (joined.size() < all.size()) {
            std::optional<Airwire> best;
            int bestDistance = 0;
            for (const auto &[e1, t1] : members) {
                if (!joined.contains(g.joins.find(g.terminal(e1, t1))))
                    continue;
                for (const auto &[e2, t2] : members) {
                    if (joined.contains(g.joins.find(g.terminal(e2, t2))))
                        continue;
                    const int distance =
                        (terminalPoint(d.elements[e1], t1) - terminalPoint(d.elements[e2], t2))
                            .manhattanLength();
                    if (!best || distance < bestDistance) {
                        best = Airwire{e1, t1, e2, t2};
                        bestDistance = distance;
                    }
                }
            }
            out.append(*best);
            joined.insert(g.joins.find(g.terminal(best->to, best->toTerminal)));
        }
    }
    return out;
}

// Pointwise degree: how many wire ends, wire passages (two each) and terminals meet there.
QHash<quint64, int> degrees(const Drawing &d, QList<QPoint> *points)
{
    QHash<quint64, int> degree;
    auto add = [&](QPoint p, int n) {
        if (!degree.contains(key(p)))
            points->append(p);
        degree[key(p)] += n;
    };
    for (const DrawnElement &e : d.elements)
        for (int t = 0; t < terminalCount(e.kind); ++t)
            add(terminalPoint(e, t), 1);
    for (const NetWire &w : d.wires)
        for (int k = 0; k < w.points.size(); ++k)
            add(w.points[k], k == 0 || k + 1 == w.points.size() ? 1 : 2);
    const QList<QPoint> known = *points;
    for (const NetWire &w : d.wires)
        for (int s = 0; s + 1 < w.points.size(); ++s)
            for (const QPoint &p : known)
                if (p != w.points[s] && p != w.points[s + 1] &&
                    onSegment(p, w.points[s], w.points[s + 1]))
                    degree[key(p)] += 2;
    return degree;
}
} // namespace

QPoint rotated(QPoint p, int rotation)
{
    switch (((rotation % 360) + 360) % 360) {
    case 90:
        return {-p.y(), p.x()};
    case 180:
        return {-p.x(), -p.y()};
    case 270:
        return {p.y(), -p.x()};
    default:
        return p;
    }
}

QPoint terminalOffset(QChar kind, int terminal, int rotation)
{
    static const QPoint two[2] = {{-2, 0}, {2, 0}};
    static const QPoint four[4] = {{-2, -2}, {2, -2}, {-2, 2}, {2, 2}};
    const QPoint p = terminalCount(kind) == 4 ? four[terminal & 3] : two[terminal & 1];
    return rotated(p, rotation);
}

QPoint terminalPoint(const DrawnElement &element, int terminal)
{
    return element.place.at + terminalOffset(element.kind, terminal, element.place.rotation);
}

Placement placementBetween(QChar kind, QPoint a, QPoint b)
{
    const QPoint d = b - a;
    const int rotation = d.x() > 0 ? 0 : d.y() > 0 ? 90 : d.x() < 0 ? 180 : 270;
    return {a - terminalOffset(kind, 0, rotation), rotation};
}

Drawing drawingOf(const NetlistText &net)
{
    Drawing d;
    QList<bool> placed;
    for (const NetElement &e : net.elements) {
        DrawnElement drawn{e.kind, e.name, e.control, e.value, e.nodes, {}, e.line};
        const auto it = net.placements.constFind(e.name.toLower());
        placed.append(it != net.placements.constEnd());
        if (placed.last())
            drawn.place = *it;
        d.elements.append(drawn);
    }
    d.wires = net.wires;
    if (!placed.contains(true) && !d.elements.isEmpty()) {
        const Layout layout = layOut(d);
        for (auto it = layout.places.constBegin(); it != layout.places.constEnd(); ++it) {
            d.elements[it.key()].place = it.value();
            placed[it.key()] = true;
        }
        d.wires += layout.wires;
        // A node of one terminal needs no wire: a stub to nowhere would read as a loose end.
        for (bool pruned = true; pruned;) {
            pruned = false;
            const QList<QPoint> loose = looseEndsOf(d);
            for (qsizetype w = d.wires.size() - 1; w >= net.wires.size(); --w)
                if (loose.contains(d.wires[w].points.first()) ||
                    loose.contains(d.wires[w].points.last())) {
                    d.wires.removeAt(w);
                    pruned = true;
                }
        }
    }
    // The text decides what is joined: wires that join what it keeps apart go, and where no
    // wire can be blamed the later element steps aside.
    for (int round = 0; round <= d.wires.size() + d.elements.size(); ++round) {
        placeAside(d, placed);
        const QList<std::pair<int, int>> detached = detachedTerminals(d);
        if (detached.isEmpty())
            break;
        const qsizetype before = d.wires.size();
        for (const auto &[e, t] : detached) {
            const QPoint p = terminalPoint(d.elements[e], t);
            d.wires.erase(std::remove_if(d.wires.begin(), d.wires.end(),
                                         [p](const NetWire &w) { return touches(w, p); }),
                          d.wires.end());
        }
        if (d.wires.size() == before)
            placed[detached.last().first] = false;
    }
    d.airwires = airwiresOf(d);
    return d;
}

QList<QStringList> nodeNamesOf(const Drawing &d)
{
    Graph g = connect(d, true);
    struct Group {
        int root;
        QMap<QString, int> counts; // lower-case name -> terminals
        QHash<QString, QString> spelling;
        QString name;
    };
    QList<Group> groups;
    QHash<int, int> groupOf;
    QSet<QString> usedAnywhere;
    for (int e = 0; e < d.elements.size(); ++e)
        for (int t = 0; t < terminalCount(d.elements[e].kind); ++t) {
            const int root = g.joins.find(g.terminal(e, t));
            if (!groupOf.contains(root)) {
                groupOf.insert(root, int(groups.size()));
                groups.append({root, {}, {}, {}});
            }
            const QString old = d.elements[e].nodes.value(t);
            if (old.isEmpty())
                continue;
            Group &group = groups[groupOf[root]];
            ++group.counts[old.toLower()];
            if (!group.spelling.contains(old.toLower()))
                group.spelling.insert(old.toLower(), old);
            usedAnywhere.insert(old.toLower());
        }
    // Each group's favourite: the ground, else its commonest name (ties: the one met first,
    // which QMap's order does not give, so count in terminal order).
    auto favourite = [&](const Group &group) -> QString {
        if (group.counts.contains(QStringLiteral("0")))
            return QStringLiteral("0");
        QString best;
        for (auto it = group.counts.constBegin(); it != group.counts.constEnd(); ++it)
            if (best.isEmpty() || it.value() > group.counts[best])
                best = it.key();
        return best;
    };
    // A name two groups want goes to the one with more terminals of it, then the earlier.
    QHash<QString, int> winner;
    for (int i = 0; i < groups.size(); ++i) {
        const QString want = favourite(groups[i]);
        if (want.isEmpty())
            continue;
        const auto it = winner.constFind(want);
        if (it == winner.constEnd() || groups[*it].counts[want] < groups[i].counts[want])
            winner.insert(want, i);
    }
    for (auto it = winner.constBegin(); it != winner.constEnd(); ++it)
        groups[it.value()].name = groups[it.value()].spelling.value(it.key(), it.key());
    int next = 1;
    for (Group &group : groups) {
        if (!group.name.isEmpty())
            continue;
        while (usedAnywhere.contains(QString::number(next)))
            ++next;
        group.name = QString::number(next);
        usedAnywhere.insert(group.name);
    }
    QList<QStringList> names;
    for (int e = 0; e < d.elements.size(); ++e) {
        QStringList own;
        for (int t = 0; t < terminalCount(d.elements[e].kind); ++t)
            own.append(groups[groupOf[g.joins.find(g.terminal(e, t))]].name);
        names.append(own);
    }
    return names;
}

bool wiresAgreeWithText(const Drawing &drawing)
{
    return detachedTerminals(drawing).isEmpty();
}
QList<QPoint> junctionsOf(const Drawing &d)
{
    QList<QPoint> points;
    const QHash<quint64, int> degree = degrees(d, &points);
    QList<QPoint> out;
    for (const QPoint &p : std::as_const(points))
        if (degree.value(key(p)) >= 3)
            out.append(p);
    return out;
}

QList<QPoint> looseEndsOf(const Drawing &d)
{
    QList<QPoint> points;
    const QHash<quint64, int> degree = degrees(d, &points);
    QList<QPoint> out;
    for (const NetWire &w : d.wires)
        for (const QPoint &p : {w.points.first(), w.points.last()})
            if (degree.value(key(p)) == 1 && !out.contains(p))
                out.append(p);
    return out;
}

} // namespace kvadra
