// A student without a mouse, and a screen reader: focus orders, accessible names, and whole
// sessions driven by keys alone.
#include "support/session.h"
#include "twoport/catalogue.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>

#include <functional>
#include <memory>

using namespace kvadra;

namespace
{
using Setup = std::function<void(Session &)>;

void openAbout(Session &s)
{
    s.window("twoport_main")->findChild<QAction *>("menuAbout")->trigger();
}

void openCalculator(Session &s)
{
    s.click("twoport_main", "btnExercise");
    s.click("exercise_main", "r1r2r3");
}

void openLabHelper(Session &s)
{
    s.click("twoport_main", "Command1");
    s.click("lab_selectelement", "btnZ11");
}

// Five schematics through calculator and Continue, which opens the comparison window.
void openComparison(Session &s)
{
    s.click("twoport_main", "btnTest");
    for (const char *pick : {"r1", "r1r2", "r2r3", "g1", "g2"}) {
        s.click("exercise_main", pick);
        s.fill({"1", "2", "3"});
        s.calculate();
        s.click("exercise_calc", "cmdContinue");
    }
}

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

void press(Session &s, const QString &window, const QString &name)
{
    tabTo(s.window(window), name);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
}

void typeInto(Session &s, const QString &window, const QString &name, const QString &text)
{
    tabTo(s.window(window), name);
    QTest::keyClicks(QApplication::focusWidget(), text);
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
        QTest::newRow("about") << Setup(openAbout) << "frmAbout"
                               << QStringList{"cmdOK"};
        QTest::newRow("calculator")
            << Setup(openCalculator) << "exercise_calc"
            << QStringList{"val1", "val2", "val3", "z11", "z12", "z21", "z22",
                           "y11",  "y12",  "y21",  "y22", "cmdCalculate"};
        QTest::newRow("lab helper")
            << Setup(openLabHelper) << "lab_helper"
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
        m_s = std::make_unique<Session>();

        openLabHelper(*m_s);
        QCOMPARE(m_s->control("lab_helper", "picLab")->accessibleName(),
                 QStringLiteral("Set-up for z11"));
        m_s->click("lab_selectelement", "btnH21");
        QCOMPARE(m_s->control("lab_helper", "picLab")->accessibleName(),
                 QStringLiteral("Set-up for h21"));
        m_s = std::make_unique<Session>();

        openComparison(*m_s);
        for (int k = 0; k < 4; ++k)
            QCOMPARE(m_s->control(QStringLiteral("test_giveelement"),
                                  QStringLiteral("Check%1").arg(k + 1))
                         ->accessibleName(),
                     QStringLiteral("Case ") + QChar('A' + k));
    }

    // Every control a student can click is also reachable by Tab, in every window there is.
    void everythingTakesFocus()
    {
        openAbout(*m_s);
        openCalculator(*m_s);
        QStringList missing;
        auto check = [&](const char *window) {
            for (QWidget *w : m_s->window(window)->findChildren<QWidget *>())
                if ((qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)) &&
                    w->isVisible() && w->isEnabled() && !(w->focusPolicy() & Qt::TabFocus))
                    missing << QString(window) + "." + w->objectName();
        };
        for (const char *window : {"twoport_main", "frmAbout", "exercise_main", "exercise_calc"})
            check(window);
        m_s = std::make_unique<Session>();
        openLabHelper(*m_s);
        check("lab_selectelement");
        check("lab_helper");
        m_s = std::make_unique<Session>();
        openComparison(*m_s);
        check("test_giveelement");
        QCOMPARE(missing, QStringList());
    }

    void exerciseByKeys()
    {
        press(*m_s, "twoport_main", "btnExercise");
        press(*m_s, "exercise_main", "r1r2r3");
        // Each box selects all on focus, so the typing replaces its "0".
        typeInto(*m_s, "exercise_calc", "val1", "1");
        typeInto(*m_s, "exercise_calc", "val2", "2");
        typeInto(*m_s, "exercise_calc", "val3", "3");
        press(*m_s, "exercise_calc", "cmdCalculate");
        QCOMPARE(m_s->texts("exercise_calc", {"z11", "z12", "z21", "z22"}),
                 (QStringList{"3", "2", "2", "5"}));
        QCOMPARE(m_s->messages(), QStringList());
    }

    void labByKeys()
    {
        press(*m_s, "twoport_main", "Command1");
        press(*m_s, "lab_selectelement", "btnZ11");
        typeInto(*m_s, "lab_helper", "txtMeasure1", "3");
        typeInto(*m_s, "lab_helper", "txtMeasure2", "1");
        press(*m_s, "lab_helper", "btnCalculate");
        QCOMPARE(m_s->text("lab_helper", "txtLabAnswer"), QStringLiteral("3"));
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

    void comparisonByKeys()
    {
        openComparison(*m_s);
        press(*m_s, "test_giveelement", "btnZ11");
        QCOMPARE(m_s->messages(), QStringList());
        press(*m_s, "test_giveelement", "Command1");
        QTRY_VERIFY(!m_s->isOpen("test_giveelement"));
    }

private:
    std::unique_ptr<Session> m_s;
};

KVADRA_TEST_MAIN(TestKeyboard)

#include "tst_keyboard.moc"
