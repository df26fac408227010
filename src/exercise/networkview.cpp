#include "exercise/networkview.h"

#include "exercise/networksymbols.h"

#include <QFocusEvent>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSet>

#include <cmath>

namespace kvadra
{

namespace
{
constexpr int g = NetworkView::grid;

Inks inksOf(const QWidget *w)
{
    return inksFor(w->palette().color(QPalette::Base));
}

class ElementItem : public QGraphicsItem
{
public:
    ElementItem(const DrawnElement &e, int index, const QWidget *view)
        : m_e(e), m_view(view), m_bounds(elementBounds(e, g, view->font()))
    {
        setData(0, index);
        setFlags(ItemIsSelectable | ItemIsMovable | ItemSendsGeometryChanges);
        setPos(QPointF(e.place.at * g));
    }
    QRectF boundingRect() const override { return m_bounds; }
    QPainterPath shape() const override
    {
        QPainterPath path;
        path.addRect(
            QRectF(-2 * g, -2.2 * g, 4 * g, 4.4 * g)
                .united(QRectF(QPointF(terminalOffset(m_e.kind, 0, m_e.place.rotation) * g),
                               QPointF(terminalOffset(m_e.kind, 1, m_e.place.rotation) * g)))
                .adjusted(-g / 2, -g / 2, g / 2, g / 2));
        return path;
    }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        painter->setFont(m_view->font());
        paintElement(*painter, m_e, g, inksOf(m_view), isSelected());
    }

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant &value) override
    {
        // A dragged element stays on the grid.
        if (change == ItemPositionChange) {
            const QPointF p = value.toPointF();
            return QPointF(std::round(p.x() / g) * g, std::round(p.y() / g) * g);
        }
        return QGraphicsItem::itemChange(change, value);
    }

private:
    DrawnElement m_e;
    const QWidget *m_view;
    QRectF m_bounds;
};

class WireItem : public QGraphicsPathItem
{
public:
    WireItem(const QList<QPoint> &points, int index, bool air, const QWidget *view)
        : m_air(air), m_view(view)
    {
        QPainterPath path(QPointF(points.first() * g));
        for (qsizetype k = 1; k < points.size(); ++k)
            path.lineTo(QPointF(points[k] * g));
        setPath(path);
        setData(0, index);
        setData(1, air);
        setFlag(ItemIsSelectable, !air);
        setZValue(-1);
    }
    QPainterPath shape() const override
    {
        QPainterPathStroker stroker;
        stroker.setWidth(8);
        return stroker.createStroke(path());
    }
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        const Inks inks = inksOf(m_view);
        QPen pen(m_air          ? inks.air
                 : isSelected() ? inks.mark
                                : inks.line,
                 isSelected() ? 2.5
                 : m_air      ? 1
                              : 1.5,
                 m_air ? Qt::DashLine : Qt::SolidLine);
        pen.setCosmetic(true);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(pen);
        painter->drawPath(path());
    }

private:
    bool m_air;
    const QWidget *m_view;
};

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

NetworkView::NetworkView(QWidget *parent) : QGraphicsView(parent)
{
    setScene(new QGraphicsScene(this));
    setFocusPolicy(Qt::StrongFocus);
    setDragMode(RubberBandDrag);
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    setTransformationAnchor(AnchorUnderMouse);
    setViewportUpdateMode(FullViewportUpdate);
    connect(scene(), &QGraphicsScene::selectionChanged, this, [this] {
        const QList<int> selected = selectedElements();
        if (selected.size() == 1)
            announce(selected.first());
    });
}

NetworkView::~NetworkView()
{
    // The scene outlives this part of the view and drops its selection as it goes.
    scene()->disconnect(this);
}

void NetworkView::showDrawing(const Drawing &drawing)
{
    const QStringList selected = selectedNames();
    m_drawing = drawing;
    rebuild();
    selectNames(selected);
}

