#include "resources/pictures.h"
#include "support/table.h"

#include <QImage>
#include <QSet>
#include <QtTest>

using namespace kvadra;

namespace
{
QImage image(const QString &name, int ratio)
{
    return picture(name, ratio).toImage().convertToFormat(QImage::Format_RGB32);
}

// The pure blue of the element labels, as device pixel offsets.
QSet<qsizetype> labelPixels(const QString &name)
{
    const QImage im = image(name, 1);
    const auto *px = reinterpret_cast<const QRgb *>(im.constBits());
    QSet<qsizetype> out;
    for (qsizetype i = 0; i < im.width() * im.height(); ++i)
        if ((px[i] & 0xffffff) == 0x0000ff)
            out.insert(i);
    return out;
}
} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void drawn_data()
    {
        columns<QString, int>("name", "ratio");
        for (const QString &name : pictureNames())
            for (int ratio : {1, 2})
                QTest::addRow("%s@%dx", qPrintable(name), ratio) << name << ratio;
    }
    // The logical size at either ratio, some ink but no flood, and at ratio 2 drawn afresh
    // rather than the ratio 1 picture with its pixels doubled.
    void drawn()
    {
        QFETCH(QString, name);
        QFETCH(int, ratio);
        const QPixmap pm = picture(name, ratio);
        const QSize logical = name.startsWith("TEST") ? QSize(145, 88) : QSize(240, 120);
        QCOMPARE(pictureSize(name), logical);
        QCOMPARE(pm.devicePixelRatio(), qreal(ratio));
        QCOMPARE(pm.size(), logical * ratio);
        const QImage im = image(name, ratio);
        int ink = 0;
        for (int y = 0; y < im.height(); ++y)
            for (int x = 0; x < im.width(); ++x)
                ink += qGray(im.pixel(x, y)) < 110 ? 1 : 0;
        QVERIFY2(ink > 100 * ratio * ratio && ink < im.width() * im.height() / 4,
                 qPrintable(QString::number(ink)));
        QImage doubled = image(name, 1).scaled(im.size());
        doubled.setDevicePixelRatio(ratio);
        QCOMPARE(im == doubled, ratio == 1);
    }

    // Each element is labelled where it is drawn, the same in every schematic that has it: one
    // schematic's labels are among another's exactly when its elements are. So no two
    // schematics look alike either.
    void labelsFollowTheElements()
    {
        const QStringList names = pictureNames().filter("TEST");
        QList<QSet<qsizetype>> labels;
        QList<QSet<QString>> elements;
        for (const QString &name : names) {
            labels << labelPixels(name);
            elements << QSet<QString>();
            for (int i = 4; i + 1 < name.size() && name != "TESTNONE"; i += 2)
                elements.last() << name.mid(i, 2);
        }
        QVERIFY(labels[names.indexOf("TESTNONE")].isEmpty());
        for (int s = 0; s < names.size(); ++s)
            for (int t = 0; t < names.size(); ++t)
                QVERIFY2(labels[t].contains(labels[s]) == elements[t].contains(elements[s]),
                         qPrintable(names[s] + " in " + names[t]));
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
