#include "shell/application.h"
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
const QString question = QStringLiteral(
    "Note, that if there are unfinished calculations in Exercise solver, they will be lost. Do "
    "you want to continue?");
const QStringList parameters{"Z11", "Z12", "Z21", "Z22", "Y11", "Y12", "Y21", "Y22"};

struct Pick {
    const char *schematic;
    QStringList values;
};
} // namespace

class TestTestSolver : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_s = std::make_unique<Session>(); }
    void cleanup() { m_s.reset(); }

    void compareParameter_data();
    void compareParameter();
    void startsWithoutQuestionWhenIdle();
    void questionDuringAFlow_data();
    void questionDuringAFlow();
    void stepsThroughTheCases();
    void answersComeFromExactValues();
    void comparisonWindowLayoutAndBoxes();
    void continueWaitsForACalculation();
    void stoppingHalfWay();
    void closingMainDuringATest();

private:
    QString caption() { return m_s->control<QGroupBox>("exercise_main", "frmGetSchem")->title(); }
    void pickAndContinue(const Pick &pick)
    {
        m_s->click("exercise_main", QString(pick.schematic).toLower());
        m_s->fill(pick.values);
        m_s->calculate();
        m_s->click("exercise_calc", "cmdContinue");
    }
    void runTest(const QList<Pick> &picks)
    {
        m_s->click("twoport_main", "btnTest");
        for (const Pick &pick : picks)
            pickAndContinue(pick);
    }
    QString ticks()
    {
        QString out;
        for (const char *name : {"Check1", "Check2", "Check3", "Check4"})
            out += m_s->control<QCheckBox>("test_giveelement", name)->isChecked() ? '1' : '0';
        return out;
    }

    std::unique_ptr<Session> m_s;
};

void TestTestSolver::compareParameter_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected");
    QTest::newRow("z11") << 0 << "1000";
    QTest::newRow("z22") << 3 << "0001";
    QTest::newRow("y12") << 5 << "0011";
    QTest::newRow("below") << -1 << "0000";
    QTest::newRow("above") << 8 << "0000";
}

// INITIAL has Z but no Y. A: same z11; B: no Z; C: z22 differs only in the last bit;
// D: same z22. C and D have no Y either, which counts as the same.
void TestTestSolver::compareParameter()
{
    QFETCH(int, code);
    QFETCH(QString, expected);
    TestRecord r;
    r.initialZExists = 1;
    r.initialZ = {1.0, 0.0, 0.0, 0.5};
    r.initialYExists = 0;
    r.initialY = {9, 9, 9, 9}; // left over from an earlier test, never read
    r.caseZExists = {1, 0, 1, 1};
    r.caseYExists = {1, 1, 0, 0};
    r.caseZ = {1.0, 2, 2, 3, 1.0, 0, 0, 0.5, 2, 1, 1, std::nextafter(0.5, 1.0), 0, 1, 1, 0.5};
    r.caseY = {9, 9, 9, 9, 9, 9, 9, 9};
    QString got;
    for (qint16 a : kvadra::compareParameter(r, code))
        got += QString::number(a);
    QCOMPARE(got, expected);
}

void TestTestSolver::startsWithoutQuestionWhenIdle()
{
    m_s->click("twoport_main", "btnTest");
    QCOMPARE(m_s->boxes().takeBoxes().size(), 0);
    QCOMPARE(caption(), QStringLiteral("Choose the INITIAL schematic"));
    QCOMPARE(m_s->state().currentMode(), qint16(2));
    QCOMPARE(m_s->state().schemCount(), qint16(0));
}

void TestTestSolver::questionDuringAFlow_data()
{
    QTest::addColumn<bool>("inTest");
    QTest::addColumn<bool>("yes");
    QTest::newRow("exercise, no") << false << false;
    QTest::newRow("exercise, yes") << false << true;
    QTest::newRow("test, no") << true << false;
    QTest::newRow("test, yes") << true << true;
}

