// Writes a PNG of every window, set up as a student would leave it, for the README and for
// looking at the layout. Run it under QT_SCALE_FACTOR=2 for the 2x set.
//   kvadra_screenshots [output-directory]
#include "driver/darkpalette.h"
#include "driver/session.h"
#include "shell/application.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QTabWidget>
#include <QToolTip>
#include <QWidget>

#include <cstdio>

namespace
{
Session *session = nullptr;

// Port 1, R1, R2 turned upright, R3, port 2 and the bridge R4 placed at the cursor; then the
// wires, each from where W starts it to where W ends it.
const QString bridgedTeeByKeyboard = QStringLiteral(
    "1 Esc Right*4 Up*2 r Esc Right*4 Down*2 r Ctrl+R Esc Right*4 Up*2 r Esc Right*4 Down*2 2 Esc "
    "Left*8 Up*6 r Esc "
    "Left*8 Down*4 w Right*2 w Right*4 w Right*4 w Right*4 w Right*2 w Down*4 w Left*16 w "
    "Right*2 Up*4 w Up*4 w w Right*4 w Right*4 w Right*4 w w Down*4 w Esc");

QWidget *window(const char *name)
{
    return session->window(QLatin1String(name));
}

void shoot(const QString &dir, const char *windowName, const char *file)
{
    QWidget *w = window(windowName);
    // No caret or focus frame: the picture shows what was computed, not where the keys went.
    if (QWidget *focus = QApplication::focusWidget())
        focus->clearFocus();
    for (QLineEdit *box : w->findChildren<QLineEdit *>())
        box->deselect();
    QApplication::processEvents();
    const QPixmap shot = w->grab();
    const QString suffix =
        shot.devicePixelRatio() > 1 ? QStringLiteral("@%1x").arg(shot.devicePixelRatio()) : "";
    const QString path = dir + QLatin1Char('/') + QLatin1String(file) + suffix + ".png";
    if (!shot.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}
// Tooltips are windows of their own, so grab() of the window misses them: paint the tooltip
// into the window's picture where it would appear, just below the control.
void shootTip(const QString &dir, const char *windowName, const char *control, const char *file)
{
    QWidget *w = window(windowName);
    QWidget *c = w->findChild<QWidget *>(QLatin1String(control));
    const QPoint at = c->mapTo(w, QPoint(0, c->height() + 2));
    QToolTip::showText(c->mapToGlobal(QPoint(0, c->height() + 2)), c->toolTip(), c);
    QApplication::processEvents();
    QWidget *tip = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->inherits("QTipLabel") && top->isVisible())
            tip = top;
    if (!tip)
        return;
    const QPixmap tipShot = tip->grab();
    QPixmap shot = w->grab();
    QSize size = shot.deviceIndependentSize().toSize().expandedTo(
        QSize(at.x() + tip->width(), at.y() + tip->height()));
    QPixmap canvas(size * shot.devicePixelRatio());
    canvas.setDevicePixelRatio(shot.devicePixelRatio());
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    p.drawPixmap(0, 0, shot);
    p.drawPixmap(at, tipShot);
    p.end();
    QToolTip::hideText();
    const QString suffix =
        shot.devicePixelRatio() > 1 ? QStringLiteral("@%1x").arg(shot.devicePixelRatio()) : "";
    canvas.save(dir + QLatin1Char('/') + QLatin1String(file) + suffix + ".png");
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kvadra::setUpApplication(app);
    const QString dir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(KVADRA_SHOTS_DIR);
    QDir().mkpath(dir);

    Session main;
    session = &main;
    shoot(dir, "twoport_main", "main");
    main.openAbout();
    shoot(dir, "frmAbout", "about");
    window("frmAbout")->close();

    main.click("twoport_main", "btnExercise");
    shoot(dir, "exercise_main", "selection");
    main.click("exercise_main", "r1r2r3");
    main.type("exercise_calc", "val1", "1");
    main.type("exercise_calc", "val2", "2");
    main.type("exercise_calc", "val3", "3");
    main.click("exercise_calc", "cmdCalculate");
    shoot(dir, "exercise_calc", "calculator");
    shootTip(dir, "exercise_calc", "y12", "tooltip-formula");
    // The student's own values judged: one right, three with a usual slip.
    main.click("exercise_calc", "cmdCheck");
    for (const auto &[box, text] : {std::pair{"youry11", "0.4545"}, std::pair{"youry12", "0.1818"},
                                    std::pair{"yourh22", "200"}, std::pair{"yourA", "1.49"}})
        main.type("check_results", box, text);
    window("check_results")->adjustSize();
    shoot(dir, "check_results", "check-results");
    // The same network between a source and a load, then joined in series with itself.
    auto *tabs = window("check_results")->findChild<QTabWidget *>("tabsCheck");
    tabs->setCurrentIndex(1);
    main.type("check_results", "yourZin", "7/3");
    main.type("check_results", "yourAv", "0.14");
    shoot(dir, "check_results", "check-terminated");
    tabs->setCurrentIndex(2);
    auto *kind = window("check_results")->findChild<QComboBox *>("cmbJoinKind");
    kind->setCurrentIndex(kind->findText("series", Qt::MatchStartsWith));
    shoot(dir, "check_results", "check-joined");
    tabs->setCurrentIndex(0);
    main.click("exercise_main", "g1");
    main.type("exercise_calc", "val1", "2");
    main.click("exercise_calc", "cmdCalculate");
    shoot(dir, "exercise_calc", "calculator-g1");
    shootTip(dir, "exercise_calc", "frmZ", "tooltip-no-matrix");

    // Closing the exercise first ends its flow, so the test starts without a question.
    window("exercise_main")->close();
    window("exercise_calc")->close();
    main.click("twoport_main", "btnTest");
    // Case A shows the same z11 as the INITIAL but differs in its last bits.
    const char *picks[5][5] = {{"g1g3", "val1", "0.5", "val3", "0.5"},
                               {"r1r3", "val1", "2", "val3", "2"},
                               {"g1g2", "val1", "1", "val2", "0.5"},
                               {"g1g3", "val1", "0.5", "val3", "0.5"},
                               {"g1", "val1", "1", nullptr, nullptr}};
    for (const auto &pick : picks) {
        main.click("exercise_main", pick[0]);
        for (int k = 1; k < 5 && pick[k]; k += 2)
            main.type("exercise_calc", pick[k], pick[k + 1]);
        main.click("exercise_calc", "cmdCalculate");
        main.click("exercise_calc", "cmdContinue");
    }
    main.click("test_giveelement", "btnZ11");
    shoot(dir, "test_giveelement", "comparison");
    shootTip(dir, "test_giveelement", "Check1", "tooltip-comparison");
    window("test_giveelement")->close();

    main.click("twoport_main", "Command1");
    shoot(dir, "lab_selectelement", "lab-selection");
    main.click("lab_selectelement", "btnZ11");
    main.type("lab_helper", "txtMeasure1", "5");
    main.type("lab_helper", "txtMeasure2", "2");
    main.click("lab_helper", "btnCalculate");
    shoot(dir, "lab_helper", "lab-helper");
    shoot(dir, "twoport_main", "main-locked");

    // A result too long for its box.
    main.exercise("R1R2R3", {"1000000", "2000000", "3000000"});
    shoot(dir, "exercise_calc", "calculator-long");

    // The own network: a bridged T drawn by keyboard alone, then the transistor's h-model.
    main.click("twoport_main", "btnExercise");
    main.click("exercise_main", "cmdOwnNetwork");
    main.keys("own_network", "viewDrawing", bridgedTeeByKeyboard);
    main.awaitFormulas();
    shoot(dir, "own_network", "own-network-bridged-t");
    main.trigger("own_network", QStringLiteral("Transistor h-model"));
    main.awaitFormulas();
    shoot(dir, "own_network", "own-network-h-model");

    // The same windows when the desktop hands out a dark palette.
    QApplication::setPalette(darkPalette());
    main.openAbout();
    for (const auto &[windowName, file] :
         {std::pair{"twoport_main", "dark-main"}, std::pair{"exercise_main", "dark-selection"},
          std::pair{"exercise_calc", "dark-calculator"},
          std::pair{"lab_selectelement", "dark-lab-selection"},
          std::pair{"lab_helper", "dark-lab-helper"}, std::pair{"frmAbout", "dark-about"},
          std::pair{"own_network", "dark-own-network"}})
        shoot(dir, windowName, file);
    main.main().close();
    return 0;
}
