#pragma once

// The items the own network's drawing is made of, shared by the view's files.

#include "exercise/networkdrawing.h"
#include "exercise/networksymbols.h"
#include "exercise/networkview.h"

#include <QGraphicsItem>
#include <QGraphicsPathItem>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace kvadra::networkitems
{

inline constexpr int g = NetworkView::grid;

inline Inks inksOf(const QWidget *w)
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

} // namespace kvadra::networkitems