void NetworkView::rebuild()
{
    const QSignalBlocker block(scene());
    scene()->clear();
    m_elementItems.clear();
    m_wireItems.clear();
    for (int w = 0; w < m_drawing.wires.size(); ++w) {
        auto *item = new WireItem(m_drawing.wires[w].points, w, false, this);
        scene()->addItem(item);
        m_wireItems.append(item);
    }
    for (const Airwire &a : std::as_const(m_drawing.airwires))
        scene()->addItem(new WireItem({terminalPoint(m_drawing.elements[a.from], a.fromTerminal),
                                       terminalPoint(m_drawing.elements[a.to], a.toTerminal)},
                                      -1, true, this));
    for (int e = 0; e < m_drawing.elements.size(); ++e) {
        auto *item = new ElementItem(m_drawing.elements[e], e, this);
        scene()->addItem(item);
        m_elementItems.append(item);
    }
    const QRectF used = drawingRect();
    scene()->setSceneRect(used.adjusted(-20 * g, -12 * g, 20 * g, 12 * g));
    // A drawing that came in whole (a file, a starting point) is shown whole.
    const QRectF seen = mapToScene(viewport()->rect()).boundingRect();
    if (!seen.contains(used) && !m_wireStart && !m_dragFrom) {
        if (used.width() > seen.width() || used.height() > seen.height()) {
            const qreal s =
                std::max(0.5, std::min(seen.width() / used.width(), seen.height() / used.height()) *
                                  transform().m11());
            setTransform(QTransform::fromScale(s, s));
        }
        centerOn(used.center());
    }
    viewport()->update();
}

QRectF NetworkView::drawingRect() const
{
    QRectF r = scene()->itemsBoundingRect();
    if (r.isEmpty())
        r = QRectF(-4 * g, -4 * g, 8 * g, 8 * g);
    return r.adjusted(-g, -g, g, g);
}

void NetworkView::setTool(QChar kind)
{
    m_tool = kind;
    m_wireStart.reset();
    setDragMode(kind.isNull() ? RubberBandDrag : NoDrag);
    viewport()->setCursor(kind.isNull() ? Qt::ArrowCursor : Qt::CrossCursor);
    viewport()->update();
}

void NetworkView::setGridCursor(QPoint p)
{
    m_cursor = p;
    ensureVisible(QRectF(QPointF(p * g), QSizeF(1, 1)), 2 * g, 2 * g);
    viewport()->update();
}

QStringList NetworkView::selectedNames() const
{
    QStringList names;
    for (int e : selectedElements())
        names.append(m_drawing.elements[e].name);
    return names;
}

void NetworkView::selectNames(const QStringList &names)
{
    scene()->clearSelection();
    for (int e = 0; e < m_elementItems.size(); ++e)
        if (names.contains(m_drawing.elements[e].name, Qt::CaseInsensitive))
            m_elementItems[e]->setSelected(true);
}

QList<int> NetworkView::selectedElements() const
{
    QList<int> out;
    for (int e = 0; e < m_elementItems.size(); ++e)
        if (m_elementItems[e]->isSelected())
            out.append(e);
    return out;
}

QList<int> NetworkView::selectedWires() const
{
    QList<int> out;
    for (int w = 0; w < m_wireItems.size(); ++w)
        if (m_wireItems[w]->isSelected())
            out.append(w);
    return out;
}

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

void NetworkView::announce(int element)
{
    emit status(m_drawing.elements[element].name + QStringLiteral(": ") + describe(element));
    emit selectionMoved(element);
}

QString NetworkView::describe(int element) const
{
    return describeElement(m_drawing.elements[element]);
}

QRect NetworkView::elementRect(int element) const
{
    if (element < 0 || element >= m_elementItems.size())
        return {};
    const QGraphicsItem *item = m_elementItems[element];
    return mapFromScene(item->mapToScene(item->boundingRect())).boundingRect();
}

