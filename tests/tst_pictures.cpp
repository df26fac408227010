#include "resources/pictures.h"

#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QtTest>

using namespace kvadra;

namespace
{

// Reads a picture in logical pixels at an integer ratio: logical pixel (x, y) covers the device
// pixels from x * ratio up to (x + 1) * ratio.
class Probe
{
public:
    Probe(const QString &name, qreal ratio)
        : m_image(picture(name, ratio).toImage().convertToFormat(QImage::Format_RGB32)),
          m_ratio(qRound(ratio))
    {
    }

    // Ink: black, or the core of a smoothed line, but not a label.
    bool dark(int x, int y) const
    {
        return any(x, y, [](QRgb c) { return qGray(c) < 110 && qBlue(c) - qRed(c) < 60; });
    }
    // Paper, give or take the faint edge of a smoothed neighbour.
    bool white(int x, int y) const
    {
        return !any(x, y, [](QRgb c) { return qGray(c) < 200; });
    }
    bool blue(int x, int y) const
    {
        return any(x, y, [](QRgb c) { return (c & 0xffffff) == 0x0000ff; });
    }

    using Test = bool (Probe::*)(int, int) const;
    int count(const QRect &area, Test test = &Probe::dark) const
    {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += (this->*test)(x, y) ? 1 : 0;
        return n;
    }
    // The smallest rectangle holding every pixel of area that passes test.
    QRect bounds(const QRect &area, Test test = &Probe::dark) const
    {
        QRect box;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if ((this->*test)(x, y))
                    box |= QRect(x, y, 1, 1);
        return box;
    }
    int darkRuns(int y, int x1, int x2) const
    {
        int runs = 0;
        for (int x = x1; x <= x2; ++x)
            runs += dark(x, y) && (x == x1 || !dark(x - 1, y)) ? 1 : 0;
        return runs;
    }
    // A filled dot has ink on all four diagonal neighbours of its centre; a wire crossing or
    // turning there leaves at least one of them empty.
    bool dotAt(int x, int y) const
    {
        return dark(x - 1, y - 1) && dark(x + 1, y - 1) && dark(x - 1, y + 1) && dark(x + 1, y + 1);
    }

private:
    template <typename Pred> bool any(int x, int y, Pred pred) const
    {
        for (int dy = 0; dy < m_ratio; ++dy)
            for (int dx = 0; dx < m_ratio; ++dx)
                if (pred(m_image.pixel(x * m_ratio + dx, y * m_ratio + dy)))
                    return true;
        return false;
    }

    QImage m_image;
    int m_ratio;
};

const QStringList kSchematics = {"TESTG1",     "TESTG1G2", "TESTG1G2G3", "TESTG1G3", "TESTG2",
                                 "TESTG2G3",   "TESTG3",   "TESTNONE",   "TESTR1",   "TESTR1R2",
                                 "TESTR1R2R3", "TESTR1R3", "TESTR2R3",   "TESTR3"};
const QStringList kSetups = {"LABZ11", "LABZ12", "LABZ21", "LABZ22", "LABY11", "LABY12",
                             "LABY21", "LABY22", "LABH11", "LABH12", "LABH21", "LABH22",
                             "LABA",   "LABB",   "LABC",   "LABD"};

void perPicture(const QStringList &names)
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("ratio");
    for (const QString &name : names)
        for (qreal ratio : {1.0, 2.0})
            QTest::addRow("%s@%gx", qPrintable(name), ratio) << name << ratio;
}

