#include "support/session.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QtTest>

using namespace kvadra;

namespace
{
const QString question = QStringLiteral(
    "Note, that if there are unfinished calculations in Exercise solver, they will be lost. Do "
    "you want to continue?");
const QStringList parameters{"Z11", "Z12", "Z21", "Z22", "Y11", "Y12", "Y21", "Y22"};
const QString initialCaption = QStringLiteral("Choose the INITIAL schematic");
} // namespace

class TestTestSolver : public SessionTest
{
    Q_OBJECT
private slots:
    // Starting a test asks first when it would end a flow in progress, never when idle.
    void questionDuringAFlow_data()
    {
        // mode: currentMode when Test solver is pressed.
        columns<int, bool>("mode", "yes");
        QTest::newRow("idle: no question") << 0 << true;
        QTest::newRow("exercise, answered No: it goes on") << 1 << false;
        QTest::newRow("test, answered Yes: it starts afresh") << 2 << true;
    }
    void questionDuringAFlow()
    {
        QFETCH(int, mode);
        QFETCH(bool, yes);
        if (mode == 1)
            m_s->exercise("R1R2", {"1", "2"});
        if (mode == 2) { // case A calculated, its Continue... not yet pressed
            m_s->test({"R1 1"});
            m_s->click("exercise_main", "r1r2");
            m_s->fill({"1", "2"});
            m_s->calculate();
        }
        const qint16 count = m_s->state().schemCount();
        m_s->boxes().answer(yes ? QMessageBox::Yes : QMessageBox::No);
        m_s->click("twoport_main", "btnTest");
        QCOMPARE(m_s->boxes().takeBoxes(), mode == 0
                                               ? QList<MessageBoxAnswerer::Box>()
                                               : QList{box(question, QMessageBox::NoIcon,
                                                           QMessageBox::Yes | QMessageBox::No)});
        if (yes) {
            QCOMPARE(m_s->openWindows(), (QStringList{"twoport_main", "exercise_main"}));
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
            m_s->pick("R1R2R3 1 2 3");
            QCOMPARE(QList<qint16>({m_s->state().schemCount(), m_s->state().currentMode()}),
                     QList<qint16>({qint16(step + 1), 2}));
            QCOMPARE(caption(), QString("Choose the schematic for case (%1)").arg("ABCD"[step]));
            QCOMPARE(m_s->openWindows(), (QStringList{"twoport_main", "exercise_main"}));
        }
        m_s->pick("R1R2R3 1 2 3");
        QCOMPARE(m_s->openWindows(), (QStringList{"twoport_main", "test_giveelement"}));
        // For a moment no tool window was open, so the flow ended.
        QCOMPARE(m_s->state().currentMode(), qint16(0));
        QCOMPARE(ticked(), QString());
        // The same schematic five times: every parameter is the same in every case.
        for (const QString &parameter : parameters) {
            m_s->click("test_giveelement", "btn" + parameter);
            QCOMPARE(ticked(), QStringLiteral("ABCD"));
        }
        // Display only: a click, a screen reader's toggle or one in code goes straight back.
        for (const char *name : {"Check1", "Check4"}) {
            m_s->click("test_giveelement", name);
            QCOMPARE(ticked(), QStringLiteral("ABCD"));
        }
        QAccessible::queryAccessibleInterface(caseBox(2))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(ticked(), QStringLiteral("ABCD"));
        caseBox(2)->toggle();
        QCOMPARE(ticked(), QStringLiteral("ABCD"));
        m_s->click("test_giveelement", "Command1");
        QVERIFY(!m_s->isOpen("test_giveelement"));
        QVERIFY(m_s->control("twoport_main", "frameVol")->isEnabled());
    }

    // INITIAL R1 = 1 kOhm gives z11 = 1 exactly. Case A, G1G3 with 1 mS each, reaches z11
    // through the inexact 0.001 and shows "1" too, but is a bit above 1, and its box says so.
    // Two schematics without a Y matrix count as the same in every Y parameter.
    void answersComeFromExactValues()
    {
        m_s->test({"R1 1", "G1G3 1 0 1", "R1 1", "G1 5", "R3 0 0 1"});
        const QStringList ticked{"B", "ABD", "ABD", "B", "BD", "BD", "BD", "BD"};
        for (int code = 0; code < 8; ++code) {
            m_s->click("test_giveelement", "btn" + parameters[code]);
            QCOMPARE(this->ticked(), ticked[code]);
        }
        // y22 last: neither the INITIAL (R1) nor case D (R3) has Y, and the tick says why.
        QVERIFY(
            caseBox(4)->toolTip().endsWith("Neither has this matrix, which counts as the same."));
        QVERIFY(!caseBox(1)->toolTip().contains("Neither"));
        m_s->click("test_giveelement", "btnZ11");
        const QString a = caseBox(1)->toolTip();
        QVERIFY2(a.contains("z11 in the INITIAL: 1 kOhm\nz11 in case A: 1 kOhm"), qPrintable(a));
        QVERIFY2(a.contains("1 and 1.0000000000000002 "), qPrintable(a));
        QVERIFY(!caseBox(2)->toolTip().contains("full precision"));
        QVERIFY(caseBox(3)->toolTip().endsWith("z11 in case C: does not exist"));
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

private:
    QCheckBox *caseBox(int k)
    {
        return m_s->control<QCheckBox>("test_giveelement", QString("Check%1").arg(k));
    }
    QString caption() { return m_s->control<QGroupBox>("exercise_main", "frmGetSchem")->title(); }
    // The cases whose box is ticked: "ABD".
    QString ticked()
    {
        QString out;
        for (int k = 0; k < 4; ++k)
            if (caseBox(k + 1)->isChecked())
                out += QChar('A' + k);
        return out;
    }
};

KVADRA_TEST_MAIN(TestTestSolver)

#include "tst_testsolver.moc"
