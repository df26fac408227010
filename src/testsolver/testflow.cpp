// The main window's test flow: its "Test solver" button, the continuation after a pick, the
// step at each "Continue..." and the comparison, beside the window they drive.
#include "exercise/exercisecalc.h"
#include "exercise/exercisemain.h"
#include "exercise/ownnetwork.h"
#include "shell/messagebox.h"
#include "shell/twoportmain.h"
#include "testsolver/testgiveelement.h"

#include <QVariant>

namespace kvadra
{

void TwoportMain::onTest()
{
    if (m_state.currentMode() != 0) {
        const auto answer = messageBox(
            this,
            QStringLiteral("Note, that if there are unfinished calculations in Exercise solver, "
                           "they will be lost. Do you want to continue?"),
            BoxStyle::YesNo);
        if (answer != QMessageBox::Yes)
            return;
    }
    m_windows.close<TestGiveElement>();
    m_windows.close<OwnNetwork>();
    m_windows.close<ExerciseMain>();
    m_windows.close<ExerciseCalc>();
    // After the closing, which may have ended the previous flow.
    m_state.setCurrentMode(2);
    m_state.setSchemCount(0);
    showSelection(QStringLiteral("Choose the INITIAL schematic"));
}

void TwoportMain::ContinueTest()
{
    DrawCalc();
}

void TwoportMain::TestInProgress()
{
    const qint16 count = m_state.schemCount();
    if (count < 5)
        m_test.storeStep(count, m_state.zExists(), m_state.yExists(), m_state.z(), m_state.y());
    const qint16 next = qint16(count + 1);
    m_state.setSchemCount(next);
    // The calculator is closed from inside its own Continue handler; its deletion is deferred.
    m_windows.close<ExerciseMain>();
    m_windows.close<ExerciseCalc>();
    if (next != 5) {
        m_state.setCurrentMode(2);
        showSelection(QStringLiteral("Choose the schematic for case (") +
                      QStringLiteral("ABCD").at(next - 1) + QStringLiteral(")"));
    } else {
        m_windows.show<TestGiveElement>();
    }
}

void TwoportMain::CompareMatrices(const QVariant &myParam)
{
    TestGiveElement *window = m_windows.find<TestGiveElement>();
    if (!window)
        return;
    const int code = myParam.toInt();
    const std::array<qint16, 4> answers = compareParameter(m_test, code);
    window->Achecked = answers[0];
    window->Bchecked = answers[1];
    window->Cchecked = answers[2];
    window->Dchecked = answers[3];
    window->CheckBoxes();
    const QString unit = code < 4 ? getPrefix(m_state.ohmDisplay()) + QStringLiteral("Ohm")
                                  : getPrefix(m_state.siemensDisplay()) + QStringLiteral("S");
    std::array<QString, 4> explanations;
    for (int k = 0; k < 4; ++k)
        explanations[size_t(k)] = compareExplanation(m_test, code, k, unit);
    window->setExplanations(explanations);
}

} // namespace kvadra
