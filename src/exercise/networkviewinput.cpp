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
            emit status(QString());
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

} // namespace kvadra
