// Writes a PNG of every window, set up as a student would leave it, for the README and for
// looking at the layout. Run it under QT_SCALE_FACTOR=2 for the 2x set.
//   kvadra_screenshots [output-directory]
#include "shell/application.h"
#include "shell/twoportmain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QWidget>

#include <cstdio>

namespace {
kvadra::TwoportMain *mainWindow = nullptr;

QWidget *window(const char *name) { return mainWindow->windows().window(QLatin1String(name)); }

void click(const char *windowName, const char *control)
{
    window(windowName)->findChild<QAbstractButton *>(QLatin1String(control))->click();
}

void type(const char *windowName, const char *control, const char *text)
{
    window(windowName)->findChild<QLineEdit *>(QLatin1String(control))->setText(QLatin1String(text));
}

void shoot(const QString &dir, const char *windowName, const char *file)
{
    QWidget *w = window(windowName);
    QApplication::processEvents();
    const QPixmap shot = w->grab();
    const QString suffix =
        shot.devicePixelRatio() > 1 ? QStringLiteral("@%1x").arg(shot.devicePixelRatio()) : "";
    const QString path = dir + QLatin1Char('/') + QLatin1String(file) + suffix + ".png";
    if (!shot.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kvadra::setUpApplication(app);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(KVADRA_SHOTS_DIR);
    QDir().mkpath(dir);

    kvadra::TwoportMain main;
    mainWindow = &main;
    main.start();
    shoot(dir, "twoport_main", "main");
    main.findChild<QAction *>(QStringLiteral("menuAbout"))->trigger();
    shoot(dir, "frmAbout", "about");
    window("frmAbout")->close();

    click("twoport_main", "btnExercise");
    shoot(dir, "exercise_main", "selection");
    click("exercise_main", "r1r2r3");
    type("exercise_calc", "val1", "1");
    type("exercise_calc", "val2", "2");
    type("exercise_calc", "val3", "3");
    click("exercise_calc", "cmdCalculate");
    shoot(dir, "exercise_calc", "calculator");
    click("exercise_main", "g1");
    type("exercise_calc", "val1", "2");
    click("exercise_calc", "cmdCalculate");
    shoot(dir, "exercise_calc", "calculator-g1");

    // Closing the exercise first ends its flow, so the test starts without a question.
    window("exercise_main")->close();
    window("exercise_calc")->close();
    click("twoport_main", "btnTest");
    const char *picks[5][4] = {{"r1r2", "1", "2", nullptr},
                               {"r1r2", "1", "2", nullptr},
                               {"g1g2", "1", "0.5", nullptr},
                               {"r1r2r3", "1", "2", "3"},
                               {"g1", "1", nullptr, nullptr}};
    for (const auto &pick : picks) {
        click("exercise_main", pick[0]);
        for (int k = 1; k < 4 && pick[k]; ++k) {
            const QByteArray box = "val" + QByteArray::number(pick[0][0] == 'g' && k == 1 ? 1 : k);
            type("exercise_calc", box.constData(), pick[k]);
        }
        click("exercise_calc", "cmdCalculate");
        click("exercise_calc", "cmdContinue");
    }
    click("test_giveelement", "btnZ11");
    shoot(dir, "test_giveelement", "comparison");
    window("test_giveelement")->close();

    click("twoport_main", "Command1");
    shoot(dir, "lab_selectelement", "lab-selection");
    click("lab_selectelement", "btnZ11");
    type("lab_helper", "txtMeasure1", "5");
    type("lab_helper", "txtMeasure2", "2");
    click("lab_helper", "btnCalculate");
    shoot(dir, "lab_helper", "lab-helper");
    shoot(dir, "twoport_main", "main-locked");
    main.close();
    return 0;
}