// A set-up's port as seen from outside the two-port.
enum Port { Open, Shorted, One, Two, SeriesAmmeter, AmmeterUp, AmmeterDown };

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void catalogue() { QCOMPARE(pictureNames(), kSchematics + kSetups); }

    void sizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("ratio");
        for (const QString &name : kSchematics + kSetups)
            for (qreal ratio : {1.0, 1.5, 2.0, 3.0})
                QTest::addRow("%s@%gx", qPrintable(name), ratio) << name << ratio;
    }
    void sizes()
    {
        QFETCH(QString, name);
        QFETCH(qreal, ratio);
        const QSize logical = name.startsWith("LAB") ? QSize(240, 120) : QSize(145, 88);
        QCOMPARE(pictureSize(name), logical);
        const QPixmap pm = picture(name, ratio);
        QCOMPARE(pm.devicePixelRatio(), ratio);
        QCOMPARE(pm.size(), logical * ratio);
        // An odd size at a fractional ratio cannot come out whole in both kinds of pixel.
        QVERIFY(qAbs(pm.deviceIndependentSize().width() - logical.width()) < 0.5);
        QVERIFY(qAbs(pm.deviceIndependentSize().height() - logical.height()) < 0.5);

        const Probe p(name, ratio == 1.5 ? 1.0 : ratio);
        const int w = logical.width() - 1, h = logical.height() - 1;
        QVERIFY(p.white(0, 0) && p.white(w, 0) && p.white(0, h) && p.white(w, h));
        const int ink = p.count(QRect(QPoint(), logical));
        QVERIFY2(ink > 200 && ink < w * h / 4, qPrintable(QString::number(ink)));
    }

    void schematicWiring_data() { perPicture(kSchematics); }
    void schematicWiring()
    {
        QFETCH(QString, name);
        QFETCH(qreal, ratio);
        const Probe p(name, ratio);
        if (ratio == 1.0) {
            // A three-colour bitmap: paper, black lines, pure blue labels.
            const QImage image = picture(name).toImage().convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb c = image.pixel(x, y) & 0xffffff;
                    QVERIFY2(c == 0xffffff || c == 0 || c == 0x0000ff,
                             qPrintable(QString("%1 at %2,%3").arg(c, 6, 16).arg(x).arg(y)));
                }
        }
        // Open terminal rings, with the wires stopping at them.
        for (int x : {5, 139})
            for (int y : {15, 85}) {
                QVERIFY(p.white(x, y));
                QVERIFY(p.dark(x - 2, y) && p.dark(x + 2, y) && p.dark(x, y - 2) &&
                        p.dark(x, y + 2));
                QVERIFY(p.white(x < 72 ? x - 3 : x + 3, y) && p.white(x, y - 3));
            }
        for (int x = 8; x <= 136; ++x)
            QVERIFY2(p.dark(x, 85), qPrintable(QString("bottom line broken at %1").arg(x)));
        if (name.startsWith("TESTG")) {
            // The upper stubs always reach the branch columns; between them only G2 closes the gap.
            for (int x = 8; x <= 47; ++x)
                QVERIFY(p.dark(x, 15) && p.dark(144 - x, 15));
            int covered = 0;
            for (int x = 55; x <= 90; ++x)
                covered += p.count(QRect(x, 12, 1, 7)) > 0 ? 1 : 0;
            QCOMPARE(covered, name.contains("G2") ? 36 : 0);
            if (!name.contains("G2"))
                QCOMPARE(p.count(QRect(50, 12, 45, 7)), 0);
        }
        // Labels above the top line or beside a branch, nowhere else.
        const int blue = p.count(QRect(0, 0, 145, 88), &Probe::blue);
        QCOMPARE(p.count(QRect(0, 0, 145, 13), &Probe::blue) +
                     p.count(QRect(50, 38, 95, 25), &Probe::blue),
                 blue);
        QCOMPARE(blue > 0, name != "TESTNONE");
    }

    void elements_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QString>("element");
        QTest::addColumn<bool>("present");
        for (const QString &name : kSchematics)
            for (qreal ratio : {1.0, 2.0})
                for (const char *k : {"1", "2", "3"}) {
                    const QString element =
                        name.mid(4, 1) == "R" ? QString("R") + k : QString("G") + k;
                    QTest::addRow("%s@%gx %s", qPrintable(name), ratio, qPrintable(element))
                        << name << ratio << element << name.contains(element);
                }
    }
    void elements()
    {
        QFETCH(QString, name);
        QFETCH(qreal, ratio);
        QFETCH(QString, element);
        QFETCH(bool, present);
        const Probe p(name, ratio);
        const int at = element.endsWith('1') ? 47 : element.endsWith('2') ? 72 : 97;
        // R2, G1 and G3 are branches down to the bottom line; R1, R3 and G2 lie in the top line.
        const bool vertical = element == "R2" || element == "G1" || element == "G3";
        const QRect labelArea = vertical ? QRect(at + 3, 38, 28, 25) : QRect(at - 12, 0, 25, 13);
        const QRect label = p.bounds(labelArea, &Probe::blue);
        // Whatever lies off the wire's own row or column belongs to a resistor symbol.
        const QRect zigzag =
            vertical ? p.bounds(QRect(at - 2, 20, 2, 61)) | p.bounds(QRect(at + 1, 20, 2, 61))
                     : p.bounds(QRect(at - 16, 11, 33, 4)) | p.bounds(QRect(at - 16, 16, 33, 4));
        const int length = vertical ? zigzag.height() : zigzag.width();
        const QPoint centre = zigzag.center();
        if (!present) {
            QVERIFY(label.isEmpty() && zigzag.isEmpty());
            if (!vertical && element != "G2") // a short in the top line
                QCOMPARE(p.count(QRect(at - 16, 15, 33, 1)), 33);
            if (vertical && element != "R2") // an open branch is not drawn
                QCOMPARE(p.count(QRect(at - 3, 20, 7, 61)), 0);
            if (element == "R2") // the middle branch becomes a shorting wire
                QCOMPARE(p.count(QRect(at, 16, 1, 69)), 69);
            return;
        }
        QVERIFY2(length >= 17 && length <= 23, qPrintable(QString::number(length)));
        if (vertical) {
            QCOMPARE(zigzag.left(), at - 2);
            QCOMPARE(zigzag.right(), at + 2);
            QVERIFY(qAbs(centre.y() - 50) <= 1);
            for (int y = 16; y <= 84; ++y)
                QVERIFY(p.count(QRect(at - 2, y, 5, 1)) > 0);
            QVERIFY(qAbs(label.center().y() - 50) <= 2);
        } else {
            QCOMPARE(zigzag.top(), 13);
            QCOMPARE(zigzag.bottom(), 17);
            QVERIFY(qAbs(centre.x() - at) <= 1);
            QVERIFY(p.dark(at - 12, 15) && p.dark(at + 12, 15));
            QVERIFY(qAbs(label.center().x() - at) <= 3);
        }
        QVERIFY2(label.width() >= 8 && label.height() >= 6, "label missing or cut");
    }

    void junctions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("dot");
        for (const QString &name : kSchematics)
            for (qreal ratio : {1.0, 2.0}) {
                const bool r = name.startsWith("TESTR"), g2 = name.contains("G2");
                const bool g1 = name.contains("G1"), g3 = name.contains("G3");
                const std::pair<QPoint, bool> points[] = {{{47, 15}, g1 && g2}, {{47, 85}, g1},
                                                          {{72, 15}, r},        {{72, 85}, r},
                                                          {{97, 15}, g3 && g2}, {{97, 85}, g3}};
                for (const auto &[at, dot] : points)
                    QTest::addRow("%s@%gx %d,%d", qPrintable(name), ratio, at.x(), at.y())
                        << name << ratio << at << dot;
            }
    }
    void junctions()
    {
        QFETCH(QString, name);
        QFETCH(qreal, ratio);
        QFETCH(QPoint, at);
        QFETCH(bool, dot);
        QCOMPARE(Probe(name, ratio).dotAt(at.x(), at.y()), dot);
    }

    void setups_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<int>("port1");
        QTest::addColumn<int>("port2");
        const std::tuple<const char *, Port, Port> rows[] = {{"LABZ11", Two, Open},
                                                             {"LABZ12", One, One},
                                                             {"LABZ21", One, One},
                                                             {"LABZ22", Open, Two},
                                                             {"LABY11", SeriesAmmeter, Shorted},
                                                             {"LABY12", AmmeterUp, One},
                                                             {"LABY21", One, AmmeterUp},
                                                             {"LABY22", Shorted, SeriesAmmeter},
                                                             {"LABH11", Two, Shorted},
                                                             {"LABH12", One, One},
                                                             {"LABH21", One, AmmeterUp},
                                                             {"LABH22", Open, SeriesAmmeter},
                                                             {"LABA", One, One},
                                                             {"LABB", One, AmmeterDown},
                                                             {"LABC", One, One},
                                                             {"LABD", One, AmmeterDown}};
        for (const auto &[name, port1, port2] : rows)
            for (qreal ratio : {1.0, 2.0})
                QTest::addRow("%s@%gx", name, ratio)
                    << QString(name) << ratio << int(port1) << int(port2);
    }
    void setups()
    {
        QFETCH(QString, name);
        QFETCH(qreal, ratio);
        QFETCH(int, port1);
        QFETCH(int, port2);
        const Probe p(name, ratio);

        // The two-port's sides are the only lines 95 rows long.
        QRect box;
        for (int x = 0; x < 240; ++x)
            for (int y = 0, run = 0; y < 120; ++y)
                if ((run = p.dark(x, y) ? run + 1 : 0) == 95)
                    box |= QRect(x, 0, 1, 1);
        QCOMPARE(box.width(), 82);
        const int left = box.left();
        const bool busy1 = port1 != Open && port1 != Shorted;
        const bool busy2 = port2 != Open && port2 != Shorted;
        const auto [lo, hi] = busy1 && busy2 ? std::pair{79, 81}
                              : busy1        ? std::pair{117, 130}
                                             : std::pair{27, 36};
        QVERIFY2(left >= lo && left <= hi, qPrintable(QString::number(left)));
        int top = 0;
        while (p.count(QRect(left, top, 82, 1)) < 70)
            ++top;
        QCOMPARE(top, port1 == SeriesAmmeter || port2 == SeriesAmmeter ? 15 : 10);
        QCOMPARE(p.count(QRect(left, top + 100, 82, 2)), 164);

        const int upper = top + 21, lower = upper + 60, middle = (upper + lower) / 2;
        for (int y : {upper, lower}) {
            QVERIFY(p.dotAt(left - 14, y) && p.dotAt(left + 95, y));
            QCOMPARE(p.count(QRect(left - 14, y, 14, 1)), 14);
        }
        for (auto [port, outward] : {std::pair{port1, -1}, std::pair{port2, 1}}) {
            const int x1 = outward < 0 ? 0 : left + 99, x2 = outward < 0 ? left - 18 : 239;
            const int ink = p.count(QRect(x1, 0, x2 - x1 + 1, 120));
            // Circles across the port cut the row just above their centre twice each; one in
            // the upper wire cuts the row just above that wire.
            const int across = p.darkRuns(middle - 12, x1, x2) / 2;
            const int inWire = p.darkRuns(upper - 10, x1, x2) / 2;
            if (port == Open) {
                QCOMPARE(ink, 0);
            } else if (port == Shorted) {
                // Only a wire joining the two terminals, no instrument.
                QCOMPARE(across, 0);
                QVERIFY(ink > 55 && ink < 100);
                for (int y = upper; y <= lower; ++y)
                    QVERIFY(p.count(QRect(x1, y, x2 - x1 + 1, 1)) > 0);
            } else {
                QCOMPARE(across, port == Two ? 2 : 1);
                QCOMPARE(inWire, port == SeriesAmmeter ? 1 : 0);
            }
            if (port == AmmeterUp || port == AmmeterDown) {
                // The head is the widest part of the arrow beside the ammeter.
                const QRect band = outward < 0 ? QRect(0, 0, 19, 120) : QRect(220, 0, 20, 120);
                const QRect arrow = p.bounds(band);
                QVERIFY(arrow.height() >= 15 && arrow.height() <= 25);
                int widest = 0, widestRow = 0;
                for (int y = arrow.top(); y <= arrow.bottom(); ++y)
                    if (const int w = p.count(QRect(band.left(), y, band.width(), 1)); w > widest)
                        widest = w, widestRow = y;
                QCOMPARE(widestRow < arrow.center().y(), port == AmmeterUp);
            }
            if (port == SeriesAmmeter) {
                // The arrow above the ammeter points at the two-port.
                const QRect arrow = p.bounds(QRect(x1, 0, x2 - x1 + 1, upper - 17));
                int tallest = 0, tallestColumn = 0;
                for (int x = arrow.left(); x <= arrow.right(); ++x)
                    if (const int h = p.count(QRect(x, arrow.top(), 1, arrow.height()));
                        h > tallest)
                        tallest = h, tallestColumn = x;
                QCOMPARE(tallestColumn > arrow.center().x(), outward < 0);
            }
        }
    }

    void icons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("ratio");
        for (const char *name : {"TESTG1G2G3", "TESTR2R3", "LABZ11", "LABD"})
            for (qreal ratio : {1.0, 1.5, 2.0, 3.0})
                QTest::addRow("%s@%gx", name, ratio) << QString(name) << ratio;
    }
    void icons()
    {
        QFETCH(QString, name);
        QFETCH(qreal, ratio);
        const QIcon icon = pictureIcon(name);
        const QSize size = pictureSize(name);
        QCOMPARE(icon.actualSize(size), size);
        QCOMPARE(icon.actualSize(size * 4), size * 4);
        const QImage wanted = picture(name, ratio).toImage().convertToFormat(QImage::Format_RGB32);
        const QPixmap pm = icon.pixmap(size, ratio);
        QCOMPARE(pm.size(), size * ratio);
        QCOMPARE(pm.devicePixelRatio(), ratio);
        QCOMPARE(pm.toImage().convertToFormat(QImage::Format_RGB32), wanted);

        // Painted straight onto a high-resolution surface, as a button does.
        QImage canvas(size * ratio, QImage::Format_RGB32);
        canvas.setDevicePixelRatio(ratio);
        canvas.fill(Qt::red);
        QPainter painter(&canvas);
        icon.paint(&painter, QRect(QPoint(), size));
        painter.end();
        QCOMPARE(canvas, wanted);
    }

    void programIcon_data()
    {
        QTest::addColumn<qreal>("ratio");
        for (qreal ratio : {1.0, 2.0, 3.0})
            QTest::addRow("%gx", ratio) << ratio;
    }
    void programIcon()
    {
        QFETCH(qreal, ratio);
        const QIcon icon = kvadra::programIcon();
        QCOMPARE(icon.availableSizes(), QList<QSize>{QSize(24, 24)});
        const QPixmap pm = icon.pixmap(QSize(24, 24), ratio);
        QCOMPARE(pm.size(), QSize(24, 24) * ratio);
        QCOMPARE(pm.devicePixelRatio(), ratio);
        const QImage image = pm.toImage().convertToFormat(QImage::Format_ARGB32);
        int blue = 0, black = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                blue += image.pixel(x, y) == qRgb(0, 0, 255) ? 1 : 0;
                black += image.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
            }
        QVERIFY(blue > 60 * ratio * ratio && black > 60 * ratio * ratio);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(image.width() - 1, image.height() - 1)), 0);
    }

    void cached()
    {
        const QPixmap a = picture("TESTR1R2R3");
        QCOMPARE(picture("TESTR1R2R3").cacheKey(), a.cacheKey());
        QVERIFY(picture("TESTR1R2R3", 2.0).cacheKey() != a.cacheKey());
        QVERIFY(picture("TESTR1R2").cacheKey() != a.cacheKey());
        QPixmapCache::clear();
        QCOMPARE(picture("TESTR1R2R3").toImage(), a.toImage());
    }

    void pictureBox()
    {
        PictureBox box;
        QCOMPARE(box.sizeHint(), QSize(0, 0));
        for (const char *name : {"TESTG2", "LABH12"}) {
            box.setPictureName(name);
            QCOMPARE(box.pictureName(), QString(name));
            QCOMPARE(box.sizeHint(), pictureSize(name));
            box.resize(box.sizeHint());
            QCOMPARE(box.grab().toImage().convertToFormat(QImage::Format_RGB32),
                     picture(name).toImage().convertToFormat(QImage::Format_RGB32));
        }
    }

    void unknownNames()
    {
#ifdef QT_NO_DEBUG
        for (const char *name : {"TESTR2", "TESTg1", "LABE", "LAB", "", "G1"}) {
            QVERIFY(picture(name).isNull());
            QVERIFY(!pictureSize(name).isValid());
            QVERIFY(pictureIcon(name).isNull());
        }
#else
        QSKIP("an unknown name asserts in a debug build");
#endif
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
