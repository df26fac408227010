#pragma once

#include "driver/messageboxanswerer.h"
#include "shell/twoportmain.h"

#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

// One run of the program as a student meets it: the real main window with every window
// registered, started as at program start, its windows reached by name and driven by mouse and
// keyboard events, its message boxes answered. The tests, the benchmark, the scripted session
// and the screenshot tool all drive the program through it. A missing window or control, or a
// click on a disabled one, ends the process: a script that silently skipped a step would check
// or measure less than it claims.
class Session
{
public:
    Session();
    ~Session();

    kvadra::TwoportMain &main() { return *m_main; }
    kvadra::SharedState &state() { return m_main->state(); }
    MessageBoxAnswerer &boxes() { return m_boxes; }

    // The open window of that name.
    QWidget *window(const QString &name);
    bool isOpen(const QString &name) { return m_main->windows().isOpen(name); }
    QStringList openWindows() { return m_main->windows().openWindows(); }

    template <typename T = QWidget> T *control(const QString &window, const QString &name)
    {
        T *w = this->window(window)->findChild<T *>(name);
        if (!w)
            qFatal("no control %s in %s", qPrintable(name), qPrintable(window));
        return w;
    }

    // A left click in the middle of the control (also of a main-window control).
    void click(const QString &window, const QString &name);
    // Focuses the box by a click, then types: the focus selects all, so the typing replaces it.
    void type(const QString &window, const QString &name, const QString &text);
    QString text(const QString &window, const QString &name)
    {
        return control<QLineEdit>(window, name)->text();
    }
    QStringList texts(const QString &window, const QStringList &names);
    // Closes the window if it is open, as its close box does.
    void close(const QString &window);
    // Triggers the window's action of that text ("Copy results", "About").
    void trigger(const QString &window, const QString &actionText);
    // Presses Ctrl+Shift+C in the window and returns what it put on the clipboard.
    QString copy(const QString &window);
    // The texts of the message boxes shown since the last call, oldest first.
    QStringList messages();
    // Delivers whatever the last step posted (repaints, deferred deletions), as the event loop
    // does before the student sees the result.
    static void settle();

    // Clicks these unit options of the main window ("optR1", "optS2").
    void chooseUnits(const QStringList &options)
    {
        for (const QString &option : options)
            click(QStringLiteral("twoport_main"), option);
    }
    // Types value k into box val<k+1>, skipping the boxes of absent elements (fixed at "0").
    void fill(const QStringList &values);
    // The usual exercise: Excercise solver, a picture, values typed, Calculate.
    void exercise(const QString &schematic, const QStringList &values);
    void calculate() { click("exercise_calc", "cmdCalculate"); }
    // A pick is the schematic and the values typed, separated by blanks: "G1G3 1 0 1". Each
    // goes through Calculate and Continue; the fifth opens the comparison window.
    void pick(const QString &pick);
    void test(const QStringList &picks);
    // Five different schematics, so the comparison window opens with nothing in common.
    void testToComparison();

    void openAbout();
    // The lab helper for a parameter ("z11", "B"), the selection window opened first if needed.
    void lab(const QString &parameter);
    // Types both readings, presses Calculate and returns the answer shown.
    QString labAnswer(const QString &m1, const QString &m2);
    // Keys pressed in a control as a script of words: a character ("r", "1"), a key by name
    // (Esc, Enter, Tab, Del, Space, F2, Left, Right, Up, Down), with modifiers ("Ctrl+R",
    // "Shift+Tab"), repeated ("Right*4").
    void keys(const QString &window, const QString &control, const QString &script);
    // The own-network window with this netlist typed into it, its results worked out.
    void ownNetwork(const QString &netlist);
    // Waits until the own-network window's formulas are worked out (at most 20 s).
    void awaitFormulas();

    // Every window at once: the comparison after a test, a calculated T network, the lab
    // helper for z11 and About.
    void openEverything();

private:
    std::unique_ptr<kvadra::TwoportMain> m_main;
    MessageBoxAnswerer m_boxes;
};
