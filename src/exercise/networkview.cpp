#include "exercise/networkview.h"

#include "exercise/networkaccess.h"
#include "exercise/networkitems.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSet>

#include <algorithm>
#include <cmath>

using namespace kvadra::networkitems;

namespace kvadra
{

NetworkView::NetworkView(QWidget *parent) : QGraphicsView(parent)
{
    static const bool accessible = (QAccessible::installFactory(networkAccess), true);
    Q_UNUSED(accessible);
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
    // A view not yet laid out has no size to fit anything to.
    if (isVisible() && !seen.contains(used) && !m_wireStart && !m_dragFrom) {
        const qreal fit =
            std::min(viewport()->width() / used.width(), viewport()->height() / used.height());
        const qreal s = std::clamp(fit, 0.5, 1.0);
        setTransform(QTransform::fromScale(s, s));
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

void NetworkView::announce(int element)
{
    emit status(m_drawing.elements[element].name + QStringLiteral(": ") + describe(element));
    if (QAccessible::isActive())
        if (QAccessibleInterface *self = QAccessible::queryAccessibleInterface(this)) {
            QAccessibleEvent focus(self, QAccessible::Focus);
            focus.setChild(self->childCount() - int(m_drawing.elements.size()) + element);
            QAccessible::updateAccessibility(&focus);
        }
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
