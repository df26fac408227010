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