void NetworkView::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int step = mods & Qt::ShiftModifier ? 4 : 1;
    QPoint by;
    switch (key) {
    case Qt::Key_Left:
        by = {-step, 0};
        break;
    case Qt::Key_Right:
        by = {step, 0};
        break;
    case Qt::Key_Up:
        by = {0, -step};
        break;
    case Qt::Key_Down:
        by = {0, step};
        break;
    default:
        break;
    }
    if (!by.isNull() && !(mods & Qt::ControlModifier)) {
        if (!m_wireStart && (!selectedElements().isEmpty() || !selectedWires().isEmpty()))
            moveSelection(by);
        else
            setGridCursor(m_cursor + by);
        return;
    }
    if (mods & Qt::ControlModifier) {
        if (key == Qt::Key_R) {
            rotateSelection(mods & Qt::ShiftModifier ? -90 : 90);
            return;
        }
        if (key == Qt::Key_A) {
            for (QGraphicsItem *item : scene()->items())
                if (item->flags() & QGraphicsItem::ItemIsSelectable)
                    item->setSelected(true);
            return;
        }
        if (key == Qt::Key_Plus || key == Qt::Key_Equal) {
            scale(1.25, 1.25);
            return;
        }
        if (key == Qt::Key_Minus) {
            scale(0.8, 0.8);
            return;
        }
        if (key == Qt::Key_0) {
            resetTransform();
            return;
        }
        QGraphicsView::keyPressEvent(event);
        return;
    }
    const QString text = event->text().toUpper();
    if (m_wireStart) {
        if (key == Qt::Key_Escape) {
            m_wireStart.reset();
            viewport()->update();
        } else if (key == Qt::Key_W || key == Qt::Key_Return || key == Qt::Key_Enter ||
                   key == Qt::Key_Space) {
            finishWire(m_cursor);
        }
        return;
    }
    switch (key) {
    case Qt::Key_Escape:
        if (!m_tool.isNull())
            setTool(QChar());
        scene()->clearSelection();
        return;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        deleteSelection();
        return;
    case Qt::Key_Space: {
        scene()->clearSelection();
        if (const int e = elementAt(m_cursor); e >= 0)
            m_elementItems[e]->setSelected(true);
        else if (const int w = wireAt(m_cursor); w >= 0)
            m_wireItems[w]->setSelected(true);
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        if (const QList<int> selected = selectedElements(); !selected.isEmpty())
            emit editLine(m_drawing.elements[selected.first()].line);
        return;
    case Qt::Key_W:
        m_wireStart = m_cursor;
        emit status(QStringLiteral("Wire from %1, %2: move with the arrows, W or Enter ends it.")
                        .arg(m_cursor.x())
                        .arg(m_cursor.y()));
        viewport()->update();
        return;
    default:
        break;
    }
    if (text.size() == 1 && QStringLiteral("REGFHV12").contains(text.front())) {
        placeAt(text.front(), m_cursor);
        return;
    }
    QGraphicsView::keyPressEvent(event);
}

QPoint NetworkView::snap(QPointF scenePoint) const
{
    return QPoint(int(std::lround(scenePoint.x() / g)), int(std::lround(scenePoint.y() / g)));
}

void NetworkView::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = snap(mapToScene(event->position().toPoint()));
    if (event->button() == Qt::LeftButton && !m_tool.isNull()) {
        m_cursor = at;
        if (m_tool == QLatin1Char('W')) {
            if (!m_wireStart)
                m_wireStart = at;
            else if (*m_wireStart != at)
                finishWire(at);
            viewport()->update();
        } else {
            const QChar kind = m_tool;
            setTool(QChar());
            placeAt(kind, at);
        }
        event->accept();
        return;
    }
    m_dragFrom = mapToScene(event->position().toPoint());
    QGraphicsView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        setGridCursor(at);
}

void NetworkView::mouseMoveEvent(QMouseEvent *event)
{
    m_pointer = snap(mapToScene(event->position().toPoint()));
    if (m_wireStart)
        viewport()->update();
    QGraphicsView::mouseMoveEvent(event);
}

void NetworkView::mouseReleaseEvent(QMouseEvent *event)
{
    QGraphicsView::mouseReleaseEvent(event);
    if (!m_dragFrom || event->button() != Qt::LeftButton)
        return;
    const QPoint by = snap(mapToScene(event->position().toPoint())) - snap(*m_dragFrom);
    m_dragFrom.reset();
    // Items follow the mouse while it is held; the drawing changes once, when it lets go.
    bool moved = false;
    for (int e : selectedElements())
        moved = moved || m_elementItems[e]->pos() != QPointF(m_drawing.elements[e].place.at * g);
    if (moved && !by.isNull())
        moveSelection(by);
    else if (moved)
        rebuild();
}

