// The terminated and joined views of the T of 1k, 2k and 3k as PNG files, for looking at them
// before they have a window:  kvadra_viewshots [output-directory]   (default: the current one)
// Run with QT_QPA_PLATFORM=offscreen, and KVADRA_CIRCUIT_MODULE=build/src/libkvadra-circuit.so:
// the loader looks beside the program, and this one is not beside the module. QT_SCALE_FACTOR
// and KVADRA_DARK=1 show them on other screens and desktops.
#include "circuit/loader.h"
#include "exercise/joinview.h"
#include "exercise/terminatedview.h"
#include "shell/application.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPalette>
#include <QStyleFactory>

#include <cstdio>

using namespace kvadra;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    if (qEnvironmentVariableIsSet("KVADRA_DARK")) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(45, 45, 45));
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::Button, QColor(60, 60, 60));
        dark.setColor(QPalette::ButtonText, Qt::white);
        QApplication::setPalette(dark);
    }
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QString why;
    const circuit::Engine *engine = circuit::circuitEngine(&why);
    if (!engine) {
        std::fprintf(stderr, "no circuit core: %s\n", qPrintable(why));
        return 1;
    }
    circuit::Request tee;
    {
        const circuit::EngineLock lock;
        tee.netlist = engine->schematicNetlist(11);
    }
    tee.values = {{"R1", "1k"}, {"R2", "2k"}, {"R3", "3k"}};
    tee.units = {0, -3, 3, -3};

    TerminatedView terminated;
    terminated.setNetwork(circuit::analyseLocked(*engine, tee), tee.units, false);
    terminated.findChild<QLineEdit *>(QStringLiteral("yourZin"))->setText(QStringLiteral("7/3"));
    terminated.findChild<QLineEdit *>(QStringLiteral("yourAv"))->setText(QStringLiteral("7"));
    terminated.resize(terminated.sizeHint().expandedTo({900, 0}));
    terminated.show();

    JoinView joined;
    joined.setNetwork(tee);
    joined.findChild<QComboBox *>(QStringLiteral("cmbJoinKind"))->setCurrentIndex(1);
    joined.resize(joined.sizeHint().expandedTo({900, 0}));
    joined.show();
    QApplication::processEvents();

    bool ok = terminated.grab().save(dir + QStringLiteral("/terminatedview.png"));
    ok = joined.grab().save(dir + QStringLiteral("/joinview.png")) && ok;
    return ok ? 0 : 1;
}
