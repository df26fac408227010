// The main window's exercise flow: its "Excercise solver" button, the selection window's
// openers and the calculator set-up, beside the windows they drive.
#include "exercise/exercisecalc.h"
#include "exercise/exercisemain.h"
#include "exercise/ownnetwork.h"
#include "shell/twoportmain.h"

namespace kvadra
{

void TwoportMain::onExercise()
{
    m_state.setCurrentMode(1);
    showSelection(QStringLiteral("Choose a schematic"));
}

void TwoportMain::showSelection(const QString &caption)
{
    m_windows.show<ExerciseMain>()->setCaption(caption);
}

void TwoportMain::DrawCalc()
{
    m_windows.show<ExerciseCalc>()->prepare(m_state.schemNumber(), m_state.schemName(),
                                            getPrefix(m_state.ohmDisplay()),
                                            getPrefix(m_state.siemensDisplay()));
}

void TwoportMain::openOwnNetwork(const QString &file)
{
    // The own network belongs to the exercise solver: the selection it lives beside holds the
    // units and takes it along when it closes.
    onExercise();
    OwnNetwork *own = m_windows.show<OwnNetwork>();
    if (!file.isEmpty())
        own->openFile(file);
}

void TwoportMain::openOwnNetlist(const QString &netlist)
{
    m_windows.show<OwnNetwork>()->replaceNetwork(netlist, QStringLiteral("joined network"));
}

void TwoportMain::ContinueExercise()
{
    DrawCalc();
}

} // namespace kvadra
