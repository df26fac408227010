// A student without a mouse, and a screen reader: focus orders, accessible names, and whole
// sessions driven by keys alone.
#include "support/session.h"
#include "twoport/catalogue.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLineEdit>
#include <QMenu>
#include <QWhatsThis>
#include <QtTest>

#include <functional>

using namespace kvadra;

namespace
{
using Setup = std::function<void(Session &)>;

// Presses Tab in the window until the named control has the focus, at most `limit` stops; the
// controls it stopped at, from the one the window opened with.
QStringList tabTo(QWidget *window, const QString &name, int limit = 40)
{
    window->activateWindow();
    QStringList stops;
    if (!QTest::qWaitForWindowActive(window))
        return stops;
    for (QWidget *focus; (focus = QApplication::focusWidget()) && stops.size() < limit;
         QTest::keyClick(focus, Qt::Key_Tab))
        if ((stops << focus->objectName()).last() == name)
            break;
    return stops;
}
} // namespace

class TestKeyboard : public SessionTest
{
    Q_OBJECT
private slots:
    void focusOrder_data()
    {
        columns<Setup, QString, QStringList>("setup", "window", "order");
        QTest::newRow("main") << Setup() << "twoport_main"
                              << QStringList{"btnExercise", "btnTest", "Command1"};
        // Tab enters each unit group at its selected option.
        QTest::newRow("unit groups at their selection") << Setup([](Session &s) {
            s.click("twoport_main", "optR2");
            s.control("twoport_main", "Command1")->setFocus();
        }) << "twoport_main" << QStringList{"Command1", "optV2", "optA1", "optR2", "optS1"};
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
        if (setup)
            setup(*m_s);
        QCOMPARE(tabTo(m_s->window(window), order.last(), int(order.size())), order);
    }

