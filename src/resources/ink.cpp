#include "resources/drawing.h"

#include <QFont>
#include <QPaintDevice>
#include <QPen>
#include <QPolygonF>

#include <cmath>

namespace kvadra::drawing
{

namespace
{

// A logical pixel's centre; the painter works in pixel-edge coordinates.
QPointF centreOf(QPoint p)
{
    return {p.x() + 0.5, p.y() + 0.5};
}

// The 5 x 5 terminal ring and junction dot at 1x, row by row, left to right.
constexpr const char *kRingPixels[5] = {".###.", "#...#", "#...#", "#...#", ".###."};
constexpr const char *kDotPixels[5] = {".###.", "#####", "#####", "#####", ".###."};

} // namespace

Ink::Ink(QPainter &painter)
    : m_painter(painter), m_unit(qFuzzyCompare(painter.device()->devicePixelRatioF(), qreal(1)))
{
}

void Ink::hline(int x1, int x2, int y, int width)
{
    block(std::min(x1, x2), y, std::abs(x2 - x1) + 1, width);
}

void Ink::vline(int x, int y1, int y2, int width)
{
    block(x, std::min(y1, y2), width, std::abs(y2 - y1) + 1);
}

void Ink::block(int x, int y, int w, int h)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.fillRect(QRect(x, y, w, h), m_color);
}

void Ink::polyline(const QPolygon &pixels)
{
    if (m_unit) {
        // The raster engine's thin lines leave out end pixels, which flattens a small zigzag's
        // peaks; every vertex pixel must be there, so the steps are set one by one.
        for (int i = 1; i < pixels.size(); ++i)
            pixelLine(pixels[i - 1], pixels[i]);
        return;
    }
    QPolygonF path;
    for (const QPoint &p : pixels)
        path << centreOf(p);
    // Round joins keep the peaks of a zigzag inside the rows its pixels name.
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(QPen(m_color, 1, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPolyline(path);
}

void Ink::pixelLine(QPoint from, QPoint to)
{
    // Bresenham, both ends included.
    const int dx = std::abs(to.x() - from.x()), sx = from.x() < to.x() ? 1 : -1;
    const int dy = -std::abs(to.y() - from.y()), sy = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    QPoint p = from;
    for (;;) {
        block(p.x(), p.y(), 1, 1);
        if (p == to)
            break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.rx() += sx;
        }
        if (twice <= dx) {
            error += dx;
            p.ry() += sy;
        }
    }
}

void Ink::ring(QPoint centre)
{
    if (m_unit) {
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 5; ++col)
                if (kRingPixels[row][col] == '#')
                    block(centre.x() - 2 + col, centre.y() - 2 + row, 1, 1);
        return;
    }
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(QPen(m_color, 1));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawEllipse(centreOf(centre), 2.0, 2.0);
}

void Ink::dot(QPoint centre)
{
    if (m_unit) {
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 5; ++col)
                if (kDotPixels[row][col] == '#')
                    block(centre.x() - 2 + col, centre.y() - 2 + row, 1, 1);
        return;
    }
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(m_color);
    m_painter.drawEllipse(centreOf(centre), 2.5, 2.5);
}

void Ink::circle(QPoint centre, int radius, const QColor &fill)
{
    // Smoothed even at 1x, where a slightly heavier pen keeps the outline as dark as the wires.
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(QPen(m_color, m_unit ? 1.3 : 1.0));
    m_painter.setBrush(fill.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(fill));
    m_painter.drawEllipse(centreOf(centre), radius, radius);
}

void Ink::arrowHead(QPoint tip, Qt::Edge pointing, int length, int halfWidth)
{
    // Unit vector along the arrow and the perpendicular.
    const int dx = pointing == Qt::RightEdge ? 1 : pointing == Qt::LeftEdge ? -1 : 0;
    const int dy = pointing == Qt::BottomEdge ? 1 : pointing == Qt::TopEdge ? -1 : 0;
    if (m_unit) {
        // Stacked pixel rows read better than a rasterised triangle at this size.
        for (int i = 0; i < length; ++i) {
            const int half = (i * halfWidth + (length - 1) / 2) / (length - 1);
            const QPoint c(tip.x() - dx * i, tip.y() - dy * i);
            if (dx != 0)
                vline(c.x(), c.y() - half, c.y() + half);
            else
                hline(c.x() - half, c.x() + half, c.y());
        }
        return;
    }
    const QPointF t = centreOf(tip) + QPointF(dx * 0.5, dy * 0.5);
    const QPointF base = t - QPointF(dx * (length + 0.5), dy * (length + 0.5));
    const QPointF side(dy * (halfWidth + 0.5), dx * (halfWidth + 0.5));
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(m_color);
    m_painter.drawPolygon(QPolygonF{t, base + side, base - side});
}

void Ink::text(const QRect &box, int flags, const QString &text, int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Sans Serif"));
    // Unsmoothed glyphs at 1x keep the lettering in its one pure colour, as in a bitmap.
    font.setStyleHint(QFont::SansSerif, m_unit ? QFont::NoAntialias : QFont::PreferAntialias);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    m_painter.setFont(font);
    m_painter.setPen(m_color);
    m_painter.setRenderHint(QPainter::TextAntialiasing, !m_unit);
    m_painter.drawText(box, flags, text);
}

} // namespace kvadra::drawing