void TestTestSolver::questionDuringAFlow()
{
    QFETCH(bool, inTest);
    QFETCH(bool, yes);
    if (inTest)
        runTest({{"R1", {"1"}}, {"R3", {"0", "0", "2"}}});
    m_s->exercise("R1R2", {"1", "2"});
    if (inTest) // back in test mode with the calculator open, by another Test solver click
        m_s->state().setCurrentMode(2);
    const qint16 count = m_s->state().schemCount();
    QPointer<QWidget> calc = m_s->window("exercise_calc");
    m_s->boxes().answer(yes ? QMessageBox::Yes : QMessageBox::No);
    m_s->click("twoport_main", "btnTest");
    const auto boxes = m_s->boxes().takeBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, question);
    QCOMPARE(boxes[0].title, QStringLiteral("Kvadra"));
    QCOMPARE(boxes[0].icon, QMessageBox::NoIcon);
    QCOMPARE(boxes[0].buttons, QMessageBox::Yes | QMessageBox::No);
    if (yes) {
        QCOMPARE(m_s->main().windows().openWindows(),
                 (QStringList{"twoport_main", "exercise_main"}));
        QCOMPARE(m_s->state().schemCount(), qint16(0));
        QCOMPARE(m_s->state().currentMode(), qint16(2));
        QCOMPARE(m_s->state().windowStates(), qint16(4));
        QCOMPARE(caption(), QStringLiteral("Choose the INITIAL schematic"));
    } else {
        QVERIFY(m_s->isOpen("exercise_calc"));
        QCOMPARE(m_s->window("exercise_calc"), calc.data());
        QCOMPARE(m_s->text("exercise_calc", "z11"), QStringLiteral("3"));
        QCOMPARE(m_s->state().schemCount(), count);
        QCOMPARE(caption(), QStringLiteral("Choose a schematic"));
    }
}

void TestTestSolver::stepsThroughTheCases()
{
    m_s->click("twoport_main", "btnTest");
    for (int step = 0; step < 4; ++step) {
        pickAndContinue({"G2", {"0", "1"}});
        QCOMPARE(m_s->state().schemCount(), qint16(step + 1));
        QCOMPARE(m_s->state().currentMode(), qint16(2));
        QCOMPARE(caption(),
                 QStringLiteral("Choose the schematic for case (") + QChar("ABCD"[step]) + ")");
        QVERIFY(!m_s->isOpen("exercise_calc"));
        QCOMPARE(m_s->state().windowStates(), qint16(4));
    }
    pickAndContinue({"G2", {"0", "1"}});
    QCOMPARE(m_s->state().schemCount(), qint16(5));
    QCOMPARE(m_s->main().windows().openWindows(),
             (QStringList{"twoport_main", "test_giveelement"}));
    QCOMPARE(m_s->state().windowStates(), qint16(16));
    // For a moment no tool window was open, so the flow ended.
    QCOMPARE(m_s->state().currentMode(), qint16(0));
    QCOMPARE(ticks(), QStringLiteral("0000"));
    // A new test closes the comparison without asking.
    m_s->click("twoport_main", "btnTest");
    QCOMPARE(m_s->boxes().takeBoxes().size(), 0);
    QVERIFY(!m_s->isOpen("test_giveelement"));
    QCOMPARE(caption(), QStringLiteral("Choose the INITIAL schematic"));
}

void TestTestSolver::answersComeFromExactValues()
{
    // INITIAL R1 = 1 kOhm gives z11 = 1 exactly. Case A, G1G3 with 1 mS each, reaches z11 by
    // inversion through the inexact 0.001 and shows "1" too, but is a bit above 1.
    runTest({{"R1", {"1"}},
             {"G1G3", {"1", "0", "1"}},
             {"R1", {"1"}},
             {"G1", {"5"}},
             {"R3", {"0", "0", "1"}}});
    const QStringList expected{"0100", "1101", "1101", "0100", "0101", "0101", "0101", "0101"};
    for (int code = 0; code < 8; ++code) {
        m_s->click("test_giveelement", "btn" + parameters[code]);
        QCOMPARE(ticks(), expected[code]);
    }
}

