#include "resources/pictures.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace kvadra;

namespace
{
// Reads a picture in logical pixels: at ratio 2 a logical pixel counts as ink when any of its
// four device pixels is, so the same figures hold at both ratios.
class Probe
{
public:
    Probe(const QString &name, int ratio)
        : m_image(picture(name, ratio).toImage().convertToFormat(QImage::Format_RGB32)),
          m_ratio(ratio)
    {
    }
    // Black ink or the core of a smoothed line; for a label, its pure blue instead.
    bool dark(int x, int y, bool label = false) const
    {
        for (int dy = 0; dy < m_ratio; ++dy)
            for (int dx = 0; dx < m_ratio; ++dx) {
                const QRgb c = m_image.pixel(x * m_ratio + dx, y * m_ratio + dy);
                if (label ? (c & 0xffffff) == 0x0000ff : qGray(c) < 110 && qBlue(c) - qRed(c) < 60)
                    return true;
            }
        return false;
    }
    int count(const QRect &area, bool label = false) const
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += dark(x, y, label) ? 1 : 0;
        return n;
    }
    // A filled dot inks all four diagonal neighbours of its centre; a wire crossing or turning
    // there leaves at least one of them empty.
    bool dotAt(int x, int y) const
    {
        return dark(x - 1, y - 1) && dark(x + 1, y - 1) && dark(x - 1, y + 1) && dark(x + 1, y + 1);
    }

private:
    QImage m_image;
    int m_ratio;
};

void rows(const QString &prefix)
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("ratio");
    for (const QString &name : pictureNames())
        for (int ratio : {1, 2})
            if (name.startsWith(prefix))
                QTest::addRow("%s@%dx", qPrintable(name), ratio) << name << ratio;
}

// Size, ratio and some ink.
void checkPicture(const QString &name, int ratio, const QSize &logical)
{
    const QPixmap pm = picture(name, ratio);
    QCOMPARE(pm.devicePixelRatio(), qreal(ratio));
    QCOMPARE(pm.size(), logical * ratio);
    const int ink = Probe(name, ratio).count(QRect(QPoint(), logical));
    QVERIFY2(ink > 200 && ink < logical.width() * logical.height() / 4, qPrintable(name));
}
} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void schematics_data() { rows("TEST"); }
    void schematics()
    {
        QFETCH(QString, name);
        QFETCH(int, ratio);
        checkPicture(name, ratio, QSize(145, 88));
        const Probe p(name, ratio);
        const bool r = name.startsWith("TESTR"), g2 = name.contains("G2");
        for (int k = 1; k <= 3; ++k) {
            const bool present = name.contains(QString::number(k)), vertical = (k == 2) == r;
            const int at = 22 + 25 * k;
            const QRect label = vertical ? QRect(at + 3, 38, 28, 25) : QRect(at - 12, 0, 25, 13);
            QCOMPARE(p.count(label, true) > 0, present);
            // A resistor symbol leaves the row or column of its wire.
            const QRect zigzag = vertical ? QRect(at - 2, 20, 2, 61) : QRect(at - 16, 11, 33, 4);
            QCOMPARE(p.count(zigzag) > 0, present);
            // A missing resistor is a short and a missing conductance an open circuit.
            const QRect wire = vertical ? QRect(at, 20, 1, 61) : QRect(at - 12, 15, 25, 1);
            if (!present)
                QCOMPARE(p.count(wire), r ? wire.width() * wire.height() : 0);
        }
        // Between the branch columns of the top line only G2 closes the gap.
        if (!r)
            for (int x = 50; x <= 94; ++x)
                QCOMPARE(p.count(QRect(x, 12, 1, 7)) > 0, g2);
        const bool g1 = name.contains("G1"), g3 = name.contains("G3");
        const std::pair<QPoint, bool> dots[] = {{{47, 15}, g1 && g2}, {{47, 85}, g1},
                                                {{72, 15}, r},        {{72, 85}, r},
                                                {{97, 15}, g3 && g2}, {{97, 85}, g3}};
        for (const auto &[at, dot] : dots)
            QVERIFY2(p.dotAt(at.x(), at.y()) == dot, qPrintable(QString::number(at.x())));
    }

    void setups_data() { rows("LAB"); }
    void setups()
    {
        QFETCH(QString, name);
        QFETCH(int, ratio);
        checkPicture(name, ratio, QSize(240, 120));
        const Probe p(name, ratio);
        // The two-port's sides are the only lines 95 rows long.
        QRect box;
        for (int x = 0; x < 240; ++x)
            for (int y = 0, run = 0; y < 120; ++y)
                if ((run = p.dark(x, y) ? run + 1 : 0) == 95)
                    box |= QRect(x, 0, 1, 1);
        QCOMPARE(box.width(), 82);
        // x11 set-ups wire port 1 only and x22 port 2 only; the box leaves room for the
        // instruments on the wired side.
        const auto [lo, hi] = name.endsWith("11")   ? std::pair{117, 130}
                              : name.endsWith("22") ? std::pair{27, 36}
                                                    : std::pair{79, 81};
        QVERIFY2(box.left() >= lo && box.left() <= hi, qPrintable(QString::number(box.left())));
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
