#include "support/session.h"
#include "testsolver/testgiveelement.h"
#include "testsolver/testrecord.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QtTest>

#include <memory>

using namespace kvadra;

namespace
{
const QStringList question{
    "Note, that if there are unfinished calculations in Exercise solver, they will be lost. Do "
    "you want to continue?"};
const QStringList parameters{"Z11", "Z12", "Z21", "Z22", "Y11", "Y12", "Y21", "Y22"};
const QString initialCaption = QStringLiteral("Choose the INITIAL schematic");
} // namespace

class TestTestSolver : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_s = std::make_unique<Session>(); }
    void cleanup() { m_s.reset(); }

    // INITIAL has Z but no Y. A: same z11; B: no Z; C: z22 differs only in the last bit;
    // D: same z22. C and D have no Y either, which counts as the same.
    void compareParameter()
    {
        TestRecord r;
        r.initialZExists = 1;
        r.initialZ = {1.0, 0.0, 0.0, 0.5};
        r.initialY = {9, 9, 9, 9}; // left over from an earlier test, never read
        r.caseZExists = {1, 0, 1, 1};
        r.caseYExists = {1, 1, 0, 0};
        r.caseZ = {1.0, 2, 2, 3, 1.0, 0, 0, 0.5, 2, 1, 1, std::nextafter(0.5, 1.0), 0, 1, 1, 0.5};
        r.caseY = {9, 9, 9, 9, 9, 9, 9, 9};
        for (auto [code, expected] :
             {std::pair{0, "1000"}, {3, "0001"}, {5, "0011"}, {8, "0000"}}) {
            QString got;
            for (qint16 a : kvadra::compareParameter(r, code))
                got += QString::number(a);
            QCOMPARE(got, QString(expected));
        }
    }

    // Starting a test asks first when it would end a flow in progress, never when idle.
    void questionDuringAFlow_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("yes");
        QTest::newRow("idle") << 0 << true;
        for (int mode : {1, 2})
            for (bool yes : {false, true})
                QTest::addRow("%s, %s", mode == 1 ? "exercise" : "test", yes ? "yes" : "no")
                    << mode << yes;
    }
    void questionDuringAFlow()
    {
        QFETCH(int, mode);
        QFETCH(bool, yes);
        if (mode == 2)
            m_s->test({"R1 1", "R3 0 0 2"});
        if (mode != 0)
            m_s->exercise("R1R2", {"1", "2"});
        if (mode == 2) // back in test mode with the calculator open, by another Test solver click
            m_s->state().setCurrentMode(2);
        const qint16 count = m_s->state().schemCount();
        if (mode != 0)
            m_s->boxes().answer(yes ? QMessageBox::Yes : QMessageBox::No);
        m_s->click("twoport_main", "btnTest");
        QCOMPARE(m_s->messages(), mode == 0 ? QStringList() : question);
        if (yes) {
            QCOMPARE(m_s->main().windows().openWindows(),
                     (QStringList{"twoport_main", "exercise_main"}));
            QCOMPARE(m_s->state().schemCount(), qint16(0));
            QCOMPARE(caption(), initialCaption);
        } else {
            QCOMPARE(m_s->text("exercise_calc", "z11"), QStringLiteral("3"));
            QCOMPARE(m_s->state().schemCount(), count);
            QCOMPARE(caption(), QStringLiteral("Choose a schematic"));
        }
    }

    void stepsThroughTheCases()
    {
        m_s->test({});
        for (int step = 0; step < 4; ++step) {
            m_s->pick("G2 0 1");
            QCOMPARE(QList<qint16>({m_s->state().schemCount(), m_s->state().currentMode()}),
                     QList<qint16>({qint16(step + 1), 2}));
            QCOMPARE(caption(), QString("Choose the schematic for case (%1)").arg("ABCD"[step]));
            QCOMPARE(m_s->main().windows().openWindows(),
                     (QStringList{"twoport_main", "exercise_main"}));
        }
        m_s->pick("G2 0 1");
        QCOMPARE(m_s->main().windows().openWindows(),
                 (QStringList{"twoport_main", "test_giveelement"}));
        QCOMPARE(m_s->state().windowStates(), qint16(16));
        // For a moment no tool window was open, so the flow ended.
        QCOMPARE(m_s->state().currentMode(), qint16(0));
        QWidget *w = m_s->window("test_giveelement");
        QCOMPARE(w->windowTitle(), QStringLiteral("Test solver"));
        QCOMPARE(w->size(), QSize(218, 290));
        QCOMPARE(ticks(), QStringLiteral("0000"));
        m_s->click("test_giveelement", "btnY11");
        // Display only: a click never changes a box.
        for (const char *name : {"Check1", "Check4"}) {
            m_s->click("test_giveelement", name);
            QCOMPARE(ticks(), QStringLiteral("1111"));
        }
        m_s->click("test_giveelement", "Command1");
        QVERIFY(!m_s->isOpen("test_giveelement"));
        QVERIFY(m_s->control("twoport_main", "frameVol")->isEnabled());
    }

    // Picks, then the ticks for Z11 ... Y22.
    void answersComeFromExactValues_data()
    {
        QTest::addColumn<QStringList>("picks");
        QTest::addColumn<QStringList>("ticks");
        // INITIAL R1 = 1 kOhm gives z11 = 1 exactly. Case A, G1G3 with 1 mS each, reaches z11
        // through the inexact 0.001 and shows "1" too, but is a bit above 1.
        QTest::newRow("shown alike, stored apart")
            << QStringList{"R1 1", "G1G3 1 0 1", "R1 1", "G1 5", "R3 0 0 1"}
            << QStringList{"0100", "1101", "1101", "0100", "0101", "0101", "0101", "0101"};
        QTest::newRow("same schematic") << QStringList(5, "R1R2R3 1 2 3") << QStringList(8, "1111");
    }
    void answersComeFromExactValues()
    {
        QFETCH(QStringList, picks);
        QFETCH(QStringList, ticks);
        m_s->test(picks);
        for (int code = 0; code < 8; ++code) {
            m_s->click("test_giveelement", "btn" + parameters[code]);
            QCOMPARE(this->ticks(), ticks[code]);
        }
        // A new test closes the comparison without asking.
        m_s->click("twoport_main", "btnTest");
        QCOMPARE(m_s->messages(), QStringList());
        QVERIFY(!m_s->isOpen("test_giveelement"));
        QCOMPARE(caption(), initialCaption);
    }

    void continueWaitsForACalculation()
    {
        m_s->click("twoport_main", "btnTest");
        m_s->click("exercise_main", "r1r2");
        QVERIFY(!m_s->control("exercise_calc", "cmdContinue")->isEnabled());
        m_s->fill({"1", "2"});
        m_s->calculate();
        QVERIFY(m_s->control("exercise_calc", "cmdContinue")->isEnabled());
        // A later failure keeps it enabled, and the step takes what is stored.
        m_s->type("exercise_calc", "val2", "oops");
        m_s->boxes().answer(QMessageBox::Ok);
        m_s->calculate();
        QCOMPARE(m_s->messages().size(), 1);
        QVERIFY(m_s->control("exercise_calc", "cmdContinue")->isEnabled());
        // Picking again disables it until the new schematic is calculated.
        m_s->click("exercise_main", "r1r2");
        QVERIFY(!m_s->control("exercise_calc", "cmdContinue")->isEnabled());
        m_s->fill({"1", "2"});
        m_s->calculate();
        QPointer<QWidget> calc = m_s->window("exercise_calc");
        m_s->click("exercise_calc", "cmdContinue");
        // The calculator closed under its own handler; no second step can follow.
        QVERIFY(!m_s->isOpen("exercise_calc"));
        QTRY_VERIFY(calc.isNull());
        QCOMPARE(m_s->state().schemCount(), qint16(1));
    }

    void stoppingHalfWay()
    {
        m_s->test({"R1 1"});
        m_s->window("exercise_main")->close();
        QCOMPARE(m_s->main().windows().openWindows(), QStringList{"twoport_main"});
        QCOMPARE(m_s->state().windowStates(), qint16(0));
        QCOMPARE(m_s->state().currentMode(), qint16(0));
        // Switching to exercise mode in the middle of a test: the next pick is an exercise.
        m_s->test({"R1 1"});
        m_s->click("twoport_main", "btnExercise");
        QCOMPARE(caption(), QStringLiteral("Choose a schematic"));
        m_s->click("exercise_main", "r1");
        m_s->fill({"1"});
        m_s->calculate();
        QVERIFY(!m_s->control("exercise_calc", "cmdContinue")->isEnabled());
    }

    void comparisonShowsHiddenDigits()
    {
        // Both show 2 kOhm for z11; the Π network reaches it through the inexact 0.001.
        m_s->test({"G1G3 0.5 0 0.5", "R1R3 2 0 2", "G1 1", "G1G3 0.5 0 0.5", "R1 2"});
        m_s->click("test_giveelement", "btnZ11");
        const QString a = m_s->control<QCheckBox>("test_giveelement", "Check1")->toolTip();
        QVERIFY2(a.contains("z11 in the INITIAL: 2 kOhm\nz11 in case A: 2 kOhm"), qPrintable(a));
        QVERIFY2(a.contains("2.0000000000000004 and 2 "), qPrintable(a));
        const QString b = m_s->control<QCheckBox>("test_giveelement", "Check2")->toolTip();
        QVERIFY2(b.endsWith("z11 in case B: does not exist"), qPrintable(b));
        const QString c = m_s->control<QCheckBox>("test_giveelement", "Check3")->toolTip();
        QVERIFY(!c.contains("full precision"));
    }

private:
    QString caption() { return m_s->control<QGroupBox>("exercise_main", "frmGetSchem")->title(); }
    QString ticks()
    {
        QString out;
        for (const char *name : {"Check1", "Check2", "Check3", "Check4"})
            out += m_s->control<QCheckBox>("test_giveelement", name)->isChecked() ? '1' : '0';
        return out;
    }

    std::unique_ptr<Session> m_s;
};

KVADRA_TEST_MAIN(TestTestSolver)

#include "tst_testsolver.moc"
