// A student without a mouse, and a screen reader: focus orders, accessible names, and whole
// sessions driven by keys alone.
#include "support/session.h"
#include "twoport/catalogue.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QWhatsThis>
#include <QtTest>

#include <functional>
#include <memory>

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
        QCOMPARE(tabTo(m_s->window(window), order.last(), int(order.size())), order);
    }

    // What a screen reader announces: each box by its own label and unit, each frame by its own
    // caption, each picture as an image with what it shows, each result by entry and value first.
    void heardRight()
    {
        m_s->exercise("R1R2R3", {"1", "2", "3"});
        m_s->lab("z11");
        m_s->labAnswer("5", "2");
        m_s->openAbout();
        auto heard = [this](const char *window, const char *control, QAccessible::Text text) {
            return QAccessible::queryAccessibleInterface(m_s->control(window, control))->text(text);
        };
        const std::tuple<const char *, const char *, QString> names[] = {
            {"exercise_calc", "val1", "R1 (kOhm)"},
            {"exercise_calc", "y22", "y22 (mS)"},
            {"exercise_calc", "frmZ", "Z parameters (kOhm)"},
            {"twoport_main", "frameVol", "Voltage"},
            {"lab_helper", "txtMeasure1", "V1, V"},
            {"lab_helper", "txtLabAnswer", "Parameter z11 value (kOhm):"},
            {"frmAbout", "Text1", "Bug report address"}};
        for (const auto &[window, control, name] : names)
            QCOMPARE(heard(window, control, QAccessible::Name), name);
        QVERIFY(heard("exercise_calc", "y11", QAccessible::Description)
                    .startsWith("y11 = 0.454545454545455 mS = 5/11 mS\n"));
        auto *picture =
            QAccessible::queryAccessibleInterface(m_s->control("exercise_calc", "picSchem"));
        QCOMPARE(picture->role(), QAccessible::Graphic);
        QVERIFY(picture->text(QAccessible::Description).contains("R2 from the middle"));
        QVERIFY(heard("lab_helper", "picLab", QAccessible::Description)
                    .contains("current source drives a current into port 1"));
        // A missing matrix is told where the focus is after Calculate.
        m_s->exercise("R1", {"1"});
        QVERIFY(heard("exercise_calc", "cmdCalculate", QAccessible::Description)
                    .startsWith("No Y matrix"));
    }

    // What a screen reader announces for each picture.
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
        for (const QString &window : m_s->openWindows())
            for (QWidget *w : m_s->window(window)->findChildren<QWidget *>())
                if ((qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)) &&
                    w->isVisible() && w->isEnabled() && !(w->focusPolicy() & Qt::TabFocus))
                    missing << window + "." + w->objectName();
        QCOMPARE(missing, QStringList());
    }

    // An exercise and the lab helper by Tab, Space and typing alone (each box selects all on
    // focus, so the typing replaces what it held).
    void byKeysAlone()
    {
        auto key = [this](const char *window, const QString &control, const QString &text = {}) {
            QVERIFY2(tabTo(m_s->window(window), control).endsWith(control), qPrintable(control));
            if (text.isEmpty())
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            else
                QTest::keyClicks(QApplication::focusWidget(), text);
        };
        key("twoport_main", "btnExercise");
        key("exercise_main", "r1r2r3");
        for (int k = 1; k <= 3; ++k)
            key("exercise_calc", QString("val%1").arg(k), QString::number(k));
        key("exercise_calc", "cmdCalculate");
        QCOMPARE(m_s->texts("exercise_calc", {"z11", "z12", "z21", "z22"}),
                 (QStringList{"3", "2", "2", "5"}));
        key("twoport_main", "Command1");
        key("lab_selectelement", "btnZ11");
        key("lab_helper", "txtMeasure1", "3");
        key("lab_helper", "txtMeasure2", "1");
        key("lab_helper", "btnCalculate");
        QCOMPARE(m_s->text("lab_helper", "txtLabAnswer"), QStringLiteral("3"));
        QCOMPARE(m_s->messages(), QStringList());
    }

    // Enter presses the focused button, and in a value box it calculates.
    void enterPressesAndCalculates()
    {
        auto enter = [this](const char *window, const QString &control) {
            QVERIFY2(tabTo(m_s->window(window), control).endsWith(control), qPrintable(control));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        };
        enter("twoport_main", "btnExercise");
        enter("exercise_main", "r1r2r3");
        m_s->fill({"1", "2", "3"});
        enter("exercise_calc", "val2");
        QCOMPARE(m_s->text("exercise_calc", "z11"), QStringLiteral("3"));
        m_s->lab("z11");
        m_s->type("lab_helper", "txtMeasure1", "5");
        m_s->type("lab_helper", "txtMeasure2", "2");
        QTest::keyClick(m_s->control("lab_helper", "txtMeasure2"), Qt::Key_Enter);
        QCOMPARE(m_s->text("lab_helper", "txtLabAnswer"), QStringLiteral("2.5"));
        QCOMPARE(m_s->messages(), QStringList());
    }

    // The working opens by Shift+F1, and a result's menu (Shift+F10) offers the copies.
    void workingAndCopiesByKeys()
    {
        m_s->exercise("R1R2R3", {"1", "2", "3"});
        QWidget *y12 = m_s->control("exercise_calc", "y12");
        QVERIFY(tabTo(m_s->window("exercise_calc"), "y12").endsWith("y12"));
        QTest::keyClick(y12, Qt::Key_F1, Qt::ShiftModifier);
        QWidget *shown = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->inherits("QWhatsThat") && w->isVisible())
                shown = w;
        QVERIFY(shown);
        QWhatsThis::hideText();
        QTest::keyClick(y12, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QStringList entries;
        for (QAction *action : menu->actions())
            entries << action->text().section('\t', 0, 0).remove('&');
        menu->close();
        QVERIFY2(entries.contains("Copy") && entries.contains("Copy results") &&
                     entries.contains("Copy as LaTeX"),
                 qPrintable(entries.join(", ")));
    }

    // Tab enters each unit group at its selected option.
    void tabEntersUnitGroupsAtTheirSelection()
    {
        m_s->click("twoport_main", "optR2");
        m_s->control("twoport_main", "Command1")->setFocus();
        QCOMPARE(tabTo(m_s->window("twoport_main"), "optS1"),
                 (QStringList{"Command1", "optV2", "optA1", "optR2", "optS1"}));
    }

    // However a comparison box is toggled, it goes straight back to its answer.
    void comparisonBoxesSnapBack()
    {
        m_s->testToComparison();
        m_s->click("test_giveelement", "btnZ11");
        auto *check = m_s->control<QCheckBox>("test_giveelement", "Check1");
        const bool answer = check->isChecked();
        QAccessibleInterface *box = QAccessible::queryAccessibleInterface(check);
        box->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QCOMPARE(check->isChecked(), answer);
        check->toggle();
        QCOMPARE(check->isChecked(), answer);
    }

    // The lab helper grows but never hides its inputs; the windows carry icons for every size a
    // task switcher asks for.
    void windowDetails()
    {
        m_s->lab("z11");
        QWidget *helper = m_s->window("lab_helper");
        const QSize design = helper->size();
        helper->resize(100, 100);
        QCOMPARE(helper->size(), design);
        QVERIFY(QApplication::windowIcon().availableSizes().contains(QSize(48, 48)));
        m_s->exercise("R1R2R3", {"1", "2", "3"});
        QVERIFY(!m_s->control("exercise_calc", "frmInputAll")->font().bold());
        QVERIFY(m_s->control("exercise_calc", "frmInput")->font().bold());
    }

    // The menu item has its key, and the About window goes away by Enter or by Escape.
    void aboutByKeys_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Enter") << Qt::Key_Return;
        QTest::newRow("Escape") << Qt::Key_Escape;
    }
    void aboutByKeys()
    {
        QFETCH(Qt::Key, key);
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
