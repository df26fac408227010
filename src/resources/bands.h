#pragma once

#include <QPaintDevice>
#include <QPainter>
#include <QRect>

#include <algorithm>

namespace kvadra
{

// Qt's raster engine hands every fill of 96 or more scan lines to its thread pool and waits for
// the workers. For a control-sized fill the hand-off costs more than the fill itself, and the
// first one also starts the pool's threads. Painting a tall area band by band, each band under
// 90 device rows, keeps every fill on this thread; each pixel still sees the same drawing
// operations in the same order, so the result is the same.
template <typename Paint> void paintInBands(QPainter &painter, const QRect &area, Paint paint)
{
    const int rows = std::max(1, int(90 / painter.device()->devicePixelRatioF()));
    if (area.height() <= rows) {
        paint();
        return;
    }
    for (int y = area.top(); y <= area.bottom(); y += rows) {
        painter.save();
        const QRect band(area.left(), y, area.width(), std::min(rows, area.bottom() + 1 - y));
        painter.setClipRect(band, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        paint();
        painter.restore();
    }
}

} // namespace kvadra
