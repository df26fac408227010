#include "circuit/loader.h"
#include "shell/application.h"
#include "shell/twoportmain.h"
#include "windows.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The command line prints and ends without opening any window.
    if (argc > 1 && qstrcmp(argv[1], "--parameters") == 0)
        return kvadra::circuit::runParameters(argc, argv);
    QApplication app(argc, argv);
    kvadra::setUpApplication(app);
    kvadra::TwoportMain mainWindow;
    kvadra::registerWindows(mainWindow);
    mainWindow.start();
    // `kvadra FILE.cir`: the desktop's file manager opens netlists this way.
    if (const QStringList args = app.arguments(); args.size() > 1)
        mainWindow.openOwnNetwork(args.at(1));
    return app.exec();
}