void TestTestSolver::comparisonWindowLayoutAndBoxes()
{
    runTest({{"NONE", {}}, {"NONE", {}}, {"G1", {"1"}}, {"NONE", {}}, {"R1", {"1"}}});
    QWidget *w = m_s->window("test_giveelement");
    QCOMPARE(w->windowTitle(), QStringLiteral("Test solver"));
    QCOMPARE(w->size(), QSize(218, 290));
    QCOMPARE(m_s->control("test_giveelement", "frameY")->geometry(), QRect(104, 24, 89, 105));
    QCOMPARE(m_s->control("test_giveelement", "btnY22")->geometry(), QRect(48, 64, 33, 33));
    QCOMPARE(m_s->control("test_giveelement", "Check4")->geometry(), QRect(160, 56, 33, 13));
    QCOMPARE(m_s->control("test_giveelement", "Command1")->geometry(), QRect(8, 256, 201, 25));
    m_s->click("test_giveelement", "btnY11");
    QCOMPARE(ticks(), QStringLiteral("1010"));
    // Display only: a click never changes a box.
    for (const char *name : {"Check1", "Check2"}) {
        m_s->click("test_giveelement", name);
        QCOMPARE(ticks(), QStringLiteral("1010"));
    }
    auto *window = static_cast<TestGiveElement *>(w);
    QCOMPARE(window->Achecked, qint16(1));
    QCOMPARE(window->Bchecked, qint16(0));
    m_s->click("test_giveelement", "btnZ12");
    QCOMPARE(ticks(), QStringLiteral("1110"));
    m_s->click("test_giveelement", "Command1");
    QVERIFY(!m_s->isOpen("test_giveelement"));
    QVERIFY(m_s->control("twoport_main", "frameVol")->isEnabled());
}

void TestTestSolver::continueWaitsForACalculation()
{
    m_s->click("twoport_main", "btnTest");
    m_s->click("exercise_main", "r1r2");
    QVERIFY(!m_s->control("exercise_calc", "cmdContinue")->isEnabled());
    m_s->type("exercise_calc", "val1", "1");
    m_s->type("exercise_calc", "val2", "2");
    m_s->calculate();
    QVERIFY(m_s->control("exercise_calc", "cmdContinue")->isEnabled());
    // A later failure keeps it enabled, and the step takes what is stored.
    m_s->type("exercise_calc", "val2", "oops");
    m_s->boxes().answer(QMessageBox::Ok);
    m_s->calculate();
    QCOMPARE(m_s->boxes().takeBoxes().size(), 1);
    QVERIFY(m_s->control("exercise_calc", "cmdContinue")->isEnabled());
    // Picking again disables it until the new schematic is calculated.
    m_s->click("exercise_main", "r1r2");
    QVERIFY(!m_s->control("exercise_calc", "cmdContinue")->isEnabled());
    m_s->type("exercise_calc", "val1", "1");
    m_s->type("exercise_calc", "val2", "2");
    m_s->calculate();
    QPointer<QWidget> calc = m_s->window("exercise_calc");
    m_s->click("exercise_calc", "cmdContinue");
    // The calculator closed under its own handler; no second step can follow.
    QVERIFY(!m_s->isOpen("exercise_calc"));
    QTRY_VERIFY(calc.isNull());
    QCOMPARE(m_s->state().schemCount(), qint16(1));
}

void TestTestSolver::stoppingHalfWay()
{
    runTest({{"R1", {"1"}}});
    m_s->window("exercise_main")->close();
    QCOMPARE(m_s->main().windows().openWindows(), QStringList{"twoport_main"});
    QCOMPARE(m_s->state().windowStates(), qint16(0));
    QCOMPARE(m_s->state().currentMode(), qint16(0));
    QCOMPARE(m_s->state().schemCount(), qint16(1));
    // The exercise solver afterwards is a plain exercise.
    m_s->exercise("R3", {"0", "0", "4"});
    QCOMPARE(m_s->state().currentMode(), qint16(1));
    QVERIFY(!m_s->control("exercise_calc", "cmdContinue")->isEnabled());
    // Switching to exercise mode in the middle of a test: the next pick is an exercise.
    m_s->boxes().answer(QMessageBox::Yes);
    m_s->click("twoport_main", "btnTest");
    QCOMPARE(m_s->boxes().takeBoxes().size(), 1);
    QCOMPARE(m_s->state().currentMode(), qint16(2));
    m_s->click("twoport_main", "btnExercise");
    QCOMPARE(caption(), QStringLiteral("Choose a schematic"));
    m_s->click("exercise_main", "r1");
    m_s->type("exercise_calc", "val1", "1");
    m_s->calculate();
    QVERIFY(!m_s->control("exercise_calc", "cmdContinue")->isEnabled());
}

void TestTestSolver::closingMainDuringATest()
{
    runTest({{"R1", {"1"}}, {"R1", {"1"}}});
    m_s->click("exercise_main", "g1");
    QVERIFY(m_s->main().close());
    QCOMPARE(m_s->main().windows().openWindows(), QStringList());
    QCOMPARE(m_s->state().windowStates(), qint16(0));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    TestTestSolver test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_testsolver.moc"
