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

Q_DECLARE_METATYPE(kvadra::UnitPowers)

using namespace kvadra;

namespace
{
using Sets = std::array<std::optional<SetResult>, 5>;
const QString calc = QStringLiteral("exercise_calc"), check = QStringLiteral("check_results");

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

// The set and the index of an entry as the window names it ("y12", "A").
std::pair<ParameterSet, int> whereIs(const QString &name)
{
    for (ParameterSet set : allParameterSets)
        for (int i = 0; i < 4; ++i)
            if (entryName(set, i) == name)
                return {set, i};
    qFatal("no entry %s", qPrintable(name));
}

double det(const Matrix &m)
{
    return m[0] * m[3] - m[1] * m[2];
}

// Textbook conversions in units where impedance times admittance is 1 (kOhm and mS): entries of
// Z or Y and their determinant d, all over one entry. I2 taken as flowing out of port 2 for ABCD.
struct Conversion {
    ParameterSet to, from;
    Matrix (*numerators)(const Matrix &m, double d);
    size_t over;
};
using P = ParameterSet;
// clang-format off
const Conversion conversions[] = {
    {P::H, P::Z, [](const Matrix &z, double d) -> Matrix { return {d, z[1], -z[2], 1}; }, 3},
    {P::H, P::Y, [](const Matrix &y, double d) -> Matrix { return {1, -y[1], y[2], d}; }, 0},
    {P::G, P::Z, [](const Matrix &z, double d) -> Matrix { return {1, -z[1], z[2], d}; }, 0},
    {P::G, P::Y, [](const Matrix &y, double d) -> Matrix { return {d, y[1], -y[2], 1}; }, 3},
    {P::ABCD, P::Z, [](const Matrix &z, double d) -> Matrix { return {z[0], d, 1, z[3]}; }, 2},
    {P::ABCD, P::Y, [](const Matrix &y, double d) -> Matrix { return {-y[3], -1, -d, -y[0]}; }, 2},
};
// clang-format on

void compare(const Matrix &got, const Matrix &want, const QString &what)
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

class TestCheck : public SessionTest
{
    Q_OBJECT
private slots:
    // Which schematics have which set, as worked out from the networks: a set needs its
    // defining measurements to be possible (an open port 1 cannot take a current, a shorted
    // port 2 a voltage, and nothing passes between ports without G2 or R2).
    void setsThatExist_data()
    {
        columns<QString, QString>("schematic", "sets");
        // clang-format off
        const std::pair<const char *, const char *> rows[] = {
            {"G1", "Y H"}, {"G1G2", "Z Y H G ABCD"}, {"G1G2G3", "Z Y H G ABCD"}, {"G1G3", "Z Y H G"},
            {"G2", "Y H G ABCD"}, {"G2G3", "Z Y H G ABCD"}, {"G3", "Y G"}, {"NONE", "Y"},
            {"R1", "Z G"}, {"R1R2", "Z Y H G ABCD"}, {"R1R2R3", "Z Y H G ABCD"},
            {"R1R3", "Z Y H G"}, {"R2R3", "Z Y H G ABCD"}, {"R3", "Z H"}};
        // clang-format on
        for (const auto &[schematic, sets] : rows)
            QTest::newRow(schematic) << QString(schematic) << QString(sets);
    }
    void setsThatExist()
    {
        QFETCH(QString, schematic);
        QFETCH(QString, sets);
        const Schematic &s = *input(qPrintable(schematic), {}).schematic;
        // The G schematics and the empty one take conductances.
        QCOMPARE(s.family == Family::Conductance, !schematic.startsWith('R'));
        for (ParameterSet set : allParameterSets) {
            QVERIFY2(hasSet(s, set) == sets.split(' ').contains(setName(set)),
                     qPrintable(setName(set)));
            // A missing set says why; an existing one has nothing to say.
            QCOMPARE(missingSetReason(s, set).isEmpty(), hasSet(s, set));
        }
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
                const Sets sets = computeSets(input(s.name, values));
                for (ParameterSet set : allParameterSets)
                    QCOMPARE(bool(sets[size_t(set)]), hasSet(s, set));
                for (const Conversion &c : conversions) {
                    const auto &to = sets[size_t(c.to)], &from = sets[size_t(c.from)];
                    if (!to || !from || from->values[c.over] == 0)
                        continue;
                    Matrix want = c.numerators(from->values, det(from->values));
                    for (double &v : want)
                        v /= from->values[c.over];
                    compare(to->values, want, setName(c.to) + " from " + setName(c.from));
                }
                // A reciprocal network: h12 = -h21, g12 = -g21 and AD - BC = 1. G and H, agreeing
                // with the conversions from the same matrix, are each other's inverse.
                for (ParameterSet set : {P::H, P::G})
                    if (const auto &m = sets[size_t(set)])
                        QCOMPARE(m->values[1], -m->values[2]);
                if (const auto &t = sets[size_t(P::ABCD)])
                    QVERIFY(std::abs(det(t->values) - 1) < 1e-9);
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
        const Matrix &a = kilo[size_t(P::H)]->values, &b = milli[size_t(P::H)]->values;
        QCOMPARE(b[0], a[0] * 1e6);
        QVERIFY(std::abs(b[1] - a[1]) < 1e-15);
        QVERIFY(std::abs(b[3] - a[3] / 1000) < 1e-18);
    }

