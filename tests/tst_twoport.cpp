#include "support/rows.h"
#include "twoport/calcerror.h"
#include "twoport/catalogue.h"
#include "twoport/formulas.h"
#include "twoport/numbertext.h"
#include "twoport/scaling.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace kvadra;

namespace
{
// Elements 1 to 3 as blank-separated text in display units, by default kOhm and mS.
Matrix run(Procedure procedure, const QString &elements, qint16 ohm = 3, qint16 siemens = -3)
{
    const QStringList e = words(elements);
    return runProcedure(procedure, e[0].toDouble(), e[1].toDouble(), e[2].toDouble(), ohm, siemens);
}

const double unreadable = std::numeric_limits<double>::quiet_NaN();
} // namespace

class TestTwoport : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // A lone shunt or series element, or none at all, leaves one matrix singular: no Z for an
    // open-circuit shunt, no Y for a short-circuit series path.
    void matricesThatExist()
    {
        for (const Schematic &s : catalogue()) {
            const QString name = QLatin1String(s.name);
            const bool conductance = !name.startsWith('R');
            const bool both = name.count(QRegularExpression("[0-9]")) >= 2;
            QCOMPARE(s.family == Family::Conductance, conductance);
            QCOMPARE(s.yExists(), conductance || both);
            QCOMPARE(s.zExists(), !conductance || both);
        }
    }

    // Procedure, elements in kOhm or mS, the texts expected (none: the procedure throws). The
    // full networks' digits are checked through the calculator window.
    void procedures_data()
    {
        addRows({// 1/(2 mS) = 0.5 kOhm: the inversion with a missing middle element.
                 "zG|2 0 4|0.5 0 0 0.25", "zR|-1.5 2 0|0.5 2 2 2", "zG|0 2 0|",
                 // Overflows on the way in, in a sum, in the determinant and on the way out.
                 "zR|1e306 0 0|", "zR|1e305 1e305 0|", "zG|1e200 1e200 0|", "zG|1e-200 1e-200 0|"});
    }
    void procedures()
    {
        const QStringList row = fields();
        const auto procedure = Procedure(QStringList{"", "yG", "zG", "zR", "yR"}.indexOf(row[0]));
        if (row[2].isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(CalcError, run(procedure, row[1]));
            return;
        }
        QStringList got;
        for (double v : run(procedure, row[1]))
            got << kvadra::writeNumber(v);
        QCOMPARE(got.join(' '), row[2]);
    }

    // Results too small for a normal double are still results, not an overflow.
    void subnormalIsNoFailure() { QCOMPARE(zFromResistances(1e-310, 0, 1e-310, 0)[3], 1e-310); }

    // In display units Z·Y = I needs the scales: Z in 10^ohm ohms, Y in 10^siemens siemens.
    void inversesAreInverse_data() { addRows({"1 2 3|3|-3", "-4 1e-3 2e4|-3|0"}); }
    void inversesAreInverse()
    {
        const QStringList row = fields();
        const QString e = row[0];
        const qint16 ohm = qint16(row[1].toInt()), siemens = qint16(row[2].toInt());
        const double scale = std::pow(10.0, ohm + siemens);
        for (auto [zp, yp] :
             {std::pair{Procedure::ZFromConductances, Procedure::YFromConductances},
              std::pair{Procedure::ZFromResistances, Procedure::YFromResistances}}) {
            const Matrix z = run(zp, e, ohm, siemens), y = run(yp, e, ohm, siemens);
            const Matrix zy{z[0] * y[0] + z[1] * y[2], z[0] * y[1] + z[1] * y[3],
                            z[2] * y[0] + z[3] * y[2], z[2] * y[1] + z[3] * y[3]};
            for (int i = 0; i < 4; ++i)
                QVERIFY2(std::abs(zy[i] * scale - (i % 3 == 0)) < 1e-12,
                         qPrintable(QString("entry %1 is %2").arg(i).arg(zy[i] * scale)));
        }
    }

    // Dividing by 10^p and multiplying by 10^-p differ in the last bit for some values; the
    // test solver compares bit for bit, so the results must come from the division.
    void scaleDividesOnTheWayOut()
    {
        int differing = 0;
        for (int i = 1; i < 1000; ++i) {
            const double x = i * 0.7;
            QCOMPARE(ohmFromBase(x, 3), x / 1000.0);
            QCOMPARE(siemensFromBase(x, -3), x / 0.001);
            differing += siemensFromBase(x, -3) != x * 1000.0 ? 1 : 0;
        }
        QVERIFY(differing > 0);
        QVERIFY_THROWS_EXCEPTION(CalcError, ohmToBase(std::numeric_limits<double>::max(), 3));
        QVERIFY_THROWS_EXCEPTION(CalcError,
                                 siemensFromBase(std::numeric_limits<double>::max(), -3));
    }

    void readNumber_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value"); // NaN: unreadable
        const std::pair<const char *, double> rows[] = {
            {"1.5", 1.5},          {"1,5", 1.5},         {"1,000", 1},
            {"  2.5E-3 ", 0.0025}, {"", unreadable},     {"1.000,5", unreadable},
            {"inf", unreadable},   {"1e999", unreadable}};
        for (const char *loc : {"en_US", "de_DE"})
            for (const auto &[text, value] : rows)
                QTest::addRow("%s '%s'", loc, text) << QString(loc) << QString(text) << value;
    }
    void readNumber()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(double, value);
        QLocale::setDefault(QLocale(locale));
        if (std::isnan(value))
            QVERIFY_THROWS_EXCEPTION(CalcError, kvadra::readNumber(text));
        else
            QCOMPARE(kvadra::readNumber(text), value);
    }

    void writeNumber_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("fifteen digits") << "C" << 5.0 / 11.0 << "0.454545454545455";
        QTest::newRow("comma") << "de_DE" << -2.0 / 11.0 << "-0,181818181818182";
        QTest::newRow("no grouping") << "en_US" << 2500.0 << "2500";
        QTest::newRow("small plain") << "C" << 1e-4 << "0.0001";
        QTest::newRow("small exponent") << "C" << 1e-5 << "1E-05";
        QTest::newRow("large plain") << "C" << 999999999999999.0 << "999999999999999";
        QTest::newRow("large exponent") << "C" << 2e15 << "2E+15";
        QTest::newRow("negative zero") << "C" << -0.0 << "0";
        QTest::newRow("largest") << "C" << -std::numeric_limits<double>::max()
                                 << "-1.79769313486231E+308";
    }
    void writeNumber()
    {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(kvadra::writeNumber(value), text);
        // What is written reads back as the value shown.
        QCOMPARE(kvadra::readNumber(text),
                 std::stod(QString(text).replace(',', '.').toStdString()));
    }
};

QTEST_GUILESS_MAIN(TestTwoport)
#include "tst_twoport.moc"
