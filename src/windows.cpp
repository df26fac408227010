#include "windows.h"

#include "exercise/checkresults.h"
#include "exercise/exercisecalc.h"
#include "exercise/exercisemain.h"
#include "exercise/ownnetwork.h"
#include "lab/labhelper.h"
#include "lab/labselectelement.h"
#include "shell/aboutwindow.h"
#include "shell/twoportmain.h"
#include "testsolver/testgiveelement.h"

namespace kvadra
{

void registerWindows(TwoportMain &main)
{
    WindowRegistry &r = main.windows();
    r.add<AboutWindow>([] { return new AboutWindow; });
    r.add<ExerciseMain>([&main] { return new ExerciseMain(main); });
    r.add<ExerciseCalc>([&main] { return new ExerciseCalc(main); });
    r.add<CheckResults>([&main] {
        auto *check = new CheckResults;
        QObject::connect(check, &CheckResults::openNetlist, &main, &TwoportMain::openOwnNetlist);
        return check;
    });
    r.add<OwnNetwork>([&main] { return new OwnNetwork(main); });
    r.add<TestGiveElement>([&main] { return new TestGiveElement(main); });
    r.add<LabSelectElement>([&main] { return new LabSelectElement(main); });
    r.add<LabHelper>([&main] { return new LabHelper(main); });
}

} // namespace kvadra
