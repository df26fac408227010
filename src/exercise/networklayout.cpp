#include "exercise/networklayout.h"

#include <QMap>
#include <QSet>

#include <algorithm>
#include <climits>
#include <optional>

namespace kvadra
{

namespace
{
// Grid figures of the ladder: the top line, the bottom line, and what lies between.
constexpr int top = 0, bottom = 8, gap = 6, shuntStep = 4, levelStep = 4;

QString key(const DrawnElement &e, int t)
{
    return e.nodes.value(t).toLower();
}

bool twoEnded(const DrawnElement &e)
{
    return e.nodes.size() >= 2 && !key(e, 0).isEmpty() && !key(e, 1).isEmpty();
}

struct Ladder {
    const Drawing &d;
    Layout out;
    int cursor = 0;

    void place(int element, QPoint a, QPoint b)
    {
        out.places.insert(element, placementBetween(d.elements[element].kind, a, b));
    }
    void wire(std::initializer_list<QPoint> points)
    {
        NetWire w;
        for (const QPoint &p : points)
            if (w.points.isEmpty() || w.points.last() != p)
                w.points.append(p);
        if (w.points.size() >= 2)
            out.wires.append(w);
    }
    void part(const QList<int> &elements);
};

// The node of the part where its ports' bottom terminals meet, else a port's bottom terminal,
// else the ground, else the node most elements touch.
QString railOf(const Drawing &d, const QList<int> &elements)
{
    QStringList portBottoms;
    QMap<QString, int> uses;
    QStringList order;
    for (int i : elements) {
        const DrawnElement &e = d.elements[i];
        if (e.kind == QLatin1Char('P'))
            portBottoms.append(key(e, 1));
        for (int t = 0; t < 2; ++t) {
            if (!uses.contains(key(e, t)))
                order.append(key(e, t));
            ++uses[key(e, t)];
        }
    }
    if (portBottoms.size() == 2 && portBottoms[0] == portBottoms[1])
        return portBottoms[0];
    if (!portBottoms.isEmpty())
        return portBottoms[0];
    if (uses.contains(QStringLiteral("0")))
        return QStringLiteral("0");
    QString best = order.value(0);
    for (const QString &n : std::as_const(order))
        if (uses[n] > uses[best])
            best = n;
    return best;
}

void Ladder::part(const QList<int> &elements)
{
    const QString rail = railOf(d, elements);
    const qsizetype firstWire = out.wires.size();
    // The top nodes, from port 1's top terminal along the series elements; port 2's last.
    QString start, end;
    QStringList seen;
    for (int i : elements) {
        const DrawnElement &e = d.elements[i];
        for (int t = 0; t < 2; ++t)
            if (key(e, t) != rail && !seen.contains(key(e, t)))
                seen.append(key(e, t));
        if (e.kind == QLatin1Char('P') && key(e, 0) != rail) {
            if (e.name.compare(QLatin1String("P1"), Qt::CaseInsensitive) == 0)
                start = key(e, 0);
            else
                end = key(e, 0);
        }
    }
    if (seen.isEmpty())
        return;
    if (start.isEmpty())
        start = seen.first();
    QStringList tops{start};
    for (int next = 0; tops.size() < seen.size(); ++next) {
        if (next >= tops.size()) {
            for (const QString &n : std::as_const(seen))
                if (!tops.contains(n)) {
                    tops.append(n);
                    break;
                }
        }
        for (int i : elements) {
            const DrawnElement &e = d.elements[i];
            for (int t = 0; t < 2; ++t)
                if (key(e, t) == tops[next] && key(e, 1 - t) != rail &&
                    !tops.contains(key(e, 1 - t)))
                    tops.append(key(e, 1 - t));
        }
    }
    if (!end.isEmpty() && end != start) {
        tops.removeAll(end);
        tops.append(end);
    }

    // Shunts hang from their node, spaced along its stretch of the top line.
    QList<int> shunts, series, leftPorts, rightPorts;
    for (int i : elements) {
        const DrawnElement &e = d.elements[i];
        const bool aRail = key(e, 0) == rail, bRail = key(e, 1) == rail;
        if (key(e, 0) == key(e, 1))
            continue;
        if (e.kind == QLatin1Char('P') && (aRail || bRail)) {
            const QString node = aRail ? key(e, 1) : key(e, 0);
            (node == start &&
                     !(node == end && e.name.compare(QLatin1String("P2"), Qt::CaseInsensitive) == 0)
                 ? leftPorts
                 : rightPorts)
                .append(i);
        } else if (aRail || bRail) {
            shunts.append(i);
        } else {
            series.append(i);
        }
    }
    QHash<QString, int> x0, x1, column;
    int x = cursor + (leftPorts.isEmpty() ? 0 : gap * int(leftPorts.size()));
    for (int c = 0; c < tops.size(); ++c) {
        const QString &n = tops[c];
        column.insert(n, c);
        bool first = true;
        for (int i : std::as_const(shunts)) {
            const DrawnElement &e = d.elements[i];
            const int t = key(e, 0) == rail ? 1 : 0;
            if (key(e, t) != n)
                continue;
            // E and G keep their control pair on the left: room for it.
            if (terminalCount(e.kind) == 4)
                x += shuntStep;
            if (first)
                x0.insert(n, x);
            else
                x1.insert(n, x);
            const QPoint upper(x, top + 2), lower(x, bottom - 2);
            if (t == 0)
                place(i, upper, lower);
            else
                place(i, lower, upper);
            wire({QPoint(x, top), upper});
            wire({lower, QPoint(x, bottom)});
            first = false;
            x += shuntStep;
        }
        if (first) {
            x0.insert(n, x);
            x += shuntStep;
        }
        if (!x1.contains(n))
            x1.insert(n, x0[n]);
        if (x1[n] > x0[n])
            wire({QPoint(x0[n], top), QPoint(x1[n], top)});
        x = x1[n] + gap;
    }
    QList<int> railPoints;
    for (qsizetype w = firstWire; w < out.wires.size(); ++w)
        if (out.wires[w].points.last().y() == bottom)
            railPoints.append(out.wires[w].points.last().x());

    // Ports at the sides: port 1 left of the first node, port 2 right of the last.
    auto sidePort = [&](int i, int px, int nodeX) {
        const DrawnElement &e = d.elements[i];
        const bool aTop = key(e, 0) != rail;
        const QPoint upper(px, top + 2), lower(px, bottom - 2);
        if (aTop)
            place(i, upper, lower);
        else
            place(i, lower, upper);
        wire({upper, QPoint(px, top), QPoint(nodeX, top)});
        wire({lower, QPoint(px, bottom)});
        railPoints.append(px);
    };
    for (int k = 0; k < leftPorts.size(); ++k)
        sidePort(leftPorts[k], x0[tops.first()] - gap * (k + 1), x0[tops.first()]);
    for (int k = 0; k < rightPorts.size(); ++k) {
        const DrawnElement &e = d.elements[rightPorts[k]];
        const QString node = key(e, 0) == rail ? key(e, 1) : key(e, 0);
        sidePort(rightPorts[k], x1[tops.last()] + gap * (k + 1), x1[node]);
    }
    if (railPoints.size() >= 2) {
        const auto [lo, hi] = std::minmax_element(railPoints.begin(), railPoints.end());
        if (*hi > *lo)
            wire({QPoint(*lo, bottom), QPoint(*hi, bottom)});
    }

    // Series elements: on the top line between neighbours, else on the lowest free level above.
    QMap<int, QList<std::pair<int, int>>> levels; // level -> spans taken
    for (int i : std::as_const(series)) {
        const DrawnElement &e = d.elements[i];
        const bool forward = column[key(e, 0)] < column[key(e, 1)];
        const QString left = forward ? key(e, 0) : key(e, 1);
        const QString right = forward ? key(e, 1) : key(e, 0);
        const int from = x1[left], to = x0[right];
        const bool neighbours = column[right] == column[left] + 1;
        int level = neighbours ? 0 : 1;
        auto overlaps = [&](int l) {
            for (const auto &[a, b] : levels.value(l))
                if (from < b && a < to)
                    return true;
            return false;
        };
        while (overlaps(level))
            ++level;
        levels[level].append({from, to});
        const int y = top - levelStep * level;
        const int centre = (from + to) / 2;
        const QPoint l(centre - 2, y), r(centre + 2, y);
        if (forward)
            place(i, l, r);
        else
            place(i, r, l);
        wire({QPoint(from, top), QPoint(from, y), l});
        wire({r, QPoint(to, y), QPoint(to, top)});
    }
    int right = x;
    for (const NetWire &w : std::as_const(out.wires))
        for (const QPoint &p : w.points)
            right = std::max(right, p.x());
    cursor = right + gap + shuntStep;
}

// Every node on its own horizontal line, every element standing between its two lines in a
// column of its own. Lines lie 6 apart, so no terminal ever lands on another node's line.
Layout tracks(const Drawing &d)
{
    Layout out;
    QStringList rows;
    for (const DrawnElement &e : d.elements)
        for (int t = 0; t < 2 && t < e.nodes.size(); ++t)
            if (!rows.contains(key(e, t)))
                rows.append(key(e, t));
    QHash<QString, QList<int>> attached;
    for (int i = 0; i < d.elements.size(); ++i) {
        const DrawnElement &e = d.elements[i];
        if (!twoEnded(e) || key(e, 0) == key(e, 1))
            continue;
        const int x = 6 * (i + 1);
        const int ya = 6 * int(rows.indexOf(key(e, 0))), yb = 6 * int(rows.indexOf(key(e, 1)));
        const int centre = (ya + yb) / 2;
        const int sign = yb > ya ? 1 : -1;
        const QPoint a(x, centre - 2 * sign), b(x, centre + 2 * sign);
        out.places.insert(i, placementBetween(e.kind, a, b));
        out.wires.append({{QPoint(x, ya), a}});
        out.wires.append({{b, QPoint(x, yb)}});
        attached[key(e, 0)].append(x);
        attached[key(e, 1)].append(x);
    }
    for (int r = 0; r < rows.size(); ++r) {
        const QList<int> xs = attached.value(rows[r]);
        if (xs.size() < 2)
            continue;
        const auto [lo, hi] = std::minmax_element(xs.begin(), xs.end());
        out.wires.append({{QPoint(*lo, 6 * r), QPoint(*hi, 6 * r)}});
    }
    return out;
}

// The elements of each conductively separate part, the part with port 1 first. E's and G's
// control pairs and F's and H's sense sources join no parts.
QList<QList<int>> partsOf(const Drawing &d)
{
    QHash<QString, QString> parent;
    auto find = [&](QString n) {
        while (parent.value(n, n) != n)
            n = parent.value(n);
        return n;
    };
    for (const DrawnElement &e : d.elements)
        if (twoEnded(e)) {
            const QString a = find(key(e, 0)), b = find(key(e, 1));
            if (a != b)
                parent.insert(b, a);
        }
    QStringList order;
    QHash<QString, QList<int>> parts;
    for (int i = 0; i < d.elements.size(); ++i) {
        const DrawnElement &e = d.elements[i];
        if (!twoEnded(e))
            continue;
        const QString root = find(key(e, 0));
        if (!parts.contains(root))
            order.append(root);
        parts[root].append(i);
    }
    for (int i = 0; i < d.elements.size(); ++i)
        if (d.elements[i].name.compare(QLatin1String("P1"), Qt::CaseInsensitive) == 0 &&
            twoEnded(d.elements[i])) {
            const QString root = find(key(d.elements[i], 0));
            order.removeAll(root);
            order.prepend(root);
        }
    QList<QList<int>> out;
    for (const QString &root : std::as_const(order))
        out.append(parts[root]);
    return out;
}

bool agrees(const Drawing &d, const Layout &layout)
{
    Drawing trial = d;
    trial.wires = layout.wires;
    trial.airwires.clear();
    for (int i = 0; i < trial.elements.size(); ++i)
        if (layout.places.contains(i))
            trial.elements[i].place = layout.places[i];
        else
            // Far away from everything, and from each other.
            trial.elements[i].place = {{-1000 - 10 * i, -1000}, 0};
    return wiresAgreeWithText(trial);
}
// Joins wires that meet end to end where nothing else is, and drops the corners that are none,
// so the text holds as few layout lines as the drawing needs.
QList<NetWire> joined(QList<NetWire> wires, const Drawing &d, const Layout &layout)
{
    QList<QPoint> terminals;
    for (auto it = layout.places.constBegin(); it != layout.places.constEnd(); ++it) {
        DrawnElement e = d.elements[it.key()];
        e.place = it.value();
        for (int t = 0; t < terminalCount(e.kind); ++t)
            terminals.append(terminalPoint(e, t));
    }
    auto meets = [&](QPoint p) {
        int n = 0;
        for (const NetWire &w : std::as_const(wires))
            for (int k = 0; k < w.points.size(); ++k)
                if (w.points[k] == p)
                    n += k == 0 || k + 1 == w.points.size() ? 1 : 2;
        for (const NetWire &w : std::as_const(wires))
            for (int s = 0; s + 1 < w.points.size(); ++s) {
                const QPoint a = w.points[s], b = w.points[s + 1];
                if (p != a && p != b &&
                    (p.x() - a.x()) * (b.y() - a.y()) == (p.y() - a.y()) * (b.x() - a.x()) &&
                    p.x() >= std::min(a.x(), b.x()) && p.x() <= std::max(a.x(), b.x()) &&
                    p.y() >= std::min(a.y(), b.y()) && p.y() <= std::max(a.y(), b.y()))
                    n += 2;
            }
        return n;
    };
    for (bool again = true; again;) {
        again = false;
        for (int i = 0; i < wires.size() && !again; ++i)
            for (int j = i + 1; j < wires.size() && !again; ++j) {
                NetWire a = wires[i], b = wires[j];
                if (a.points.last() != b.points.first()) {
                    if (a.points.first() == b.points.first())
                        std::reverse(a.points.begin(), a.points.end());
                    else if (a.points.last() == b.points.last())
                        std::reverse(b.points.begin(), b.points.end());
                    else if (a.points.first() == b.points.last())
                        std::swap(a, b);
                    else
                        continue;
                }
                const QPoint p = a.points.last();
                if (terminals.contains(p) || meets(p) != 2)
                    continue;
                a.points += b.points.mid(1);
                wires[i] = a;
                wires.removeAt(j);
                again = true;
            }
    }
    for (NetWire &w : wires)
        for (int k = int(w.points.size()) - 2; k >= 1; --k) {
            const QPoint u = w.points[k] - w.points[k - 1], v = w.points[k + 1] - w.points[k];
            if (u.x() * v.y() == u.y() * v.x() && u.x() * v.x() + u.y() * v.y() > 0)
                w.points.removeAt(k);
        }
    return wires;
}
} // namespace

Layout layOut(const Drawing &d)
{
    Ladder ladder{d, {}};
    for (const QList<int> &part : partsOf(d))
        ladder.part(part);
    Layout out = agrees(d, ladder.out) ? ladder.out : tracks(d);
    out.wires = joined(out.wires, d, out);
    return out;
}

void placeAside(Drawing &d, const QList<bool> &placed)
{
    int right = INT_MIN, upper = INT_MAX, lower = INT_MIN;
    auto take = [&](QPoint p) {
        right = std::max(right, p.x());
        upper = std::min(upper, p.y());
        lower = std::max(lower, p.y());
    };
    for (int i = 0; i < d.elements.size(); ++i)
        if (placed.value(i))
            for (int t = 0; t < terminalCount(d.elements[i].kind); ++t)
                take(terminalPoint(d.elements[i], t));
    for (const NetWire &w : std::as_const(d.wires))
        for (const QPoint &p : w.points)
            take(p);
    const bool empty = right == INT_MIN;
    int x = empty ? 0 : right + 8;
    const int y = empty ? 4 : (upper + lower) / 4 * 2;
    for (int i = 0; i < d.elements.size(); ++i) {
        if (placed.value(i))
            continue;
        d.elements[i].place = {{x, y}, 90};
        x += 6;
    }
}

} // namespace kvadra
