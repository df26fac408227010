// The yardstick for start-up: the least a Qt Widgets program does to show one window. With the
// argument "text" the window shows one line of text, which is what makes Qt load its fonts.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    if (argc > 1 && std::strcmp(argv[1], "text") == 0)
        (new QVBoxLayout(&window))->addWidget(new QLabel(QStringLiteral("Two-port networks")));
    window.show();
    return app.exec();
}