    // What a screen reader announces: each box by its own label and unit, each frame by its own
    // caption, each picture as an image named for what it shows and then described, each result
    // by entry and value first. A name is heard whole, a description from its start.
    void heardRight_data()
    {
        columns<Setup, QString, QString, QAccessible::Text, QString>("setup", "window", "control",
                                                                     "text", "heard");
        const QString calc = "exercise_calc", helper = "lab_helper";
        const Setup tNetworkAndLab = [](Session &s) {
            s.exercise("R1R2R3", {"1", "2", "3"});
            s.lab("z11");
            s.openAbout();
        };
        auto row = [&](const char *what, const QString &window, const QString &control,
                       const QString &heard, QAccessible::Text text = QAccessible::Name,
                       const Setup &setup = {}) {
            QTest::newRow(what) << (setup ? setup : tNetworkAndLab) << window << control << text
                                << heard;
        };
        const auto described = QAccessible::Description;
        row("a value box", calc, "val1", "R1 (kOhm)");
        row("a result box", calc, "y22", "y22 (mS)");
        row("a result, value first", calc, "y11", "y11 = 0.454545454545455 mS = 5/11 mS\n",
            described);
        row("a result frame", calc, "frmZ", "Z parameters (kOhm)");
        row("a unit frame", "twoport_main", "frameVol", "Voltage");
        row("the schematic", calc, "picSchem", "Schematic R1R2R3");
        row("the schematic described", calc, "picSchem",
            "T network: R1 in series in the top line next to port 1; R2 from the middle",
            described);
        row("a missing matrix where the focus is after Calculate", calc, "cmdCalculate",
            "No Y matrix", described, [](Session &s) { s.exercise("R1", {"1"}); });
        for (const Schematic &schematic : catalogue())
            row(qPrintable("selection button " + QString(schematic.name)), "exercise_main",
                schematic.buttonName(), "Schematic " + QString(schematic.name));
        row("a lab reading", helper, "txtMeasure1", "V1, V");
        row("the lab answer", helper, "txtLabAnswer", "Parameter z11 value (kOhm):");
        row("the set-up", helper, "picLab", "Set-up for z11");
        row("the set-up described", helper, "picLab",
            "A current source drives a current into port 1", described);
        row("the set-up follows the parameter", helper, "picLab", "Set-up for h21",
            QAccessible::Name, [](Session &s) { s.lab("h21"); });
        row("About's address", "frmAbout", "Text1", "Bug report address");
    }
    void heardRight()
    {
        QFETCH(Setup, setup);
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QAccessible::Text, text);
        QFETCH(QString, heard);
        setup(*m_s);
        QAccessibleInterface *said =
            QAccessible::queryAccessibleInterface(m_s->control(window, control));
        QVERIFY2(text == QAccessible::Name ? said->text(text) == heard
                                           : said->text(text).startsWith(heard),
                 qPrintable(said->text(text)));
        QCOMPARE(said->role() == QAccessible::Graphic, control.startsWith("pic"));
    }

    // Every control a student can click is also reachable by Tab, in every window there is.
    void everythingTakesFocus()
    {
        m_s->openEverything();
        QStringList missing;
        for (const QString &window : m_s->openWindows())
            for (QWidget *w : m_s->window(window)->findChildren<QWidget *>())
                if ((qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)) &&
                    w->isVisible() && w->isEnabled() && !(w->focusPolicy() & Qt::TabFocus))
                    missing << window + "." + w->objectName();
        QCOMPARE(missing, QStringList());
    }

    // An exercise, the lab helper and About by Tab, typing and one key alone (each box selects
    // all on focus, so the typing replaces what it held): the key presses the focused button,
    // Enter in a value box calculates, F1 opens About and Escape or Enter closes it.
    void byKeysAlone_data()
    {
        // inABox: the calculations by the key in the last value box rather than on the button.
        columns<Qt::Key, bool, Qt::Key>("key", "inABox", "closesAbout");
        QTest::newRow("Space") << Qt::Key_Space << false << Qt::Key_Escape;
        QTest::newRow("Return") << Qt::Key_Return << true << Qt::Key_Return;
        QTest::newRow("keypad Enter") << Qt::Key_Enter << true << Qt::Key_Enter;
    }
    void byKeysAlone()
    {
        QFETCH(Qt::Key, key);
        QFETCH(bool, inABox);
        QFETCH(Qt::Key, closesAbout);
        auto at = [this, key](const char *window, const QString &control,
                              const QString &text = {}) {
            QVERIFY2(tabTo(m_s->window(window), control).endsWith(control), qPrintable(control));
            if (text.isEmpty())
                QTest::keyClick(QApplication::focusWidget(), key);
            else
                QTest::keyClicks(QApplication::focusWidget(), text);
        };
        at("twoport_main", "btnExercise");
        at("exercise_main", "r1r2r3");
        for (int k = 1; k <= 3; ++k)
            at("exercise_calc", QString("val%1").arg(k), QString::number(k));
        at("exercise_calc", inABox ? "val3" : "cmdCalculate");
        QCOMPARE(m_s->texts("exercise_calc", {"z11", "z12", "z21", "z22"}),
                 (QStringList{"3", "2", "2", "5"}));
        at("twoport_main", "Command1");
        at("lab_selectelement", "btnZ11");
        at("lab_helper", "txtMeasure1", "3");
        at("lab_helper", "txtMeasure2", "1");
        at("lab_helper", inABox ? "txtMeasure2" : "btnCalculate");
        QCOMPARE(m_s->text("lab_helper", "txtLabAnswer"), QStringLiteral("3"));
        QCOMPARE(m_s->messages(), QStringList());
        QWidget *main = m_s->window("twoport_main");
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        QTest::keyClick(main, Qt::Key_F1);
        QTRY_VERIFY(m_s->isOpen("frmAbout"));
        QVERIFY(QTest::qWaitForWindowActive(m_s->window("frmAbout")));
        QTest::keyClick(QApplication::focusWidget(), closesAbout);
        QTRY_VERIFY(!m_s->isOpen("frmAbout"));
    }

    // The working opens by Shift+F1, and a result's menu (Shift+F10) offers the copies.
    void workingAndCopiesByKeys()
    {
        m_s->exercise("R1R2R3", {"1", "2", "3"});
        QWidget *y12 = m_s->control("exercise_calc", "y12");
        QVERIFY(tabTo(m_s->window("exercise_calc"), "y12").endsWith("y12"));
        QTest::keyClick(y12, Qt::Key_F1, Qt::ShiftModifier);
        QTRY_VERIFY(QApplication::activePopupWidget() &&
                    QApplication::activePopupWidget()->inherits("QWhatsThat"));
        QWhatsThis::hideText();
        QTest::keyClick(y12, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QStringList entries;
        for (QAction *action : menu->actions())
            entries << action->text().section('\t', 0, 0).remove('&');
        menu->close();
        for (const char *entry : {"Copy", "Copy results", "Copy as LaTeX"})
            QVERIFY2(entries.contains(entry), qPrintable(entries.join(", ")));
    }
};

KVADRA_TEST_MAIN(TestKeyboard)

#include "tst_keyboard.moc"
