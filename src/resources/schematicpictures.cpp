#include "resources/drawing.h"

#include <QStringList>

#include <initializer_list>
#include <tuple>
#include <utility>

// The fourteen schematics on their 145 x 88 grid. Coordinates name pixels.

namespace kvadra::drawing
{

namespace
{

constexpr int kTopRow = 15;
constexpr int kBottomRow = 85;
constexpr int kLeftTerminal = 5;
constexpr int kRightTerminal = 139;
// Wires stop at the outside of the terminal rings so the rings stay open.
constexpr int kWireLeft = kLeftTerminal + 3;
constexpr int kWireRight = kRightTerminal - 3;

constexpr int kPort1Column = 47;  // R1 centre, G1 branch
constexpr int kMiddleColumn = 72; // middle node and R2 branch, G2 centre
constexpr int kPort2Column = 97;  // R3 centre, G3 branch
constexpr int kBranchMiddle = (kTopRow + kBottomRow) / 2;

// A resistor symbol is 23 pixels long (centre +- 11) and 5 wide (axis +- 2).
constexpr int kHalfLength = 11;
constexpr int kLabelPixelSize = 10;
const QColor kLabelBlue(0, 0, 255);

// The zigzag as (along, across) offsets from its first pixel: a one-pixel lead, five 45-degree
// peaks alternating to either side, and a one-pixel lead, symmetric about its middle.
constexpr int kZigzag[][2] = {{0, 0},  {1, 0},   {3, -2}, {7, 2}, {11, -2},
                              {15, 2}, {19, -2}, {21, 0}, {22, 0}};

class Schematic
{
public:
    explicit Schematic(QPainter &painter) : m_ink(painter) {}

    void terminals()
    {
        for (int x : {kLeftTerminal, kRightTerminal})
            for (int y : {kTopRow, kBottomRow})
                m_ink.ring({x, y});
    }

    void wire(int x1, int x2, int y) { m_ink.hline(x1, x2, y); }

    // A horizontal line from x1 to x2 on row y with a resistor centred at each given column.
    void seriesLine(int x1, int x2, int y,
                    std::initializer_list<std::pair<int, const char *>> parts)
    {
        int from = x1;
        for (const auto &[centre, label] : parts) {
            const int start = centre - kHalfLength;
            if (start > from)
                m_ink.hline(from, start - 1, y);
            QPolygon zigzag;
            for (const auto &step : kZigzag)
                zigzag << QPoint(start + step[0], y + step[1]);
            m_ink.polyline(zigzag);
            labelAbove(centre, label);
            from = centre + kHalfLength + 1;
        }
        if (from <= x2)
            m_ink.hline(from, x2, y);
    }

    // A vertical branch from the top line to the bottom line in column x; with a label it holds
    // a resistor halfway down, without one it is a plain wire.
    void branch(int x, const char *label)
    {
        if (!label) {
            m_ink.vline(x, kTopRow, kBottomRow);
            return;
        }
        const int start = kBranchMiddle - kHalfLength;
        m_ink.vline(x, kTopRow, start - 1);
        QPolygon zigzag;
        for (const auto &step : kZigzag)
            zigzag << QPoint(x + step[1], start + step[0]);
        m_ink.polyline(zigzag);
        m_ink.vline(x, kBranchMiddle + kHalfLength + 1, kBottomRow);
        labelRight(x, label);
    }

    void junction(int x, int y) { m_ink.dot({x, y}); }

private:
    void labelAbove(int centre, const char *label)
    {
        m_ink.setColor(kLabelBlue);
        m_ink.text(QRect(centre - 15, 0, 31, 12), Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromLatin1(label), kLabelPixelSize);
        m_ink.setColor(Qt::black);
    }

    void labelRight(int column, const char *label)
    {
        m_ink.setColor(kLabelBlue);
        m_ink.text(QRect(column + 6, kBranchMiddle - 8, 30, 17), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(label), kLabelPixelSize);
        m_ink.setColor(Qt::black);
    }