    // Worked by hand: 1, 2 and 3 kOhm in a T give Δ = 11 kOhm², so y11 = 5/11 mS, h11 = 11/5
    // kOhm, g22 = 11/3 kOhm, B = 11/2 kOhm. Where the texts are no short decimals, no fraction.
    void exactFractions_data()
    {
        columns<QString, QStringList, UnitPowers, QString, QString>("schematic", "values", "units",
                                                                    "entry", "fraction");
        auto row = [&](const char *what, const char *schematic, const QString &entry,
                       const QString &fraction, const QStringList &values = {"1", "2", "3"},
                       UnitPowers units = {0, -3, 3, -3}) {
            QTest::newRow(what) << QString(schematic) << values << units << entry << fraction;
        };
        row("y11 of the T", "R1R2R3", "y11", "5/11");
        row("y12 negative", "R1R2R3", "y12", "-2/11");
        row("h11", "R1R2R3", "h11", "11/5");
        row("g22", "R1R2R3", "g22", "11/3");
        row("B", "R1R2R3", "B", "11/2");
        row("an integer needs none", "R1R2R3", "z11", "");
        row("decimal comma", "R1R2", "y22", "7/6", {"1,5", "2"});
        row("unit powers exactly", "R1R2R3", "y11", "5000/11", {"1", "2", "3"}, {0, -3, -3, 0});
        row("Pi network", "G1G2G3", "z11", "5/11");
        row("too many digits", "R1R2R3", "y11", "", {"1.234567", "2", "3"});
        row("an exponent typed", "R1R2", "y22", "500001/1000", {"2e-3", "1E3"});
    }
    void exactFractions()
    {
        QFETCH(QString, schematic);
        QFETCH(QStringList, values);
        QFETCH(UnitPowers, units);
        QFETCH(QString, entry);
        QFETCH(QString, fraction);
        const Sets sets = computeSets(input(qPrintable(schematic), values, units));
        const auto [set, i] = whereIs(entry);
        QCOMPARE(sets[size_t(set)]->fraction[size_t(i)].value_or(QString()), fraction);
    }

