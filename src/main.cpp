#include "shell/application.h"
#include "shell/twoportmain.h"
#include "windows.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kvadra::setUpApplication(app);
    kvadra::TwoportMain mainWindow;
    kvadra::registerWindows(mainWindow);
    mainWindow.start();
    return app.exec();
}