    Ink m_ink;
};

void paintResistances(Schematic &s, bool r1, bool r2, bool r3)
{
    // An absent series resistor is a short, so the top line always runs through; the middle
    // branch always exists, as R2 or as a shorting wire.
    if (r1 && r3)
        s.seriesLine(kWireLeft, kWireRight, kTopRow, {{kPort1Column, "R1"}, {kPort2Column, "R3"}});
    else if (r1)
        s.seriesLine(kWireLeft, kWireRight, kTopRow, {{kPort1Column, "R1"}});
    else if (r3)
        s.seriesLine(kWireLeft, kWireRight, kTopRow, {{kPort2Column, "R3"}});
    else
        s.wire(kWireLeft, kWireRight, kTopRow);
    s.branch(kMiddleColumn, r2 ? "R2" : nullptr);
    s.junction(kMiddleColumn, kTopRow);
    s.junction(kMiddleColumn, kBottomRow);
}

void paintConductances(Schematic &s, bool g1, bool g2, bool g3)
{
    // An absent conductance is an open circuit: without G2 the top line is cut between the
    // branch columns, and an absent shunt branch is simply not there.
    if (g2) {
        s.seriesLine(kWireLeft, kWireRight, kTopRow, {{kMiddleColumn, "G2"}});
    } else {
        s.wire(kWireLeft, kPort1Column, kTopRow);
        s.wire(kPort2Column, kWireRight, kTopRow);
    }
    for (const auto &[present, column, label] :
         {std::tuple{g1, kPort1Column, "G1"}, std::tuple{g3, kPort2Column, "G3"}}) {
        if (!present)
            continue;
        s.branch(column, label);
        s.junction(column, kBottomRow);
        if (g2)
            s.junction(column, kTopRow);
    }
}

} // namespace

void paintSchematic(QPainter &painter, const QString &elements)
{
    Schematic s(painter);
    // The bottom line is common to both families and never broken.
    s.wire(kWireLeft, kWireRight, kBottomRow);
    const auto has = [&](const char *element) { return elements.contains(QLatin1String(element)); };
    if (elements.startsWith(QLatin1Char('R')))
        paintResistances(s, has("R1"), has("R2"), has("R3"));
    else
        paintConductances(s, has("G1"), has("G2"), has("G3"));
    s.terminals();
}

QString describeSchematic(const QString &elements)
{
    auto has = [&](int k) { return elements.contains(QString::number(k)); };
    QStringList parts;
    if (elements.startsWith(QLatin1Char('R'))) {
        parts << (has(1) ? QStringLiteral("R1 in series in the top line next to port 1")
                         : QStringLiteral("a plain wire in the top line next to port 1, no R1"));
        parts << (has(2) ? QStringLiteral("R2 from the middle of the top line down to the "
                                          "bottom line")
                         : QStringLiteral("a plain wire from the middle of the top line down to "
                                          "the bottom line, no R2"));
        parts << (has(3) ? QStringLiteral("R3 in series in the top line next to port 2")
                         : QStringLiteral("a plain wire in the top line next to port 2, no R3"));
        return QStringLiteral("T network: ") + parts.join(QStringLiteral("; ")) +
               QStringLiteral(". The bottom line joins the lower terminals of both ports.");
    }
    parts << (has(1) ? QStringLiteral("G1 across port 1, from the top line down to the bottom line")
                     : QStringLiteral("nothing across port 1, no G1"));
    parts << (has(2) ? QStringLiteral("G2 in series in the top line between the ports")
                     : QStringLiteral("a gap in the top line between the ports, no G2"));
    parts << (has(3) ? QStringLiteral("G3 across port 2, from the top line down to the bottom line")
                     : QStringLiteral("nothing across port 2, no G3"));
    return QStringLiteral("Pi network: ") + parts.join(QStringLiteral("; ")) +
           QStringLiteral(". The bottom line joins the lower terminals of both ports.");
}

} // namespace kvadra::drawing
