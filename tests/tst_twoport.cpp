#include "twoport/calcerror.h"
#include "twoport/catalogue.h"
#include "twoport/formulas.h"
#include "twoport/numbertext.h"
#include "twoport/scaling.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace kvadra;

Q_DECLARE_METATYPE(kvadra::Matrix)

namespace
{
QStringList texts(const Matrix &m)
{
    QStringList out;
    for (double v : m)
        out << writeNumber(v);
    return out;
}

Matrix product(const Matrix &a, const Matrix &b)
{
    return {a[0] * b[0] + a[1] * b[2], a[0] * b[1] + a[1] * b[3], a[2] * b[0] + a[3] * b[2],
            a[2] * b[1] + a[3] * b[3]};
}
} // namespace

class TestTwoport : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void catalogueMatchesNames();
    void workedValues_data();
    void workedValues();
    void inversesAreInverse_data();
    void inversesAreInverse();
    void failures_data();
    void failures();
    void underflowIsNoFailure();
    void scaling_data();
    void scaling();
    void scaleDividesOnTheWayOut();
    void readNumber_data();
    void readNumber();
    void writeNumber_data();
    void writeNumber();
};

void TestTwoport::catalogueMatchesNames()
{
    const QStringList names{"G1",   "G1G2", "G1G2G3", "G1G3",   "G2",   "G2G3", "G3",
                            "NONE", "R1",   "R1R2",   "R1R2R3", "R1R3", "R2R3", "R3"};
    QStringList sorted = names;
    sorted.sort();
    QCOMPARE(names, sorted);
    for (int n = 1; n <= 14; ++n) {
        const Schematic *s = schematicByNumber(n);
        QVERIFY(s);
        QCOMPARE(int(s->number), n);
        const QString name = QLatin1String(s->name);
        QCOMPARE(name, names[n - 1]);
        QCOMPARE(QLatin1String(s->buttonName), name.toLower());
        QCOMPARE(s->pictureName(), "TEST" + name);
        const bool conductance = n <= 8;
        QCOMPARE(s->family == Family::Conductance, conductance);
        for (int k = 1; k <= 3; ++k)
            QCOMPARE(s->hasElement(k), name.contains(QString::number(k)));
        // A lone shunt or series element, or nothing at all, leaves one matrix singular.
        const int elements = int(name.count(QRegularExpression("[0-9]")));
        const bool bothExist = elements >= 2;
        QCOMPARE(s->yExists(), conductance || bothExist);
        QCOMPARE(s->zExists(), !conductance || bothExist);
    }
    QVERIFY(!schematicByNumber(0));
    QVERIFY(!schematicByNumber(15));
}

void TestTwoport::workedValues_data()
{
    QTest::addColumn<int>("procedure");
    QTest::addColumn<double>("e1");
    QTest::addColumn<double>("e2");
    QTest::addColumn<double>("e3");
    QTest::addColumn<QStringList>("expected");
    const int yG = int(Procedure::YFromConductances), zG = int(Procedure::ZFromConductances);
    const int zR = int(Procedure::ZFromResistances), yR = int(Procedure::YFromResistances);
    QTest::newRow("R1R2R3 z") << zR << 1.0 << 2.0 << 3.0 << QStringList{"3", "2", "2", "5"};
    QTest::newRow("R1R2R3 y") << yR << 1.0 << 2.0 << 3.0
                              << QStringList{"0.454545454545455", "-0.181818181818182",
                                             "-0.181818181818182", "0.272727272727273"};
    QTest::newRow("G1G2G3 y") << yG << 1.0 << 2.0 << 3.0 << QStringList{"3", "-2", "-2", "5"};
    QTest::newRow("G1G2G3 z") << zG << 1.0 << 2.0 << 3.0
                              << QStringList{"0.454545454545455", "0.181818181818182",
                                             "0.181818181818182", "0.272727272727273"};
    QTest::newRow("NONE y") << yG << 0.0 << 0.0 << 0.0 << QStringList{"0", "0", "0", "0"};
    QTest::newRow("G2 y") << yG << 0.0 << 4.0 << 0.0 << QStringList{"4", "-4", "-4", "4"};
    QTest::newRow("G1 y") << yG << 5.0 << 0.0 << 0.0 << QStringList{"5", "0", "0", "0"};
    QTest::newRow("R3 z") << zR << 0.0 << 0.0 << 7.0 << QStringList{"0", "0", "0", "7"};
    // 1/(2 mS) = 500 Ohm = 0.5 kOhm; 1/(4 mS) = 0.25 kOhm
    QTest::newRow("G1G3 z") << zG << 2.0 << 0.0 << 4.0 << QStringList{"0.5", "0", "0", "0.25"};
    QTest::newRow("R1R3 y") << yR << 2.0 << 0.0 << 4.0 << QStringList{"0.5", "0", "0", "0.25"};
    QTest::newRow("negative") << zR << -1.5 << 2.0 << 0.0 << QStringList{"0.5", "2", "2", "2"};
}

