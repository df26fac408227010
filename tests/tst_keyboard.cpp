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
        QTest::newRow("about") << Setup(&Session::openAbout) << "frmAbout" << QStringList{"cmdOK"};
        QTest::newRow("calculator") << Setup([](Session &s) {
            s.click("twoport_main", "btnExercise");
            s.click("exercise_main", "r1r2r3");
        }) << "exercise_calc" << QStringList{"val1", "val2", "val3", "z11", "z12", "z21",
                                             "z22",  "y11",  "y12",  "y21", "y22", "cmdCalculate"};
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

    // Whole sessions by Tab and Space alone, then the window and the texts its boxes show. A
    // script step is window.control to press, or window.control=text to type (each box selects
    // all on focus, so the typing replaces it).
    void byKeysAlone_data()
    {
        addRows({"twoport_main.btnExercise exercise_main.r1r2r3 exercise_calc.val1=1 "
                 "exercise_calc.val2=2 exercise_calc.val3=3 exercise_calc.cmdCalculate|"
                 "exercise_calc|z11 z12 z21 z22|3 2 2 5",
                 "twoport_main.Command1 lab_selectelement.btnZ11 lab_helper.txtMeasure1=3 "
                 "lab_helper.txtMeasure2=1 lab_helper.btnCalculate|lab_helper|txtLabAnswer|3"});
    }
    void byKeysAlone()
    {
        const QStringList row = fields();
        for (const QString &step : words(row[0])) {
            const QString target = step.section('=', 0, 0);
            tabTo(m_s->window(target.section('.', 0, 0)), target.section('.', 1));
            if (step.contains('='))
                QTest::keyClicks(QApplication::focusWidget(), step.section('=', 1));
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        }
        QCOMPARE(m_s->messages(), QStringList());
        QCOMPARE(m_s->texts(row[1], words(row[2])), words(row[3]));
    }

    // The menu item has its key, and the About window goes away by Enter or by Escape.
    void aboutByKeys_data() { addRows({"Return", "Esc"}); }
    void aboutByKeys()
    {
        const Qt::Key key = QKeySequence(fields()[0])[0].key();
        QWidget *main = m_s->window("twoport_main");
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        QTest::keyClick(main, Qt::Key_F1);
        QTRY_VERIFY(m_s->isOpen("frmAbout"));
        QWidget *about = m_s->window("frmAbout");
        QVERIFY(QTest::qWaitForWindowActive(about));
        QTest::keyClick(QApplication::focusWidget(), key);
        QTRY_VERIFY(!m_s->isOpen("frmAbout"));
    }

private:
    std::unique_ptr<Session> m_s;
};

KVADRA_TEST_MAIN(TestKeyboard)

#include "tst_keyboard.moc"
