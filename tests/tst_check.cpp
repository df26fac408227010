// Checking a student's own results: every parameter set right by invariants that do not restate
// its formulas, the usual slips named, exact fractions as worked by hand, and the window that
// shows them beside the calculator.
#include "support/session.h"
#include "twoport/judge.h"
#include "twoport/numbertext.h"
#include "twoport/parametersets.h"

#include <QLabel>
#include <QRandomGenerator>
#include <QtTest>

#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(kvadra::UnitPowers)

using namespace kvadra;

namespace
{
using Sets = std::array<std::optional<SetResult>, 5>;

ElementInput input(const char *schematic, const QStringList &texts,
                   UnitPowers units = {0, -3, 3, -3})
{
    ElementInput in;
    for (const Schematic &s : catalogue())
        if (QLatin1String(s.name) == QLatin1String(schematic))
            in.schematic = &s;
    for (size_t k = 0; k < 3; ++k) {
        in.texts[k] = k < size_t(texts.size()) ? texts[int(k)] : QStringLiteral("0");
        in.values[k] = readNumber(in.texts[k]);
    }
    in.units = units;
    return in;
}

const Matrix &of(const Sets &sets, ParameterSet set)
{
    return sets[size_t(set)]->values;
}

double det(const Matrix &m)
{
    return m[0] * m[3] - m[1] * m[2];
}

// Textbook conversions in units where impedance times admittance is 1 (kOhm and mS).
Matrix hFromZ(const Matrix &z)
{
    return {det(z) / z[3], z[1] / z[3], -z[2] / z[3], 1 / z[3]};
}
Matrix hFromY(const Matrix &y)
{
    return {1 / y[0], -y[1] / y[0], y[2] / y[0], det(y) / y[0]};
}
Matrix gFromZ(const Matrix &z)
{
    return {1 / z[0], -z[1] / z[0], z[2] / z[0], det(z) / z[0]};
}
Matrix gFromY(const Matrix &y)
{
    return {det(y) / y[3], y[1] / y[3], -y[2] / y[3], 1 / y[3]};
}
// I2 taken as flowing out of port 2.
Matrix abcdFromZ(const Matrix &z)
{
    return {z[0] / z[2], det(z) / z[2], 1 / z[2], z[3] / z[2]};
}
Matrix abcdFromY(const Matrix &y)
{
    return {-y[3] / y[2], -1 / y[2], -det(y) / y[2], -y[0] / y[2]};
}

void compare(const Matrix &got, const Matrix &want, const char *what)
{
    for (size_t i = 0; i < 4; ++i)
        QVERIFY2(std::abs(got[i] - want[i]) <= 1e-9 * std::max(1.0, std::abs(want[i])),
                 qPrintable(QStringLiteral("%1 entry %2: %3, not %4")
                                .arg(what)
                                .arg(i)
                                .arg(got[i], 0, 'g', 17)
                                .arg(want[i], 0, 'g', 17)));
}
} // namespace

