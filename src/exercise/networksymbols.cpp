#include "exercise/networksymbols.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace kvadra
{

namespace
{
QPen cosmetic(const QColor &colour, qreal width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, width, style, Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(true);
    return pen;
}

QString labelOf(const DrawnElement &e)
{
    if (e.kind == QLatin1Char('P'))
        return e.name;
    QString second = e.value;
    if (e.kind == QLatin1Char('F') || e.kind == QLatin1Char('H'))
        second = (e.value.isEmpty() ? e.name : e.value) + QStringLiteral("·i(") + e.control +
                 QLatin1Char(')');
    if (e.kind == QLatin1Char('V'))
        second = QString();
    return second.isEmpty() ? e.name : e.name + QLatin1Char('\n') + second;
}

// Where the label goes, from the centre, before turning: above the main pair.
QPointF labelAnchor(const DrawnElement &e, int grid)
{
    const qreal off = terminalCount(e.kind) == 4 ? 3.2 : 1.2;
    const QPoint r = rotated(QPoint(0, -10), e.place.rotation);
    return QPointF(r) / 10.0 * off * grid;
}

int labelFlags(const DrawnElement &e)
{
    switch (e.place.rotation) {
    case 90:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case 180:
        return Qt::AlignHCenter | Qt::AlignTop;
    case 270:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignHCenter | Qt::AlignBottom;
    }
}

QRectF labelRect(const DrawnElement &e, int grid, const QFont &font)
{
    const QFontMetricsF fm(font);
    const QSizeF size = fm.size(0, labelOf(e)) + QSizeF(2, 0);
    const QPointF a = labelAnchor(e, grid);
    const int flags = labelFlags(e);
    QRectF r(QPointF(0, 0), size);
    if (flags & Qt::AlignLeft)
        r.moveTopLeft(QPointF(a.x(), a.y() - size.height() / 2));
    else if (flags & Qt::AlignRight)
        r.moveTopLeft(QPointF(a.x() - size.width(), a.y() - size.height() / 2));
    else if (flags & Qt::AlignTop)
        r.moveTopLeft(QPointF(a.x() - size.width() / 2, a.y()));
    else
        r.moveTopLeft(QPointF(a.x() - size.width() / 2, a.y() - size.height()));
    return r;
}

void diamond(QPainter &p, qreal x, qreal y, qreal r)
{
    const QPointF points[4] = {{x - r, y}, {x, y - r}, {x + r, y}, {x, y + r}};
    p.drawPolygon(points, 4);
}

// An arrow along the axis, from -len to +len, at height y.
void arrow(QPainter &p, qreal x, qreal y, qreal len)
{
    p.drawLine(QPointF(x - len, y), QPointF(x + len, y));
    const QPointF head[3] = {
        {x + len, y}, {x + len - len * 0.6, y - len * 0.45}, {x + len - len * 0.6, y + len * 0.45}};
    p.drawPolyline(head, 3);
}

// A + or − at a place of the unturned symbol, drawn upright whatever the turn.
void sign(QPainter &p, QPointF at, qreal size, bool plus)
{
    const QTransform turn = p.transform();
    p.save();
    p.resetTransform();
    const QPointF c = turn.map(at);
    const qreal s = size * std::sqrt(std::abs(turn.determinant()));
    p.drawLine(c - QPointF(s, 0), c + QPointF(s, 0));
    if (plus)
        p.drawLine(c - QPointF(0, s), c + QPointF(0, s));
    p.restore();
}
} // namespace

Inks inksFor(const QColor &background)
{
    if (background.lightnessF() < 0.5)
        return {QColor(230, 230, 230), QColor(150, 200, 255), QColor(255, 200, 80),
                QColor(170, 170, 170), QColor(255, 140, 140)};
    return {Qt::black, QColor(0, 0, 160), QColor(0, 110, 220), QColor(90, 90, 90),
            QColor(190, 0, 0)};
}

void paintElement(QPainter &painter, const DrawnElement &e, int grid, const Inks &inks,
                  bool selected)
{
    const qreal g = grid;
    const QColor ink = selected ? inks.mark : inks.line;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.save();
    painter.rotate(e.place.rotation);
    painter.setPen(cosmetic(ink, selected ? 2.5 : 1.5));
    const QChar k = e.kind;
    // The main pair lies on y = 0, or y = -2 steps for E and G.
    const qreal y = terminalCount(k) == 4 ? -2 * g : 0;
    auto leads = [&](qreal inner) {
        painter.drawLine(QPointF(-2 * g, y), QPointF(-inner, y));
        painter.drawLine(QPointF(inner, y), QPointF(2 * g, y));
    };
    if (k == QLatin1Char('R')) {
        leads(g);
        QPolygonF zigzag;
        zigzag << QPointF(-g, y);
        for (int i = 0; i < 6; ++i)
            zigzag << QPointF(-g + (2 * i + 1) * g / 6, y + (i % 2 ? g / 3 : -g / 3));
        zigzag << QPointF(g, y);
        painter.drawPolyline(zigzag);
    } else if (k == QLatin1Char('V')) {
        leads(0.6 * g);
        painter.drawEllipse(QPointF(0, y), 0.6 * g, 0.6 * g);
        arrow(painter, 0, y, 0.35 * g);
    } else if (k == QLatin1Char('P')) {
        for (qreal x : {-2 * g, 2 * g})
            painter.drawEllipse(QPointF(x, y), 0.2 * g, 0.2 * g);
        sign(painter, QPointF(-1.3 * g, -0.5 * g), 0.2 * g, true);
        sign(painter, QPointF(1.3 * g, -0.5 * g), 0.2 * g, false);
    } else {
        leads(0.8 * g);
        diamond(painter, 0, y, 0.8 * g);
        if (k == QLatin1Char('G') || k == QLatin1Char('F')) {
            arrow(painter, 0, y, 0.45 * g);
        } else {
            sign(painter, QPointF(-0.4 * g, y), 0.15 * g, true);
            sign(painter, QPointF(0.4 * g, y), 0.15 * g, false);
        }
        if (terminalCount(k) == 4) {
            // The control pair: its two terminals, + and −, and a dashed tie to the source.
            for (qreal x : {-2 * g, 2 * g}) {
                painter.drawLine(QPointF(x, 2 * g), QPointF(x * 0.6, 2 * g));
                painter.drawEllipse(QPointF(x * 0.6, 2 * g), 0.12 * g, 0.12 * g);
            }
            sign(painter, QPointF(-1.2 * g, 1.4 * g), 0.15 * g, true);
            sign(painter, QPointF(1.2 * g, 1.4 * g), 0.15 * g, false);
            painter.setPen(cosmetic(ink, 1, Qt::DashLine));
            painter.drawLine(QPointF(0, 2 * g), QPointF(0, y + 0.8 * g));
        }
    }
    painter.restore();
    painter.setPen(selected ? inks.mark : inks.label);
    const QRectF r = labelRect(e, grid, painter.font());
    painter.drawText(r, labelFlags(e) & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter),
                     labelOf(e));
    painter.restore();
}

