#include "exercise/networkview.h"

#include "exercise/networkitems.h"

#include <QFocusEvent>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSet>

#include <cmath>

using namespace kvadra::networkitems;

namespace kvadra
{

namespace
{
// Removes elements and what points at them; airwires are by element index.
void removeElements(Drawing &d, const QSet<int> &gone)
{
    QList<int> newIndex;
    QList<DrawnElement> kept;
    for (int i = 0; i < d.elements.size(); ++i) {
        newIndex.append(gone.contains(i) ? -1 : int(kept.size()));
        if (!gone.contains(i))
            kept.append(d.elements[i]);
    }
    d.elements = kept;
    QList<Airwire> airwires;
    for (Airwire a : std::as_const(d.airwires)) {
        if (newIndex[a.from] < 0 || newIndex[a.to] < 0)
            continue;
        a.from = newIndex[a.from];
        a.to = newIndex[a.to];
        airwires.append(a);
    }
    d.airwires = airwires;
}

bool onWire(const NetWire &w, QPoint p)
{
    for (int s = 0; s + 1 < w.points.size(); ++s) {
        const QPoint a = w.points[s], b = w.points[s + 1];
        if ((b.x() - a.x()) * (p.y() - a.y()) == (b.y() - a.y()) * (p.x() - a.x()) &&
            p.x() >= std::min(a.x(), b.x()) && p.x() <= std::max(a.x(), b.x()) &&
            p.y() >= std::min(a.y(), b.y()) && p.y() <= std::max(a.y(), b.y()))
            return true;
    }
    return false;
}
} // namespace

void NetworkView::edit(const Drawing &drawing, const QString &what)
{
    emit edited(drawing, what);
}

void NetworkView::placeAt(QChar kind, QPoint at)
{
    kind = kind.toUpper();
    Drawing d = m_drawing;
    DrawnElement e;
    e.kind = kind;
    if (kind == QLatin1Char('1') || kind == QLatin1Char('2')) {
        e.kind = QLatin1Char('P');
        e.name = QLatin1Char('P') + kind;
        for (const DrawnElement &other : std::as_const(d.elements))
            if (other.name.compare(e.name, Qt::CaseInsensitive) == 0) {
                selectNames({other.name});
                emit status(QStringLiteral("Port %1 is already drawn: it is selected.").arg(kind));
                return;
            }
    } else {
        e.name = freeName(d, kind);
    }
    if (e.name.isEmpty()) {
        emit status(QStringLiteral("Both ports are already drawn."));
        return;
    }
    if (e.kind == QLatin1Char('F') || e.kind == QLatin1Char('H')) {
        for (const DrawnElement &other : std::as_const(d.elements))
            if (other.kind == QLatin1Char('V') && e.control.isEmpty())
                e.control = other.name;
        if (e.control.isEmpty())
            e.control = freeName(d, QLatin1Char('V'));
    }
    // Sources and ports stand upright, plus on top; resistors and sensors lie in a line.
    const bool upright = e.kind != QLatin1Char('R') && e.kind != QLatin1Char('V');
    e.place = {at, upright ? 90 : 0};
    d.elements.append(e);
    scene()->clearSelection();
    m_cursor = at;
    edit(d, QStringLiteral("Place %1").arg(e.name));
    selectNames({e.name});
}

void NetworkView::rotateSelection(int degrees)
{
    const QList<int> selected = selectedElements();
    if (selected.isEmpty()) {
        emit status(QStringLiteral("Select an element to turn it."));
        return;
    }
    Drawing d = m_drawing;
    for (int e : selected) {
        DrawnElement &element = d.elements[e];
        QList<QPoint> before;
        for (int t = 0; t < terminalCount(element.kind); ++t)
            before.append(terminalPoint(element, t));
        element.place.rotation = ((element.place.rotation + degrees) % 360 + 360) % 360;
        // The wires that ended at a terminal follow it.
        for (NetWire &w : d.wires)
            for (QPoint &p : w.points)
                if (const int t = int(before.indexOf(p)); t >= 0)
                    p = terminalPoint(element, t);
    }
    const QStringList names = selectedNames();
    edit(d, QStringLiteral("Turn %1").arg(names.join(QStringLiteral(", "))));
    selectNames(names);
}

void NetworkView::deleteSelection()
{
    const QList<int> elements = selectedElements();
    const QList<int> wires = selectedWires();
    if (elements.isEmpty() && wires.isEmpty()) {
        emit status(QStringLiteral("Nothing is selected."));
        return;
    }
    Drawing d = m_drawing;
    for (int k = int(wires.size()) - 1; k >= 0; --k)
        d.wires.removeAt(wires[k]);
    QStringList names;
    for (int e : elements)
        names.append(d.elements[e].name);
    removeElements(d, QSet<int>(elements.begin(), elements.end()));
    edit(d, names.isEmpty() ? QStringLiteral("Delete wire")
                            : QStringLiteral("Delete %1").arg(names.join(QStringLiteral(", "))));
}

void NetworkView::moveSelection(QPoint by)
{
    const QList<int> elements = selectedElements();
    const QList<int> wires = selectedWires();
    if ((elements.isEmpty() && wires.isEmpty()) || by.isNull())
        return;
    Drawing d = m_drawing;
    QList<QPoint> before;
    for (int e : elements)
        for (int t = 0; t < terminalCount(d.elements[e].kind); ++t)
            before.append(terminalPoint(d.elements[e], t));
    for (int e : elements)
        d.elements[e].place.at += by;
    for (int w = 0; w < d.wires.size(); ++w)
        for (QPoint &p : d.wires[w].points)
            if (wires.contains(w) || before.contains(p))
                p += by;
    const QStringList names = selectedNames();
    m_cursor += by;
    edit(d, names.isEmpty() ? QStringLiteral("Move wire")
                            : QStringLiteral("Move %1").arg(names.join(QStringLiteral(", "))));
    selectNames(names);
}

void NetworkView::addWire(const QList<QPoint> &points)
{
    NetWire w;
    for (const QPoint &p : points)
        if (w.points.isEmpty() || w.points.last() != p)
            w.points.append(p);
    if (w.points.size() < 2)
        return;
    Drawing d = m_drawing;
    d.wires.append(w);
    edit(d, QStringLiteral("Draw wire"));
}

QList<QPoint> NetworkView::wirePath(QPoint from, QPoint to) const
{
    // Across first, then up or down: the corner a hand would draw.
    if (from.x() == to.x() || from.y() == to.y())
        return {from, to};
    return {from, QPoint(to.x(), from.y()), to};
}

void NetworkView::finishWire(QPoint end)
{
    const QPoint start = *m_wireStart;
    m_wireStart.reset();
    emit status(QString());
    viewport()->update();
    addWire(wirePath(start, end));
}

int NetworkView::elementAt(QPoint p) const
{
    for (int e = 0; e < m_drawing.elements.size(); ++e) {
        const DrawnElement &element = m_drawing.elements[e];
        if (element.place.at == p)
            return e;
        const QPoint a = terminalPoint(element, 0), b = terminalPoint(element, 1);
        if (onWire(NetWire{{a, b}}, p))
            return e;
    }
    return -1;
}

int NetworkView::wireAt(QPoint p) const
{
    for (int w = 0; w < m_drawing.wires.size(); ++w)
        if (onWire(m_drawing.wires[w], p))
            return w;
    return -1;
}

void NetworkView::selectNext(bool forward)
{
    const int count = int(m_drawing.elements.size());
    const QList<int> selected = selectedElements();
    int next = selected.isEmpty() ? (forward ? 0 : count - 1)
                                  : (forward ? selected.last() + 1 : selected.first() - 1);
    if (next < 0 || next >= count)
        return;
    scene()->clearSelection();
    m_elementItems[next]->setSelected(true);
    setGridCursor(m_drawing.elements[next].place.at);
}

bool NetworkView::focusNextPrevChild(bool next)
{
    // Tab walks the elements, then leaves the drawing like any other control.
    if (hasFocus() && !m_drawing.elements.isEmpty()) {
        const QList<int> selected = selectedElements();
        const int count = int(m_drawing.elements.size());
        const bool atEnd =
            !selected.isEmpty() && (next ? selected.last() == count - 1 : selected.first() == 0);
        if (!atEnd) {
            selectNext(next);
            return true;
        }
        scene()->clearSelection();
    }
    return QGraphicsView::focusNextPrevChild(next);
}

} // namespace kvadra
