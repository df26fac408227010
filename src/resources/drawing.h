#pragma once

// Private to the pictures library: the pen that the built-in drawings are made with, and the
// painters of the two picture families.

#include <QColor>
#include <QPainter>
#include <QPoint>
#include <QPolygon>
#include <QString>

namespace kvadra::drawing
{

// Draws on a painter whose device carries a device pixel ratio, in logical pixel coordinates
// where a coordinate names a whole pixel: hline(8, 20, 15) covers row 15 from column 8 to 20
// inclusive at 1x and the corresponding 2-pixel-high band at 2x. At 1x everything stays aliased
// so the small drawings keep the crisp look of a bitmap; at higher ratios slanted strokes, circles
// and text are antialiased, straight wires stay exact multiples of the ratio.
class Ink
{
public:
    explicit Ink(QPainter &painter);

    QPainter &painter() { return m_painter; }
    bool atUnitRatio() const { return m_unit; }

    void setColor(const QColor &color) { m_color = color; }
    QColor color() const { return m_color; }

    void hline(int x1, int x2, int y, int width = 1);
    void vline(int x, int y1, int y2, int width = 1);
    void block(int x, int y, int w, int h);
    // A thin polyline through the centres of the given pixels.
    void polyline(const QPolygon &pixels);
    // The 5-pixel open circle of a terminal and the filled dot of the same size.
    void ring(QPoint centre);
    void dot(QPoint centre);
    // A circle whose outermost pixels lie radius pixels from the centre pixel, painted over
    // whatever lies inside it when a fill is given.
    void circle(QPoint centre, int radius, const QColor &fill = Qt::transparent);
    // A filled triangular arrow head whose tip is the centre of the tip pixel.
    void arrowHead(QPoint tip, Qt::Edge pointing, int length = 5, int halfWidth = 3);
    void text(const QRect &box, int flags, const QString &text, int pixelSize, bool bold = false);

private:
    void pixelLine(QPoint from, QPoint to);

    QPainter &m_painter;
    bool m_unit;
    QColor m_color = Qt::black;
};

// elements is the schematic name without its "TEST" prefix: "G1G3", "NONE", "R1R2R3", ...
void paintSchematic(QPainter &painter, const QString &elements);

// What the schematic shows, element by element, in words.
QString describeSchematic(const QString &elements);

// parameter is the upper-case parameter name without the "LAB" prefix: "Z11", "H21", "A", ...
// Returns false, drawing nothing, for a name that has no set-up.
bool paintLabSetup(QPainter &painter, const QString &parameter);
bool isLabSetup(const QString &parameter);
// What the set-up shows at each port, in words, with the direction of each measured current.
QString describeLabSetup(const QString &parameter);

// The program icon on its 24 x 24 grid.
void paintProgramIcon(QPainter &painter);

} // namespace kvadra::drawing