QRectF elementBounds(const DrawnElement &e, int grid, const QFont &font)
{
    QRectF body(-2.4 * grid, -2.4 * grid, 4.8 * grid, 4.8 * grid);
    return body.united(labelRect(e, grid, font)).adjusted(-2, -2, 2, 2);
}

QString kindName(QChar kind)
{
    switch (kind.unicode()) {
    case 'R':
        return QStringLiteral("resistor");
    case 'E':
        return QStringLiteral("voltage-controlled voltage source");
    case 'G':
        return QStringLiteral("voltage-controlled current source");
    case 'F':
        return QStringLiteral("current-controlled current source");
    case 'H':
        return QStringLiteral("current-controlled voltage source");
    case 'V':
        return QStringLiteral("current sensor");
    case 'P':
        return QStringLiteral("port");
    }
    return QString();
}

QString describeElement(const DrawnElement &e)
{
    const QString value = e.value.isEmpty() ? QStringLiteral("the symbol %1").arg(e.name) : e.value;
    auto node = [&e](int t) {
        const QString n = e.nodes.value(t);
        return n.isEmpty() ? QStringLiteral("an unnamed node") : QStringLiteral("node ") + n;
    };
    const QString between = QStringLiteral("between %1 and %2").arg(node(0), node(1));
    switch (e.kind.unicode()) {
    case 'R':
        return QStringLiteral("resistor, %1, %2").arg(value, between);
    case 'E':
    case 'G':
        return QStringLiteral("%1, gain %2, output from %3 to %4, controlled by the voltage from "
                              "%5 to %6")
            .arg(kindName(e.kind), value, node(0), node(1), node(2), node(3));
    case 'F':
    case 'H':
        return QStringLiteral("%1, gain %2 times the current in %3, from %4 to %5")
            .arg(kindName(e.kind), value, e.control, node(0), node(1));
    case 'V':
        return QStringLiteral("current sensor, a zero-volt source, the current flowing from %1 to "
                              "%2")
            .arg(node(0), node(1));
    case 'P':
        return QStringLiteral("port, plus at %1, minus at %2").arg(node(0), node(1));
    }
    return QString();
}

} // namespace kvadra
