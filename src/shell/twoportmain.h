#pragma once

#include "shell/form.h"
#include "shell/sharedstate.h"
#include "shell/windowregistry.h"
#include "testsolver/testrecord.h"

#include <QMainWindow>

class QGroupBox;
class QRadioButton;
class QVariant;

namespace kvadra
{

// twoport_main: the launcher and unit settings, the owner of the shared state and of the
// procedures the other windows share. It lives from start to end of the program.
class TwoportMain : public QMainWindow, public Form
{
    Q_OBJECT
public:
    explicit TwoportMain(QWidget *parent = nullptr);
    ~TwoportMain() override;

    // Loads and shows the main window: the program's start-up.
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

    void load() override;
    void unload() override;

private:
    void buildUnits(QWidget *units);
    void selectOption(QRadioButton *option);
    void onExercise();
    void onTest();
    void onLab();
    void onAbout();
    void showSelection(const QString &caption);

    SharedState m_state;
    WindowRegistry m_windows;
    TestRecord m_test;
    QGroupBox *m_frameVol = nullptr;
    QGroupBox *m_frameCur = nullptr;
    QGroupBox *m_frameRes = nullptr;
    QGroupBox *m_frameCon = nullptr;
    QRadioButton *m_optS1 = nullptr;
    QRadioButton *m_optA1 = nullptr;
    QRadioButton *m_optV2 = nullptr;
    QRadioButton *m_optR3 = nullptr;
};

} // namespace kvadra