void NetworkView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const int e = elementAt(snap(mapToScene(event->position().toPoint())));
    QGraphicsItem *item = itemAt(event->position().toPoint());
    const int hit = item && m_elementItems.contains(item) ? item->data(0).toInt() : e;
    if (hit >= 0)
        emit editLine(m_drawing.elements[hit].line);
}

void NetworkView::drawBackground(QPainter *painter, const QRectF &rect)
{
    painter->fillRect(rect, palette().color(QPalette::Base));
    // The grid's dots, faint beside the ink.
    QColor dot = inksOf(this).air;
    dot.setAlpha(110);
    painter->setPen(QPen(dot, 0));
    const int left = int(std::floor(rect.left() / g)), right = int(std::ceil(rect.right() / g));
    const int top = int(std::floor(rect.top() / g)), bottom = int(std::ceil(rect.bottom() / g));
    if ((right - left) * (bottom - top) > 40000)
        return;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            painter->drawPoint(QPointF(x * g, y * g));
}

void NetworkView::drawForeground(QPainter *painter, const QRectF &)
{
    const Inks inks = inksOf(this);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(inks.line);
    for (const QPoint &p : junctionsOf(m_drawing))
        painter->drawEllipse(QPointF(p * g), 3, 3);
    QPen loose(inks.loose, 1.5);
    loose.setCosmetic(true);
    painter->setPen(loose);
    painter->setBrush(Qt::NoBrush);
    for (const QPoint &p : looseEndsOf(m_drawing))
        painter->drawEllipse(QPointF(p * g), 4, 4);
    if (m_wireStart) {
        QPen pen(inks.mark, 1.5, Qt::DashLine);
        pen.setCosmetic(true);
        painter->setPen(pen);
        const QPoint end = m_tool == QLatin1Char('W') && underMouse() ? m_pointer : m_cursor;
        const QList<QPoint> path = wirePath(*m_wireStart, end);
        for (qsizetype k = 1; k < path.size(); ++k)
            painter->drawLine(QPointF(path[k - 1] * g), QPointF(path[k] * g));
    }
    // The keyboard's place on the grid.
    if (hasFocus()) {
        QPen pen(inks.mark, 1.5);
        pen.setCosmetic(true);
        painter->setPen(pen);
        const QPointF c(m_cursor * g);
        painter->drawLine(c - QPointF(g * 0.6, 0), c + QPointF(g * 0.6, 0));
        painter->drawLine(c - QPointF(0, g * 0.6), c + QPointF(0, g * 0.6));
        painter->drawRect(QRectF(c - QPointF(3, 3), QSizeF(6, 6)));
    }
}

void NetworkView::focusInEvent(QFocusEvent *event)
{
    QGraphicsView::focusInEvent(event);
    viewport()->update();
}

void NetworkView::focusOutEvent(QFocusEvent *event)
{
    QGraphicsView::focusOutEvent(event);
    viewport()->update();
}

void NetworkView::changeEvent(QEvent *event)
{
    QGraphicsView::changeEvent(event);
    // A palette handed out later repaints the drawing in inks that read on it.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        rebuild();
}

void NetworkView::paintForExport(QPainter &painter, const QRectF &target)
{
    const QStringList selected = selectedNames();
    QPalette saved = palette();
    QPalette white = saved;
    white.setColor(QPalette::Base, Qt::white);
    {
        const QSignalBlocker block(this);
        setPalette(white);
        scene()->clearSelection();
        painter.fillRect(target, Qt::white);
        // Without the grid: the scene's own render paints no background of the view.
        scene()->setBackgroundBrush(Qt::white);
        scene()->render(&painter, target, drawingRect());
        const Inks inks = inksFor(Qt::white);
        painter.save();
        const QRectF source = drawingRect();
        const qreal sx = target.width() / source.width(), sy = target.height() / source.height();
        const qreal s = std::min(sx, sy);
        painter.translate(target.center());
        painter.scale(s, s);
        painter.translate(-source.center());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(inks.line);
        for (const QPoint &p : junctionsOf(m_drawing))
            painter.drawEllipse(QPointF(p * g), 3, 3);
        painter.restore();
        scene()->setBackgroundBrush(Qt::NoBrush);
        setPalette(saved);
    }
    rebuild();
    selectNames(selected);
}

} // namespace kvadra