static Matrix run(int procedure, double e1, double e2, double e3, qint16 ohm = 3,
                  qint16 siemens = -3)
{
    switch (Procedure(procedure)) {
    case Procedure::YFromConductances:
        return yFromConductances(e1, e2, e3, siemens);
    case Procedure::ZFromConductances:
        return zFromConductances(e1, e2, e3, siemens, ohm);
    case Procedure::ZFromResistances:
        return zFromResistances(e1, e2, e3, ohm);
    case Procedure::YFromResistances:
        return yFromResistances(e1, e2, e3, ohm, siemens);
    case Procedure::None:
        break;
    }
    return {};
}

void TestTwoport::workedValues()
{
    QFETCH(int, procedure);
    QFETCH(double, e1);
    QFETCH(double, e2);
    QFETCH(double, e3);
    QFETCH(QStringList, expected);
    QCOMPARE(texts(run(procedure, e1, e2, e3)), expected);
}

void TestTwoport::inversesAreInverse_data()
{
    QTest::addColumn<double>("e1");
    QTest::addColumn<double>("e2");
    QTest::addColumn<double>("e3");
    QTest::addColumn<int>("ohm");
    QTest::addColumn<int>("siemens");
    QTest::newRow("defaults") << 1.0 << 2.0 << 3.0 << 3 << -3;
    QTest::newRow("base units") << 0.7 << 13.0 << 0.01 << 0 << 0;
    QTest::newRow("milli ohm") << 5.5 << 1e-3 << 2e4 << -3 << 0;
    QTest::newRow("negative") << -4.0 << 9.0 << 2.5 << 3 << -3;
}

// In display units Z·Y = I needs the scales: Z in 10^ohm ohms, Y in 10^siemens siemens.
void TestTwoport::inversesAreInverse()
{
    QFETCH(double, e1);
    QFETCH(double, e2);
    QFETCH(double, e3);
    QFETCH(int, ohm);
    QFETCH(int, siemens);
    const double scale = std::pow(10.0, ohm + siemens);
    for (bool pi : {true, false}) {
        const Matrix z = pi ? zFromConductances(e1, e2, e3, qint16(siemens), qint16(ohm))
                            : zFromResistances(e1, e2, e3, qint16(ohm));
        const Matrix y = pi ? yFromConductances(e1, e2, e3, qint16(siemens))
                            : yFromResistances(e1, e2, e3, qint16(ohm), qint16(siemens));
        const Matrix zy = product(z, y);
        const Matrix identity{1, 0, 0, 1};
        for (int i = 0; i < 4; ++i)
            QVERIFY2(std::abs(zy[i] * scale - identity[i]) < 1e-12,
                     qPrintable(QString("entry %1 is %2").arg(i).arg(zy[i] * scale)));
        QCOMPARE(z[1], z[2]);
        QCOMPARE(y[1], y[2]);
    }
}

void TestTwoport::failures_data()
{
    QTest::addColumn<int>("procedure");
    QTest::addColumn<double>("e1");
    QTest::addColumn<double>("e2");
    QTest::addColumn<double>("e3");
    const int zG = int(Procedure::ZFromConductances);
    const int zR = int(Procedure::ZFromResistances), yR = int(Procedure::YFromResistances);
    QTest::newRow("G1G2 G1=0") << zG << 0.0 << 2.0 << 0.0;
    QTest::newRow("G1G3 G3=0") << zG << 1.0 << 0.0 << 0.0;
    QTest::newRow("R1R2 R2=0") << yR << 1.0 << 0.0 << 0.0;
    QTest::newRow("R1R3 R1=0") << yR << 0.0 << 0.0 << 3.0;
    QTest::newRow("cancelling delta") << yR << 1.0 << 1.0 << -0.5;
    QTest::newRow("overflow on the way in") << zR << 1e306 << 0.0 << 0.0;
    QTest::newRow("overflow in a sum") << zR << 1e305 << 1e305 << 0.0;
    QTest::newRow("overflow in delta") << zG << 1e200 << 1e200 << 0.0;
    QTest::newRow("overflow on the way out") << zG << 1e-200 << 1e-200 << 0.0;
}

void TestTwoport::failures()
{
    QFETCH(int, procedure);
    QFETCH(double, e1);
    QFETCH(double, e2);
    QFETCH(double, e3);
    QVERIFY_THROWS_EXCEPTION(CalcError, run(procedure, e1, e2, e3));
}

void TestTwoport::underflowIsNoFailure()
{
    // 1e-200 kOhm squared underflows in Δ's products only partly; the sums stay finite.
    const Matrix z = zFromResistances(1e-310, 0.0, 1e-310, 0);
    QCOMPARE(z[0], 1e-310);
    const Matrix y = yFromConductances(1e-320, 0.0, 0.0, -3);
    QVERIFY(std::fpclassify(y[0]) == FP_SUBNORMAL || y[0] == 0.0);
}

