// The check window as the student meets it beside the calculator: the sets of the schematic
// worked out exactly, with their fractions and formulas, the student's own values judged as typed,
// and the values that make a set singular said in place.
#include "support/session.h"
#include "twoport/catalogue.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

#include <cmath>

using namespace kvadra;

namespace
{
const QString calc = QStringLiteral("exercise_calc"), check = QStringLiteral("check_results");
const QStringList sets{"Z", "Y", "H", "G", "ABCD"};
} // namespace

class TestCheck : public SessionTest
{
    Q_OBJECT

    QLabel *label(const QString &name) { return m_s->control<QLabel>(check, name); }

    void openCheck(const QString &schematic, const QStringList &values)
    {
        m_s->exercise(schematic, values);
        m_s->click(calc, "cmdCheck");
    }

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
        openCheck(schematic, {"1", "2", "3"});
        const QStringList present = sets.split(' ');
        for (const QString &set : ::sets) {
            const bool exists = present.contains(set);
            QLabel *missing = label("lblMissing" + set);
            // A missing set says why, in a sentence; an existing one shows its entries instead.
            QCOMPARE(missing->isVisible(), !exists);
            QCOMPARE(missing->text().endsWith('.'), !exists);
            const QString first = set == "ABCD" ? "A" : set.toLower() + "11";
            QCOMPARE(m_s->control(check, first)->isVisible(), exists);
        }
    }

    // The calculator's own floating-point Z and Y, worked out independently of the core, agree
    // with the exact sets to 13 digits for every schematic and unit choice: the typed values
    // reach the core in the right units and come back in the right ones.
    void agreesWithTheCalculator_data()
    {
        columns<QString, QStringList>("schematic", "units");
        const std::pair<const char *, QStringList> unitChoices[] = {
            {"kOhm and mS", {}},
            {"Ohm and S", {"optR2", "optS2"}},
            {"mOhm and S", {"optR1", "optS2"}}};
        for (const Schematic &s : catalogue())
            for (const auto &[name, options] : unitChoices)
                QTest::addRow("%s in %s", s.name, name) << QString(s.name) << options;
    }
    void agreesWithTheCalculator()
    {
        QFETCH(QString, schematic);
        QFETCH(QStringList, units);
        m_s->chooseUnits(units);
        openCheck(schematic, {"1.5", "2", "3.25"});
        int compared = 0;
        for (const char *set : {"z", "y"})
            for (const char *index : {"11", "12", "21", "22"}) {
                const QString entry = QLatin1String(set) + QLatin1String(index);
                if (!m_s->control(calc, entry)->isEnabled())
                    continue;
                const double mine = m_s->text(calc, entry).toDouble();
                const double exact = m_s->text(check, entry).toDouble();
                QVERIFY2(std::abs(mine - exact) <= 1e-13 * std::abs(exact),
                         qPrintable(entry + ": " + m_s->text(calc, entry) + " against " +
                                    m_s->text(check, entry)));
                ++compared;
            }
        QVERIFY(compared >= 4);
    }

    // Worked by hand: 1, 2 and 3 kOhm in a T give Δ = 11 kOhm², so y11 = 5/11 mS, h11 = 11/5
    // kOhm, B = 11/2 kOhm; the values go in as typed, whatever the locale's separator or the
    // unit chosen, and z11 = R1 + R2 in the element names.
    void exactValues_data()
    {
        columns<QString, QStringList, QStringList, QString, QString, QString, QString>(
            "schematic", "values", "units", "entry", "value", "unit", "formula");
        auto row = [](const char *what, const char *schematic, const QStringList &values,
                      const QStringList &units, const char *entry, const char *value,
                      const char *unit, const char *formula) {
            QTest::newRow(what) << QString(schematic) << values << units << QString(entry)
                                << QString(value) << QString::fromUtf8(unit)
                                << QString::fromUtf8(formula);
        };
        const QStringList t{"1", "2", "3"};
        row("z11 of the T", "R1R2R3", t, {}, "z11", "3", "kOhm", "= R1 + R2");
        row("y11 of the T", "R1R2R3", t, {}, "y11", "0.454545454545455", "mS = 5/11 mS",
            "= (R2 + R3)/(R1*R2 + R1*R3 + R2*R3)");
        row("y12 negative", "R1R2R3", t, {}, "y12", "-0.181818181818182", "mS = -2/11 mS", "");
        row("h11", "R1R2R3", t, {}, "h11", "2.2", "kOhm = 11/5 kOhm", "");
        row("B", "R1R2R3", t, {}, "B", "5.5", "kOhm = 11/2 kOhm", "");
        row("decimal comma", "R1R2", {"1,5", "2"}, {}, "y22", "1.16666666666667", "mS = 7/6 mS",
            "");
        row("in Ohm and S", "R1R2R3", t, {"optR2", "optS2"}, "y11", "0.454545454545455",
            "S = 5/11 S", "");
        row("an exponent typed", "R1R2", {"2e-3", "1E3"}, {}, "y22", "500.001",
            "mS = 500001/1000 mS", "");
        row("Pi network", "G1G2G3", t, {}, "z11", "0.454545454545455", "kOhm = 5/11 kOhm",
            "= (G2 + G3)/(G1*G2 + G1*G3 + G2*G3)");
        // A fraction longer than its column is cut; the whole one is in the tooltip.
        row("long fraction", "R1R2R3", {"1.234567", "2", "3"}, {}, "y11", "0.41075065915212",
            "mS = ", "");
    }
    void exactValues()
    {
        QFETCH(QString, schematic);
        QFETCH(QStringList, values);
        QFETCH(QStringList, units);
        QFETCH(QString, entry);
        QFETCH(QString, value);
        QFETCH(QString, unit);
        QFETCH(QString, formula);
        m_s->chooseUnits(units);
        openCheck(schematic, values);
        QCOMPARE(m_s->text(check, entry), value);
        QVERIFY2(label("lblUnit" + entry)->text().startsWith(unit),
                 qPrintable(label("lblUnit" + entry)->text()));
        if (!formula.isEmpty())
            QCOMPARE(label("lblFormula" + entry)->text(), formula);
    }

    // The student's value judged as typed against the T of 1, 2 and 3 kOhm (y11 = 5/11 mS,
    // y12 = -2/11 mS, z11 = 3 kOhm): to the digits typed however many, a fraction as the window
    // shows it, a formula in any order, and a 0 for an entry that does not vanish.
    void yourValues_data()
    {
        columns<QString, QString, QString, QString>("entry", "typed", "verdict", "says");
        auto row = [](const char *what, const char *entry, const char *typed, const char *verdict,
                      const char *says) {
            QTest::newRow(what) << QString(entry) << QString::fromUtf8(typed)
                                << QString::fromUtf8(verdict) << QString::fromUtf8(says);
        };
        row("sixteen digits", "y11", "0.4545454545454545", "✓ matches to the 16 digits typed", "");
        row("the fraction shown", "y11", "5/11", "✓ matches exactly", "");
        row("a zero that is not", "y12", "0", "✗ it does not vanish", "y12 is -0.181818, not 0");
        row("the formula", "z11", "R2 + R1", "✓ matches for every value", "");
        row("a formula of another entry", "y11", "(R1 + R2)/(R1*R2 + R1*R3 + R2*R3)",
            "✗ that is y22", "");
        row("indices swapped", "z12", "5", "✗ that is z22", "");
        row("unit prefix", "z11", "3000", "✗ off by a factor of 1000", "");
        row("not a number", "y11", "abc", "unknown name", "");
    }
    void yourValues()
    {
        QFETCH(QString, entry);
        QFETCH(QString, typed);
        QFETCH(QString, verdict);
        QFETCH(QString, says);
        openCheck("R1R2R3", {"1", "2", "3"});
        m_s->type(check, "your" + entry, typed);
        QCOMPARE(label("lblVerdict" + entry)->text(), verdict);
        // The last value typed is explained in full below the sets, and to a screen reader.
        QVERIFY2(label("lblExplanation")->text().contains(says),
                 qPrintable(label("lblExplanation")->text()));
        QCOMPARE(m_s->control(check, "your" + entry)->accessibleDescription().isEmpty(),
                 verdict.isEmpty());
    }

    // The other tabs work on the same network: between a source and a load (an ideal source and
    // 1 kOhm: Zin = R1 + R2 || (R3 + RL) = 7/3 kOhm), and joined with itself, where the series
    // rule fails on a common bottom line and holds with one of the two turned over.
    void terminatedAndJoinedTabs()
    {
        openCheck("R1R2R3", {"1", "2", "3"});
        auto *tabs = m_s->control<QTabWidget>(check, "tabsCheck");
        auto openTab = [tabs](int index) {
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier,
                              tabs->tabBar()->tabRect(index).center());
            QCOMPARE(tabs->currentIndex(), index);
        };
        openTab(1);
        QCOMPARE(m_s->text(check, "Zin"), QStringLiteral("2.33333333333333"));
        m_s->type(check, "yourZin", "7/3");
        QCOMPARE(label("lblVerdictZin")->text(), QStringLiteral("✓ matches exactly"));
        openTab(2);
        auto *kind = m_s->control<QComboBox>(check, "cmbJoinKind");
        auto *with = m_s->control<QComboBox>(check, "cmbJoinWith");
        kind->setCurrentIndex(kind->findText("series", Qt::MatchStartsWith));
        with->setCurrentIndex(with->findText("itself", Qt::MatchExactly));
        QVERIFY2(label("lblRuleHolds")->text().startsWith("✗"),
                 qPrintable(label("lblRuleHolds")->text()));
        with->setCurrentIndex(with->findText("itself turned over", Qt::MatchStartsWith));
        QVERIFY2(label("lblRuleHolds")->text().startsWith("✓"),
                 qPrintable(label("lblRuleHolds")->text()));
        // The network built opens in a window of its own, with its values, to be read again.
        m_s->click(check, "btnOpenJoined");
        QVERIFY(m_s->isOpen("own_network"));
        const QString netlist =
            m_s->control<QPlainTextEdit>("own_network", "txtNetlist")->toPlainText();
        QVERIFY2(netlist.contains("R1a a1 a2 1e3"), qPrintable(netlist));
        m_s->awaitFormulas();
        QCOMPARE(m_s->text("own_network", "z11"), QStringLiteral("6"));
        // A new calculation reaches the tabs too; the student's value there stays with the
        // schematic.
        m_s->fill({"2", "2", "3"});
        m_s->calculate();
        openTab(1);
        QCOMPARE(m_s->text(check, "Zin"), QStringLiteral("3.33333333333333"));
        QVERIFY(label("lblVerdictZin")->text().startsWith("✗"));
        QCOMPARE(m_s->messages(), QStringList());
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
        // The calculator's own tooltips take their fractions from the same exact work.
        QVERIFY2(m_s->control(calc, "y11")->toolTip().contains("5/11"),
                 qPrintable(m_s->control(calc, "y11")->toolTip()));
        m_s->click(calc, "cmdCheck");
        QCOMPARE(m_s->text(check, "h11"), QStringLiteral("2.2"));
        m_s->type(check, "yourh11", "2.2");
        m_s->fill({"2", "2", "3"});
        m_s->calculate();
        QCOMPARE(m_s->text(check, "h11"), QStringLiteral("3.2"));
        QCOMPARE(m_s->text(check, "yourh11"), QStringLiteral("2.2"));
        QVERIFY(label("lblVerdicth11")->text().startsWith("✗"));
        // Another schematic: the student's values go with the old one.
        m_s->click("exercise_main", "g1");
        m_s->fill({"2"});
        m_s->calculate();
        QCOMPARE(m_s->text(check, "yourh11"), QString());
        QVERIFY(!m_s->control(check, "z11")->isVisible());
        QVERIFY(label("lblMissingZ")->text().startsWith("No Z parameters"));
        m_s->window(calc)->close();
        QVERIFY(!m_s->isOpen(check));
    }

    // Values that make an existing set singular are the calculator's to accept: the set says in
    // place why it cannot be had, and nothing else is in the way.
    void singularSetSaysWhyInPlace()
    {
        openCheck("R1R2R3", {"1", "2", "-2"}); // z22 = R2 + R3 = 0, so no H for these values
        QCOMPARE(m_s->messages(), QStringList());
        QVERIFY(label("lblMissingH")->isVisible());
        QVERIFY2(label("lblMissingH")->text().contains("make z22 zero"),
                 qPrintable(label("lblMissingH")->text()));
        QCOMPARE(m_s->text(check, "z11"), QStringLiteral("3"));
        QCOMPARE(m_s->text(check, "z22"), QStringLiteral("0"));
    }
};

KVADRA_TEST_MAIN(TestCheck)

#include "tst_check.moc"