class TestCheck : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { m_s.reset(); }

    // Which schematics have which set, as worked out from the networks: a set needs its
    // defining measurements to be possible (an open port 1 cannot take a current, a shorted
    // port 2 a voltage, and nothing passes between ports without G2 or R2).
    void setsThatExist_data()
    {
        QTest::addColumn<QString>("schematic");
        QTest::addColumn<QString>("sets");
        const std::pair<const char *, const char *> rows[] = {{"G1", "Y H"},
                                                              {"G1G2", "Z Y H G ABCD"},
                                                              {"G1G2G3", "Z Y H G ABCD"},
                                                              {"G1G3", "Z Y H G"},
                                                              {"G2", "Y H G ABCD"},
                                                              {"G2G3", "Z Y H G ABCD"},
                                                              {"G3", "Y G"},
                                                              {"NONE", "Y"},
                                                              {"R1", "Z G"},
                                                              {"R1R2", "Z Y H G ABCD"},
                                                              {"R1R2R3", "Z Y H G ABCD"},
                                                              {"R1R3", "Z Y H G"},
                                                              {"R2R3", "Z Y H G ABCD"},
                                                              {"R3", "Z H"}};
        for (const auto &[schematic, sets] : rows)
            QTest::newRow(schematic) << QString(schematic) << QString(sets);
    }
    void setsThatExist()
    {
        QFETCH(QString, schematic);
        QFETCH(QString, sets);
        const ElementInput in = input(qPrintable(schematic), {});
        QStringList have;
        for (ParameterSet set : allParameterSets) {
            if (hasSet(*in.schematic, set))
                have << setName(set);
            // A missing set says why; an existing one has nothing to say.
            QCOMPARE(missingSetReason(*in.schematic, set).isEmpty(), hasSet(*in.schematic, set));
        }
        QCOMPARE(have.join(' '), sets);
    }

    // For every schematic with random values: each set agrees with the conversions from Z and
    // from Y wherever those exist, and the sets keep the relations of a reciprocal network.
    void setsAgreeWithEveryConversion()
    {
        QRandomGenerator rng(20261207);
        for (const Schematic &s : catalogue())
            for (int round = 0; round < 20; ++round) {
                QStringList values;
                for (int k = 0; k < 3; ++k)
                    values << QString::number(rng.bounded(1, 1000) / 10.0);
                const ElementInput in = input(s.name, values);
                const Sets sets = computeSets(in);
                for (ParameterSet set : allParameterSets)
                    QCOMPARE(bool(sets[size_t(set)]), hasSet(s, set));
                const auto &z = sets[size_t(ParameterSet::Z)];
                const auto &y = sets[size_t(ParameterSet::Y)];
                const auto has = [&](ParameterSet set) { return bool(sets[size_t(set)]); };
                if (has(ParameterSet::H)) {
                    const Matrix &h = of(sets, ParameterSet::H);
                    if (z && z->values[3] != 0)
                        compare(h, hFromZ(z->values), "H from Z");
                    if (y && y->values[0] != 0)
                        compare(h, hFromY(y->values), "H from Y");
                    QCOMPARE(h[1], -h[2]);
                }
                if (has(ParameterSet::G)) {
                    const Matrix &g = of(sets, ParameterSet::G);
                    if (z && z->values[0] != 0)
                        compare(g, gFromZ(z->values), "G from Z");
                    if (y && y->values[3] != 0)
                        compare(g, gFromY(y->values), "G from Y");
                    QCOMPARE(g[1], -g[2]);
                }
                if (has(ParameterSet::ABCD)) {
                    const Matrix &t = of(sets, ParameterSet::ABCD);
                    if (z)
                        compare(t, abcdFromZ(z->values), "ABCD from Z");
                    if (y)
                        compare(t, abcdFromY(y->values), "ABCD from Y");
                    QVERIFY(std::abs(det(t) - 1) < 1e-9);
                }
                if (has(ParameterSet::H) && has(ParameterSet::G)) {
                    const Matrix &h = of(sets, ParameterSet::H), &g = of(sets, ParameterSet::G);
                    compare({g[0] * h[0] + g[1] * h[2], g[0] * h[1] + g[1] * h[3],
                             g[2] * h[0] + g[3] * h[2], g[2] * h[1] + g[3] * h[3]},
                            {1, 0, 0, 1}, "G·H");
                }
            }
    }

    // Units are taken into account: the same network in mOhm and S has the same sets in the
    // units of their kind.
    void setsInOtherUnits()
    {
        const Sets kilo = computeSets(input("R1R2R3", {"1", "2", "3"}));
        const Sets milli =
            computeSets(input("R1R2R3", {"1000000", "2000000", "3000000"}, {0, 0, -3, 0}));
        // h11 is an impedance (kOhm to mOhm: times 1e6), h22 an admittance (mS to S), h12 a ratio.
        const Matrix &a = of(kilo, ParameterSet::H), &b = of(milli, ParameterSet::H);
        QCOMPARE(b[0], a[0] * 1e6);
        QVERIFY(std::abs(b[1] - a[1]) < 1e-15);
        QVERIFY(std::abs(b[3] - a[3] / 1000) < 1e-18);
    }

    // Worked by hand: 1, 2 and 3 kOhm in a T give Δ = 11 kOhm², so y11 = 5/11 mS, h11 = 11/5
    // kOhm, g22 = 11/3 kOhm, B = 11/2 kOhm. Where the texts are no short decimals, no fraction.
    void exactFractions_data()
    {
        QTest::addColumn<QString>("schematic");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<UnitPowers>("units");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("fraction");
        const UnitPowers usual{0, -3, 3, -3}, milliOhmSiemens{0, -3, -3, 0};
        const QStringList t123{"1", "2", "3"};
        QTest::newRow("y11 of the T") << "R1R2R3" << t123 << usual << "y11"
                                      << "5/11";
        QTest::newRow("y12 negative") << "R1R2R3" << t123 << usual << "y12"
                                      << "-2/11";
        QTest::newRow("h11") << "R1R2R3" << t123 << usual << "h11"
                             << "11/5";
        QTest::newRow("g22") << "R1R2R3" << t123 << usual << "g22"
                             << "11/3";
        QTest::newRow("B") << "R1R2R3" << t123 << usual << "B"
                           << "11/2";
        QTest::newRow("an integer needs none") << "R1R2R3" << t123 << usual << "z11"
                                               << "";
        QTest::newRow("decimal comma") << "R1R2" << QStringList{"1,5", "2"} << usual << "y22"
                                       << "7/6";
        QTest::newRow("unit powers exactly") << "R1R2R3" << t123 << milliOhmSiemens << "y11"
                                             << "5000/11";
        QTest::newRow("Pi network") << "G1G2G3" << t123 << usual << "z11"
                                    << "5/11";
        QTest::newRow("too many digits")
            << "R1R2R3" << QStringList{"1.234567", "2", "3"} << usual << "y11"
            << "";
        QTest::newRow("an exponent typed") << "R1R2" << QStringList{"2e-3", "1E3"} << usual << "y22"
                                           << "500001/1000";
    }
    void exactFractions()
    {
        QFETCH(QString, schematic);
        QFETCH(QStringList, values);
        QFETCH(UnitPowers, units);
        QFETCH(QString, entry);
        QFETCH(QString, fraction);
        const Sets sets = computeSets(input(qPrintable(schematic), values, units));
        for (ParameterSet set : allParameterSets)
            for (int i = 0; i < 4; ++i)
                if (entryName(set, i) == entry)
                    QCOMPARE(sets[size_t(set)]->fraction[size_t(i)].value_or(QString()), fraction);
    }

    // The T of 1, 2 and 3 kOhm: z = [3 2; 2 5] kOhm, y = [5 -2; -2 3]/11 mS, h = [2.2 0.4;
    // -0.4 0.2], g = [1/3 -2/3; 2/3 11/3], ABCD = [1.5 5.5; 0.5 2.5].
    void slips_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("says");
        using V = Verdict;
        QTest::newRow("nothing typed") << "y11"
                                       << "" << int(V::Empty) << "";
        QTest::newRow("not a number") << "y11"
                                      << "abc" << int(V::Unreadable) << "Not a number";
        QTest::newRow("four digits") << "y11"
                                     << "0,4545" << int(V::Match) << "4 digits";
        QTest::newRow("rounded in steps") << "y11"
                                          << "0.4546" << int(V::Match) << "in steps";
        QTest::newRow("two digits") << "y11"
                                    << "0.45" << int(V::Match) << "2 digits";
        QTest::newRow("cut off") << "g22"
                                 << "3.666" << int(V::Match) << "cut off";
        QTest::newRow("lost sign") << "y12"
                                   << "0.1818" << int(V::Slip) << "sign";
        QTest::newRow("unit prefix") << "h22"
                                     << "200" << int(V::Slip) << "factor of 1000";
        QTest::newRow("prefix the other way") << "z11"
                                              << "3e-3" << int(V::Slip) << "1/1000";
        QTest::newRow("reciprocal of z11") << "y11"
                                           << "0.3333" << int(V::Slip) << "1/z11";
        QTest::newRow("indices swapped") << "z12"
                                         << "5" << int(V::Slip) << "value of z22";
        QTest::newRow("determinant") << "z11"
                                     << "11" << int(V::Slip) << "determinant";
        QTest::newRow("1 over the determinant")
            << "z11"
            << "0.0909" << int(V::Slip) << "1 over the determinant";
        QTest::newRow("same entry of Z") << "h22"
                                         << "5" << int(V::Slip) << "z22, the same entry";
        QTest::newRow("rounded too early") << "A"
                                           << "1.49" << int(V::Slip) << "too early";
        QTest::newRow("no usual slip") << "z11"
                                       << "7" << int(V::Unexplained) << "z11 = R1 + R2";
    }
    void slips()
    {
        QFETCH(QString, entry);
        QFETCH(QString, typed);
        QFETCH(int, kind);
        QFETCH(QString, says);
        const Sets sets = computeSets(input("R1R2R3", {"1", "2", "3"}));
        for (ParameterSet set : allParameterSets)
            for (int i = 0; i < 4; ++i)
                if (entryName(set, i) == entry) {
                    const Verdict v = judge(typed, set, i, sets);
                    QCOMPARE(int(v.kind), kind);
                    QVERIFY2(v.text.contains(says), qPrintable(v.text));
                }
    }

    // The window: reached from the calculator once it has calculated, following each new
    // calculation, keeping the student's values while the schematic stays, closing with it.
    void windowFollowsTheCalculator()
    {
        m_s = std::make_unique<Session>();
        m_s->click("twoport_main", "btnExercise");
        m_s->click("exercise_main", "r1r2r3");
        QVERIFY(!m_s->control("exercise_calc", "cmdCheck")->isEnabled());
        m_s->fill({"1", "2", "3"});
        m_s->calculate();
        m_s->click("exercise_calc", "cmdCheck");
        QCOMPARE(m_s->text("check_results", "h11"), QStringLiteral("2.2"));
        QCOMPARE(m_s->control<QLabel>("check_results", "lblUnith11")->text(),
                 QStringLiteral("kOhm = 11/5 kOhm"));
        m_s->type("check_results", "yourh11", "2.2");
        m_s->fill({"2", "2", "3"});
        m_s->calculate();
        QCOMPARE(m_s->text("check_results", "h11"), QStringLiteral("3.2"));
        QCOMPARE(m_s->text("check_results", "yourh11"), QStringLiteral("2.2"));
        QVERIFY(m_s->control<QLabel>("check_results", "lblVerdicth11")->text().contains("✗"));
        // Another schematic: the student's values go with the old one.
        m_s->click("exercise_main", "g1");
        m_s->fill({"2"});
        m_s->calculate();
        QCOMPARE(m_s->text("check_results", "yourh11"), QString());
        QVERIFY(!m_s->control("check_results", "z11")->isVisible());
        QVERIFY(
            m_s->control<QLabel>("check_results", "lblMissingZ")->text().startsWith("No Z matrix"));
        m_s->window("exercise_calc")->close();
        QVERIFY(!m_s->isOpen("check_results"));
    }

    // Values that make an existing set singular give the program's one error message.
    void singularSetIsAnInputError()
    {
        m_s = std::make_unique<Session>();
        m_s->exercise("R1R2R3", {"1", "2", "-2"}); // z22 = R2 + R3 = 0, so no H for these values
        m_s->boxes().answer(QMessageBox::Ok);
        m_s->click("exercise_calc", "cmdCheck");
        QCOMPARE(m_s->messages(), inputError);
        QVERIFY(m_s->control<QLabel>("check_results", "lblMissingH")->text().contains("singular"));
        QCOMPARE(m_s->text("check_results", "z11"), QStringLiteral("3"));
    }

private:
    std::unique_ptr<Session> m_s;
};

KVADRA_TEST_MAIN(TestCheck)

#include "tst_check.moc"
