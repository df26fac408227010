#include "shell/application.h"
#include "shell/twoportmain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kvadra::setUpApplication(app);
    kvadra::TwoportMain mainWindow;
    mainWindow.start();
    return app.exec();
}