    // The T of 1, 2 and 3 kOhm: z = [3 2; 2 5] kOhm, y = [5 -2; -2 3]/11 mS, h = [2.2 0.4;
    // -0.4 0.2], g = [1/3 -2/3; 2/3 11/3], ABCD = [1.5 5.5; 0.5 2.5].
    void slips_data()
    {
        columns<QString, QString, Verdict::Kind, QString>("entry", "typed", "kind", "says");
        auto row = [](const char *what, const char *entry, const char *typed, Verdict::Kind kind,
                      const char *says) {
            QTest::newRow(what) << QString(entry) << QString(typed) << kind << QString(says);
        };
        row("nothing typed", "y11", "", Verdict::Empty, "");
        row("not a number", "y11", "abc", Verdict::Unreadable, "Not a number");
        row("four digits", "y11", "0,4545", Verdict::Match, "4 digits");
        row("rounded in steps", "y11", "0.4546", Verdict::Match, "in steps");
        row("two digits", "y11", "0.45", Verdict::Match, "2 digits");
        row("cut off", "g22", "3.666", Verdict::Match, "cut off");
        row("lost sign", "y12", "0.1818", Verdict::Slip, "sign");
        row("unit prefix", "h22", "200", Verdict::Slip, "factor of 1000");
        row("prefix the other way", "z11", "3e-3", Verdict::Slip, "1/1000");
        row("reciprocal of z11", "y11", "0.3333", Verdict::Slip, "1/z11");
        row("indices swapped", "z12", "5", Verdict::Slip, "value of z22");
        row("determinant", "z11", "11", Verdict::Slip, "determinant");
        row("1 over the determinant", "z11", "0.0909", Verdict::Slip, "1 over the determinant");
        row("same entry of Z", "h22", "5", Verdict::Slip, "z22, the same entry");
        row("rounded too early", "A", "1.49", Verdict::Slip, "too early");
        row("no usual slip", "z11", "7", Verdict::Unexplained, "z11 = R1 + R2");
    }
    void slips()
    {
        QFETCH(QString, entry);
        QFETCH(QString, typed);
        QFETCH(Verdict::Kind, kind);
        QFETCH(QString, says);
        const auto [set, i] = whereIs(entry);
        const Verdict v = judge(typed, set, i, computeSets(input("R1R2R3", {"1", "2", "3"})));
        QCOMPARE(v.kind, kind);
        QVERIFY2(v.text.contains(says), qPrintable(v.text));
    }

    // The window: reached from the calculator once it has calculated, following each new
    // calculation, keeping the student's values while the schematic stays, closing with it.
    void windowFollowsTheCalculator()
    {
        m_s->click("twoport_main", "btnExercise");
        m_s->click("exercise_main", "r1r2r3");
        QVERIFY(!m_s->control(calc, "cmdCheck")->isEnabled());
        m_s->fill({"1", "2", "3"});
        m_s->calculate();
        m_s->click(calc, "cmdCheck");
        QCOMPARE(m_s->text(check, "h11"), QStringLiteral("2.2"));
        QCOMPARE(m_s->control<QLabel>(check, "lblUnith11")->text(),
                 QStringLiteral("kOhm = 11/5 kOhm"));
        m_s->type(check, "yourh11", "2.2");
        m_s->fill({"2", "2", "3"});
        m_s->calculate();
        QCOMPARE(m_s->text(check, "h11"), QStringLiteral("3.2"));
        QCOMPARE(m_s->text(check, "yourh11"), QStringLiteral("2.2"));
        QVERIFY(m_s->control<QLabel>(check, "lblVerdicth11")->text().contains("✗"));
        // Another schematic: the student's values go with the old one.
        m_s->click("exercise_main", "g1");
        m_s->fill({"2"});
        m_s->calculate();
        QCOMPARE(m_s->text(check, "yourh11"), QString());
        QVERIFY(!m_s->control(check, "z11")->isVisible());
        QVERIFY(m_s->control<QLabel>(check, "lblMissingZ")->text().startsWith("No Z matrix"));
        m_s->window(calc)->close();
        QVERIFY(!m_s->isOpen(check));
    }

    // Values that make an existing set singular give the program's one error message.
    void singularSetIsAnInputError()
    {
        m_s->exercise("R1R2R3", {"1", "2", "-2"}); // z22 = R2 + R3 = 0, so no H for these values
        m_s->boxes().answer(QMessageBox::Ok);
        m_s->click(calc, "cmdCheck");
        QCOMPARE(m_s->messages(), inputError);
        QVERIFY(m_s->control<QLabel>(check, "lblMissingH")->text().contains("singular"));
        QCOMPARE(m_s->text(check, "z11"), QStringLiteral("3"));
    }
};

KVADRA_TEST_MAIN(TestCheck)

#include "tst_check.moc"
