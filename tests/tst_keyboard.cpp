// A student without a mouse, and a screen reader: focus orders, accessible names, and whole
// sessions driven by keys alone.
#include "support/session.h"
#include "twoport/catalogue.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QtTest>

#include <functional>
#include <memory>

using namespace kvadra;

namespace
{
using Setup = std::function<void(Session &)>;

// The control the window opens with the focus on, then those Tab visits from there.
QStringList tabOrder(QWidget *window, int count)
{
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window) || !QApplication::focusWidget())
        return {};
    QStringList order;
    QWidget *w = QApplication::focusWidget();
    order << w->objectName();
    for (int guard = 0; order.size() < count && guard < 500; ++guard) {
        w = w->nextInFocusChain();
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible())
            order << w->objectName();
    }
    return order;
}

// Presses Tab in the window until the named control has the focus.
void tabTo(QWidget *window, const QString &name)
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    for (int presses = 0; presses < 40; ++presses) {
        QWidget *focus = QApplication::focusWidget();
        if (focus && focus->objectName() == name)
            return;
        QTest::keyClick(focus ? focus : window, Qt::Key_Tab);
    }
    QFAIL(qPrintable("Tab never reaches " + name));
}
} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_s = std::make_unique<Session>(); }
    void cleanup() { m_s.reset(); }

    void focusOrder_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("main") << Setup([](Session &) {}) << "twoport_main"
                              << QStringList{"btnExercise", "btnTest", "Command1"};
        QTest::newRow("about") << Setup(&Session::openAbout) << "frmAbout"
                               << QStringList{"cmdOK"};
        QTest::newRow("calculator")
            << Setup([](Session &s) {
                   s.click("twoport_main", "btnExercise");
                   s.click("exercise_main", "r1r2r3");
               })
            << "exercise_calc"
            << QStringList{"val1", "val2", "val3", "z11", "z12", "z21", "z22",
                           "y11",  "y12",  "y21",  "y22", "cmdCalculate"};
        QTest::newRow("lab helper")
            << Setup([](Session &s) { s.lab("z11"); }) << "lab_helper"
            << QStringList{"btnCalculate", "txtLabAnswer", "txtMeasure1", "txtMeasure2", "picLab"};
    }
    void focusOrder()
    {
        QFETCH(Setup, setup);
        QFETCH(QString, window);
        QFETCH(QStringList, order);
        setup(*m_s);
        QCOMPARE(tabOrder(m_s->window(window), int(order.size())), order);
    }

    // What a screen reader announces for each picture and each answer box.
    void accessibleNames()
    {
        m_s->click("twoport_main", "btnExercise");
        for (const Schematic &s : catalogue())
            QCOMPARE(m_s->control("exercise_main", QString(s.buttonName))->accessibleName(),
                     "Schematic " + QString(s.name));
        m_s->click("exercise_main", "g1g2");
        QCOMPARE(m_s->control("exercise_calc", "picSchem")->accessibleName(),
                 QStringLiteral("Schematic G1G2"));
        for (const char *parameter : {"z11", "h21"}) {
            m_s->lab(parameter);
            QCOMPARE(m_s->control("lab_helper", "picLab")->accessibleName(),
                     QStringLiteral("Set-up for ") + parameter);
        }
        m_s = std::make_unique<Session>();

        m_s->testToComparison();
        for (int k = 0; k < 4; ++k)
            QCOMPARE(m_s->control(QStringLiteral("test_giveelement"),
                                  QStringLiteral("Check%1").arg(k + 1))
                         ->accessibleName(),
                     QStringLiteral("Case ") + QChar('A' + k));
    }

    // Every control a student can click is also reachable by Tab, in every window there is.
    void everythingTakesFocus()
    {
        m_s->openEverything();
        QStringList missing;
        for (const QString &window : m_s->main().windows().openWindows())
            for (QWidget *w : m_s->window(window)->findChildren<QWidget *>())
                if ((qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)) &&
                    w->isVisible() && w->isEnabled() && !(w->focusPolicy() & Qt::TabFocus))
                    missing << window + "." + w->objectName();
        QCOMPARE(missing, QStringList());
    }

    // Whole sessions by Tab and Space alone. A script step is window.control to press, or
    // window.control=text to type (each box selects all on focus, so the typing replaces it).
    void byKeysAlone_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("texts"); // none: the window has closed
        QTest::newRow("exercise")
            << Setup([](Session &) {})
            << "twoport_main.btnExercise exercise_main.r1r2r3 exercise_calc.val1=1 "
               "exercise_calc.val2=2 exercise_calc.val3=3 exercise_calc.cmdCalculate"
            << "exercise_calc" << QStringList{"z11", "z12", "z21", "z22"}
            << QStringList{"3", "2", "2", "5"};
        QTest::newRow("lab") << Setup([](Session &) {})
                             << "twoport_main.Command1 lab_selectelement.btnZ11 "
                                "lab_helper.txtMeasure1=3 lab_helper.txtMeasure2=1 "
                                "lab_helper.btnCalculate"
                             << "lab_helper" << QStringList{"txtLabAnswer"} << QStringList{"3"};
        QTest::newRow("comparison") << Setup(&Session::testToComparison)
                                    << "test_giveelement.btnZ11 test_giveelement.Command1"
                                    << "test_giveelement" << QStringList() << QStringList();
    }
    void byKeysAlone()
    {
        QFETCH(Setup, setup);
        QFETCH(QString, script);
        QFETCH(QString, window);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, texts);
        setup(*m_s);
        for (const QString &step : script.split(' ')) {
            const QString target = step.section('=', 0, 0);
            tabTo(m_s->window(target.section('.', 0, 0)), target.section('.', 1));
            if (step.contains('='))
                QTest::keyClicks(QApplication::focusWidget(), step.section('=', 1));
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        }
        QCOMPARE(m_s->messages(), QStringList());
        if (texts.isEmpty())
            QTRY_VERIFY(!m_s->isOpen(window));
        else
            QCOMPARE(m_s->texts(window, boxes), texts);
    }

    // The menu item has its key, and the About window goes away by Enter or by Escape.
    void aboutByKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    void aboutByKeys()
    {
        QFETCH(int, key);
        QWidget *main = m_s->window("twoport_main");
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        QTest::keyClick(main, Qt::Key_F1);
        QTRY_VERIFY(m_s->isOpen("frmAbout"));
        QWidget *about = m_s->window("frmAbout");
        QVERIFY(QTest::qWaitForWindowActive(about));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_VERIFY(!m_s->isOpen("frmAbout"));
    }

private:
    std::unique_ptr<Session> m_s;
};

KVADRA_TEST_MAIN(TestKeyboard)

#include "tst_keyboard.moc"