void TestTwoport::scaling_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("power");
    QTest::addColumn<double>("toBase");
    QTest::addColumn<double>("fromBase");
    QTest::newRow("kilo") << 2.0 << 3 << 2000.0 << 0.002;
    QTest::newRow("milli") << 2.0 << -3 << 0.002 << 2000.0;
    QTest::newRow("base") << -7.25 << 0 << -7.25 << -7.25;
    QTest::newRow("zero") << 0.0 << 3 << 0.0 << 0.0;
    QTest::newRow("subnormal") << 1e-320 << -3 << 1e-320 * 0.001 << 1e-320 / 0.001;
}

void TestTwoport::scaling()
{
    QFETCH(double, x);
    QFETCH(int, power);
    QFETCH(double, toBase);
    QFETCH(double, fromBase);
    const qint16 p = qint16(power);
    for (double v : {ohmToBase(x, p), siemensToBase(x, p), voltToBase(x, p), ampereToBase(x, p)})
        QCOMPARE(v, toBase);
    QCOMPARE(ohmFromBase(x, p), fromBase);
    QCOMPARE(siemensFromBase(x, p), fromBase);
    QVERIFY_THROWS_EXCEPTION(CalcError, ohmToBase(std::numeric_limits<double>::max(), 3));
    QVERIFY_THROWS_EXCEPTION(CalcError, siemensFromBase(std::numeric_limits<double>::max(), -3));
}

// Dividing by 10^p and multiplying by 10^-p differ in the last bit for some values; the stored
// results must come from the division.
void TestTwoport::scaleDividesOnTheWayOut()
{
    int differing = 0;
    for (int i = 1; i < 1000; ++i) {
        const double x = i * 0.7;
        QCOMPARE(ohmFromBase(x, 3), x / std::pow(10.0, 3.0));
        QCOMPARE(siemensFromBase(x, -3), x / std::pow(10.0, -3.0));
        if (siemensFromBase(x, -3) != x * 1000.0)
            ++differing;
    }
    QVERIFY(differing > 0);
}

void TestTwoport::readNumber_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    for (const char *loc : {"C", "en_US", "de_DE", "fr_FR"}) {
        const QString l = QLatin1String(loc);
        auto row = [&](const char *tag, const QString &text, bool ok, double value) {
            QTest::addRow("%s %s", loc, tag) << l << text << ok << value;
        };
        row("point", "1.5", true, 1.5);
        row("comma", "1,5", true, 1.5);
        row("integer", "42", true, 42.0);
        row("blanks", "  2.5 ", true, 2.5);
        row("exponent", "1e3", true, 1000.0);
        row("upper exponent", "2.5E-3", true, 0.0025);
        row("sign", "-0.25", true, -0.25);
        row("plus", "+3", true, 3.0);
        row("leading separator", ".5", true, 0.5);
        row("negative zero", "-0", true, 0.0);
        row("empty", "", false, 0);
        row("blank", "   ", false, 0);
        row("two separators", "1.000,5", false, 0);
        row("two points", "1.2.3", false, 0);
        row("word", "abc", false, 0);
        row("trailing word", "12 V", false, 0);
        row("inf", "inf", false, 0);
        row("nan", "nan", false, 0);
        row("too large", "1e999", false, 0);
        row("digits then letter", "5x", false, 0);
    }
}

void TestTwoport::readNumber()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    QLocale::setDefault(QLocale(locale));
    if (ok)
        QCOMPARE(kvadra::readNumber(text), value);
    else
        QVERIFY_THROWS_EXCEPTION(CalcError, kvadra::readNumber(text));
}

void TestTwoport::writeNumber_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("third") << "C" << 5.0 / 11.0 << "0.454545454545455";
    QTest::newRow("third de") << "de_DE" << 5.0 / 11.0 << "0,454545454545455";
    QTest::newRow("third fr") << "fr_FR" << -2.0 / 11.0 << "-0,181818181818182";
    QTest::newRow("no grouping") << "en_US" << 2500.0 << "2500";
    QTest::newRow("no grouping de") << "de_DE" << 1234567.0 << "1234567";
    QTest::newRow("no trailing zeros") << "C" << 0.5 << "0.5";
    QTest::newRow("small plain") << "C" << 1e-4 << "0.0001";
    QTest::newRow("small exponent") << "C" << 1e-5 << "1E-05";
    QTest::newRow("large plain") << "C" << 999999999999999.0 << "999999999999999";
    QTest::newRow("large exponent") << "C" << 2e15 << "2E+15";
    QTest::newRow("large exponent de") << "de_DE" << 2.5e20 << "2,5E+20";
    QTest::newRow("negative zero") << "C" << -0.0 << "0";
    QTest::newRow("fifteen digits") << "C" << 0.1 + 0.2 << "0.3";
}

void TestTwoport::writeNumber()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(kvadra::writeNumber(value), text);
    QCOMPARE(kvadra::readNumber(text),
             text == "0" ? 0.0 : std::stod(QString(text).replace(',', '.').toStdString()));
}

QTEST_GUILESS_MAIN(TestTwoport)
#include "tst_twoport.moc"
