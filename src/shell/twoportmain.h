#pragma once

#include "shell/form.h"
#include "shell/sharedstate.h"
#include "shell/windowregistry.h"
#include "twoport/testrecord.h"

#include <QMainWindow>

#include <array>

class QGroupBox;
class QRadioButton;
class QVariant;

namespace kvadra
{

// twoport_main: the launcher and unit settings, the owner of the shared state and of the
// procedures the other windows share. It lives from start to end of the program. The bodies of
// the procedures that drive a tool live beside that tool: exercise/exerciseflow.cpp,
// testsolver/testflow.cpp, lab/labflow.cpp.
class TwoportMain : public QMainWindow, public Form
{
    Q_OBJECT
public:
    static constexpr const char *Name = "twoport_main";

    explicit TwoportMain(QWidget *parent = nullptr);
    ~TwoportMain() override;

    // Loads and shows the main window: the program's start-up. The windows it opens must have
    // been registered first (registerWindows).
    void start();

    SharedState &state() { return m_state; }
    WindowRegistry &windows() { return m_windows; }

    // The shared procedures.
    QString getPrefix(const qint16 &power) const;
    void disableUnits();
    void enableUnits();
    void DrawCalc();
    void ContinueExercise();
    void ContinueTest();
    void TestInProgress();
    void CompareMatrices(const QVariant &myParam);
    void UnloadAllForms(const QString &FormToIgnore = QString());
    void checkInput(const QString &val1, const QString &val2);
    // The own-network window, with a netlist file where one is named: `kvadra FILE.cir`.
    void openOwnNetwork(const QString &file = QString());
    // The own-network window with this network in it.
    void openOwnNetlist(const QString &netlist);

    void load() override;
    void unload() override;

private:
    void buildUnits(QWidget *units);
    // The launcher's buttons and menu item.
    void onExercise();
    void onTest();
    void onLab();
    void onAbout();
    // Shows the schematic selection window and captions its frame.
    void showSelection(const QString &caption);

    SharedState m_state;
    WindowRegistry m_windows;
    TestRecord m_test;
    std::array<QGroupBox *, 4> m_unitFrames{};      // voltage, current, resistance, conductance
    std::array<QRadioButton *, 4> m_startOptions{}; // mS, mA, V, kOhm: selected at start
};

} // namespace kvadra
