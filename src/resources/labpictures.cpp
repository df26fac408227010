#include "resources/drawing.h"
#include "resources/labsetups.h"

// The sixteen measurement set-ups drawn on their 240 x 120 grid. Coordinates name pixels.

namespace kvadra::drawing
{

namespace
{

constexpr int kPictureWidth = 240;
constexpr int kBoxWidth = 82;
constexpr int kBoxHeight = 102;
constexpr int kBoxLine = 2;
constexpr int kBoxTop = 10;
// Room for the current arrow above a series ammeter.
constexpr int kBoxTopBelowArrow = 15;
constexpr int kBoxLeftCentred = (kPictureWidth - kBoxWidth) / 2;
// Off-centre, the box leaves the instruments the same margins as when centred.
constexpr int kBoxLeftForPort1 = 124;
constexpr int kBoxLeftForPort2 = kPictureWidth - kBoxLeftForPort1 - kBoxWidth;
constexpr int kStub = 14;
constexpr int kUpperTerminal = 21; // below the box top; about a fifth of its height
constexpr int kTerminalSpacing = 60;
constexpr int kRadius = 15;         // instruments are 31 pixels across
constexpr int kNearInstrument = 30; // from the terminals to the instrument next to them
constexpr int kFarInstrument = 75;  // to a source outside another instrument
constexpr int kShortingWire = 12;
constexpr int kLetterPixelSize = 15;

bool carriesInstruments(Port p)
{
    return p != Port::Open && p != Port::Shorted;
}

class Bench
{
public:
    Bench(QPainter &painter, int boxLeft, int boxTop)
        : m_ink(painter), m_left(boxLeft), m_top(boxTop), m_upper(boxTop + kUpperTerminal),
          m_lower(m_upper + kTerminalSpacing), m_middle((m_upper + m_lower) / 2)
    {
    }

    void twoPort()
    {
        const int right = m_left + kBoxWidth - kBoxLine;
        m_ink.block(m_left, m_top, kBoxWidth, kBoxLine);
        m_ink.block(m_left, m_top + kBoxHeight - kBoxLine, kBoxWidth, kBoxLine);
        m_ink.block(m_left, m_top, kBoxLine, kBoxHeight);
        m_ink.block(right, m_top, kBoxLine, kBoxHeight);
        for (int y : {m_upper, m_lower}) {
            m_ink.hline(m_left - kStub, m_left - 1, y);
            m_ink.hline(right + kBoxLine, right + kBoxLine + kStub - 1, y);
        }
    }

    // outward is -1 for port 1 (its instruments lie to the left), +1 for port 2.
    void port(Port kind, int outward)
    {
        const int terminal = outward < 0 ? m_left - kStub : m_left + kBoxWidth - 1 + kStub;
        const int near = terminal + outward * kNearInstrument;
        const int far = terminal + outward * kFarInstrument;
        switch (kind) {
        case Port::Open:
            break;
        case Port::Shorted: {
            const int x = terminal + outward * kShortingWire;
            m_ink.hline(terminal, x, m_upper);
            m_ink.hline(terminal, x, m_lower);
            m_ink.vline(x, m_upper, m_lower);
            break;
        }
        case Port::CurrentSource:
            across(terminal, near);
            currentSource(near);
            break;
        case Port::VoltageSource:
            across(terminal, near);
            voltageSource(near);
            break;
        case Port::Voltmeter:
            across(terminal, near);
            voltmeter(near, -outward);
            break;
        case Port::AmmeterUp:
        case Port::AmmeterDown:
            across(terminal, near);
            instrument(near, m_middle, "A");
            verticalArrow(near + outward * (kRadius + 7), kind == Port::AmmeterUp);
            break;
        case Port::CurrentSourceAndVoltmeter:
            across(terminal, far);
            currentSource(far);
            across(terminal, near);
            voltmeter(near, -outward);
            m_ink.dot({near, m_upper});
            m_ink.dot({near, m_lower});
            break;
        case Port::VoltageSourceAndSeriesAmmeter:
            across(terminal, far);
            voltageSource(far);
            seriesAmmeter(near, -outward);
            break;
        }
        m_ink.dot({terminal, m_upper});
        m_ink.dot({terminal, m_lower});
    }

private:
    // Wires from the port's terminals out to column x and down to an instrument centred between
    // the two wire levels.
    void across(int terminal, int x)
    {
        m_ink.hline(terminal, x, m_upper);
        m_ink.hline(terminal, x, m_lower);
        m_ink.vline(x, m_upper, m_middle - kRadius);
        m_ink.vline(x, m_middle + kRadius, m_lower);
    }

    void instrument(int x, int y, const char *letter)
    {
        // Filled, so that an instrument in the line hides the wire it is drawn over.
        m_ink.circle({x, y}, kRadius, Qt::white);
        if (letter)
            m_ink.text(QRect(x - kRadius, y - kRadius, 2 * kRadius + 1, 2 * kRadius + 1),
                       Qt::AlignCenter, QString::fromLatin1(letter), kLetterPixelSize, true);
    }

    void currentSource(int x)
    {
        instrument(x, m_middle, nullptr);
        m_ink.vline(x, m_middle - 6, m_middle + 9);
        m_ink.arrowHead({x, m_middle - 10}, Qt::TopEdge);
    }

    void voltageSource(int x)
    {
        instrument(x, m_middle, nullptr);
        plus(x, m_middle - 6, 3);
        m_ink.hline(x - 3, x + 3, m_middle + 6);
    }

    // Polarity marks beside the leads, on the side facing the two-port.
    void voltmeter(int x, int inward)
    {
        instrument(x, m_middle, "V");
        const int signs = x + inward * 9;
        plus(signs, m_middle - 20, 2);
        m_ink.hline(signs - 2, signs + 2, m_middle + 20);
    }

    // An ammeter in the upper wire, the measured current flowing towards the two-port.
    void seriesAmmeter(int x, int inward)
    {
        instrument(x, m_upper, "A");
        const int y = m_upper - kRadius - 6;
        m_ink.hline(x - 8, x + 8, y);
        m_ink.arrowHead({x + inward * 10, y}, inward > 0 ? Qt::RightEdge : Qt::LeftEdge);
    }

    void verticalArrow(int x, bool up)
    {
        m_ink.vline(x, m_middle - 8, m_middle + 8);
        const int tip = up ? m_middle - 10 : m_middle + 10;
        m_ink.arrowHead({x, tip}, up ? Qt::TopEdge : Qt::BottomEdge);
    }

    void plus(int x, int y, int half)
    {
        m_ink.hline(x - half, x + half, y);
        m_ink.vline(x, y - half, y + half);
    }

    Ink m_ink;
    int m_left;
    int m_top;
    int m_upper;
    int m_lower;
    int m_middle;
};

} // namespace

bool paintLabSetup(QPainter &painter, const QString &parameter)
{
    const Setup *setup = findSetup(parameter);
    if (!setup)
        return false;
    const bool port1 = carriesInstruments(setup->port1);
    const bool port2 = carriesInstruments(setup->port2);
    const int left = port1 == port2 ? kBoxLeftCentred : port1 ? kBoxLeftForPort1 : kBoxLeftForPort2;
    const bool arrowAbove = setup->port1 == Port::VoltageSourceAndSeriesAmmeter ||
                            setup->port2 == Port::VoltageSourceAndSeriesAmmeter;
    Bench bench(painter, left, arrowAbove ? kBoxTopBelowArrow : kBoxTop);
    bench.twoPort();
    bench.port(setup->port1, -1);
    bench.port(setup->port2, +1);
    return true;
}

} // namespace kvadra::drawing
