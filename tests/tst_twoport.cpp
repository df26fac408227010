#include "support/table.h"
#include "twoport/calcerror.h"
#include "twoport/formulas.h"
#include "twoport/numbertext.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace kvadra;

namespace
{
using Elements = QList<double>;

// Elements 1 to 3 in display units, by default kOhm and mS.
Matrix run(Procedure procedure, const Elements &e, int ohm = 3, int siemens = -3)
{
    return runProcedure(procedure, e[0], e[1], e[2], qint16(ohm), qint16(siemens));
}

const double unreadable = std::numeric_limits<double>::quiet_NaN();

// The value of a text, or NaN where it is refused.
double read(const QString &text)
{
    try {
        return readNumber(text);
    } catch (const CalcError &) {
        return unreadable;
    }
}
} // namespace

class TestTwoport : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // The full networks' digits are checked through the calculator window.
    void procedures_data()
    {
        // elements: kOhm or mS; shown: none where the procedure fails.
        columns<Procedure, Elements, QStringList>("procedure", "elements", "shown");
        const auto zG = Procedure::ZFromConductances, zR = Procedure::ZFromResistances;
        const QStringList fails;
        // clang-format off
        QTest::newRow("Z of G1, G3: 1/(2 mS) = 0.5 kOhm")
            << zG << Elements{2, 0, 4} << QStringList{"0.5", "0", "0", "0.25"};
        QTest::newRow("Z of R1, R2")
            << zR << Elements{-1.5, 2, 0} << QStringList{"0.5", "2", "2", "2"};
        QTest::newRow("Z of G2 alone")               << zG << Elements{0, 2, 0}           << fails;
        QTest::newRow("overflow into ohms")          << zR << Elements{1e306, 0, 0}       << fails;
        QTest::newRow("overflow in a sum")           << zR << Elements{1e305, 1e305, 0}   << fails;
        QTest::newRow("overflow in the determinant") << zG << Elements{1e200, 1e200, 0}   << fails;
        QTest::newRow("the determinant underflows")  << zG << Elements{1e-200, 1e-200, 0} << fails;
        QTest::newRow("overflow on the way out")
            << Procedure::YFromResistances << Elements{1e-309, 1e297, 0} << fails;
        // clang-format on
    }
    void procedures()
    {
        QFETCH(Procedure, procedure);
        QFETCH(Elements, elements);
        QFETCH(QStringList, shown);
        if (shown.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(CalcError, run(procedure, elements));
            return;
        }
        QStringList got;
        for (double v : run(procedure, elements))
            got << kvadra::writeNumber(v);
        QCOMPARE(got, shown);
    }

    // Results too small for a normal double are still results, not an overflow.
    void subnormalIsNoFailure()
    {
        QCOMPARE(run(Procedure::ZFromResistances, {1e-310, 0, 1e-310}, 0)[3], 1e-310);
    }

    // In display units Z·Y = I needs the scales: Z in 10^ohm ohms, Y in 10^siemens siemens.
    void inversesAreInverse_data()
    {
        columns<Elements, int, int>("elements", "ohm", "siemens");
        QTest::newRow("kOhm and mS") << Elements{1, 2, 3} << 3 << -3;
        QTest::newRow("mOhm and S, a negative element") << Elements{-4, 1e-3, 2e4} << -3 << 0;
    }
    void inversesAreInverse()
    {
        QFETCH(Elements, elements);
        QFETCH(int, ohm);
        QFETCH(int, siemens);
        for (auto [zp, yp] :
             {std::pair{Procedure::ZFromConductances, Procedure::YFromConductances},
              std::pair{Procedure::ZFromResistances, Procedure::YFromResistances}}) {
            const Matrix z = run(zp, elements, ohm, siemens), y = run(yp, elements, ohm, siemens);
            const Matrix zy{z[0] * y[0] + z[1] * y[2], z[0] * y[1] + z[1] * y[3],
                            z[2] * y[0] + z[3] * y[2], z[2] * y[1] + z[3] * y[3]};
            for (int i = 0; i < 4; ++i)
                QVERIFY2(std::abs(zy[i] * std::pow(10.0, ohm + siemens) - (i % 3 == 0)) < 1e-12,
                         qPrintable(QString("entry %1 of Z·Y is %2").arg(i).arg(zy[i])));
        }
    }

    // A series resistor alone is its own z11, so the value typed comes back unchanged. That
    // takes a division by 10^3 on the way out: multiplying by 10^-3 misses the last bit for a
    // fifth of these values.
    void typedValueComesBack()
    {
        for (int i = 1; i < 1000; ++i)
            QVERIFY2(run(Procedure::ZFromResistances, {i * 0.7, 0, 0})[0] == i * 0.7,
                     qPrintable(QString::number(i)));
    }

    void readNumber_data()
    {
        // value: NaN where the text is refused.
        columns<QString, QString, double>("locale", "text", "value");
        const std::pair<const char *, double> rows[] = {
            {"1.5", 1.5},          {"1,5", 1.5},         {"1,000", 1},
            {"  2.5E-3 ", 0.0025}, {"", unreadable},     {"1.000,5", unreadable},
            {"inf", unreadable},   {"1e999", unreadable}};
        for (const char *loc : {"C", "en_US", "de_DE", "fr_FR"})
            for (const auto &[text, value] : rows)
                QTest::addRow("%s '%s'", loc, text) << QString(loc) << QString(text) << value;
    }
    void readNumber()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(double, value);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(read(text), value);
    }

    // What the judge and the exact values rest on: the digits as typed, and the last one's place.
    void typedDigits_data()
    {
        columns<QString, QString, int, int>("text", "digits", "exponent", "significant");
        QTest::newRow("leading zeros are no digits") << "0.045"
                                                     << "45" << -3 << 2;
        QTest::newRow("trailing zeros are") << "-1.50"
                                            << "150" << -2 << 3;
        QTest::newRow("comma and exponent") << " 2,5E-3 "
                                            << "25" << -4 << 2;
        QTest::newRow("zero keeps its place") << "0.00"
                                              << "0" << -2 << 1;
        QTest::newRow("more digits than a double holds") << "0.11111111111111111111"
                                                         << "11111111111111111111" << -20 << 20;
        QTest::newRow("a point alone ends it") << "5."
                                               << "5" << 0 << 1;
    }
    void typedDigits()
    {
        QFETCH(QString, text);
        QFETCH(QString, digits);
        QFETCH(int, exponent);
        QFETCH(int, significant);
        for (const char *loc : {"C", "de_DE"}) {
            QLocale::setDefault(QLocale(loc));
            const TypedNumber t = readTypedNumber(text);
            QCOMPARE(t.digits, digits);
            QCOMPARE(t.exponent, exponent);
            QCOMPARE(t.significant(), significant);
            QCOMPARE(t.negative, text.trimmed().startsWith('-'));
            QCOMPARE(t.value, read(text));
        }
    }

    void writeNumber_data()
    {
        columns<QString, double, QString>("locale", "value", "text");
        QTest::newRow("fifteen digits") << "C" << 5.0 / 11.0 << "0.454545454545455";
        QTest::newRow("comma") << "de_DE" << -2.0 / 11.0 << "-0,181818181818182";
        QTest::newRow("comma, no grouping") << "fr_FR" << 2500.5 << "2500,5";
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
        QCOMPARE(read(text), std::stod(QString(text).replace(',', '.').toStdString()));
    }
};

QTEST_GUILESS_MAIN(TestTwoport)
#include "tst_twoport.moc"
