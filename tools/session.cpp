// A whole student session with every tool, ending as a student ends it: the main window closed
// with every window still open. It writes no file and prints what it did, so scripts can run it
// under tracing tools (scripts/check.sh nonetwork runs it under strace).
#include "driver/session.h"

#include "lab/labformula.h"
#include "shell/application.h"
#include "shell/controls.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace
{
void exercise(Session &d)
{
    d.click("twoport_main", "btnExercise");
    d.click("exercise_main", "r1r2r3");
    d.fill({"1", "2", "3"});
    d.click("exercise_calc", "cmdCalculate");
    d.trigger("exercise_calc", QStringLiteral("Copy results"));
    d.trigger("exercise_calc", QStringLiteral("Copy as LaTeX"));
    d.type("exercise_calc", "val1", QStringLiteral("1,5e999"));
    d.click("exercise_calc", "cmdCalculate"); // the input error box
    d.click("exercise_main", "g1g2");
    d.fill({"0,5", "2"});
    d.click("exercise_calc", "cmdCalculate");
}

void test(Session &d)
{
    d.click("twoport_main", "btnTest"); // "calculations will be lost", answered Yes
    const char *cases[5] = {"g1g3", "r1r3", "g1g2", "g1g3", "g1"};
    for (const char *schematic : cases) {
        d.click("exercise_main", schematic);
        d.fill({"0.5", "0.5", "0.5"});
        d.click("exercise_calc", "cmdCalculate");
        d.click("exercise_calc", "cmdContinue");
    }
    for (const char *button :
         {"btnZ11", "btnZ12", "btnZ21", "btnZ22", "btnY11", "btnY12", "btnY21", "btnY22"})
        d.click("test_giveelement", button);
}

void lab(Session &d)
{
    d.click("twoport_main", "Command1");
    for (const kvadra::LabParameter &p : kvadra::labParameters()) {
        d.click("lab_selectelement", kvadra::parameterButtonName(QLatin1String(p.name)));
        d.type("lab_helper", "txtMeasure1", QStringLiteral("5"));
        d.type("lab_helper", "txtMeasure2", QStringLiteral("-2")); // some draw a sign warning
        d.click("lab_helper", "btnCalculate");
    }
    d.trigger("lab_helper", QStringLiteral("Copy results"));
    d.type("lab_helper", "txtMeasure1", QStringLiteral("easter"));
    d.type("lab_helper", "txtMeasure2", QStringLiteral("egg"));
    d.click("lab_helper", "btnCalculate"); // the word pair's box, then the input error box
}

void session(Session &d)
{
    d.trigger("twoport_main", QStringLiteral("About"));
    for (const char *option : {"optV1", "optA2", "optR2", "optS2", "optR3"})
        d.click("twoport_main", option);
    exercise(d);
    test(d);
    lab(d);
    d.click("twoport_main", "btnExercise");
    d.click("exercise_main", "r2r3");
    Session::settle();
    std::printf("open at the end: %s\n", qPrintable(d.openWindows().join(' ')));
    const QStringList boxes = d.messages();
    std::printf("message boxes answered: %d\n", int(boxes.size()));
    for (const QString &text : boxes)
        std::printf("  %s\n", qPrintable(text));
    std::fflush(stdout);
    d.main().close();
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    kvadra::setUpApplication(app);
    Session driver;
    // Every box answered as its default button would be: Yes to the test's question.
    driver.boxes().setFallback([](QMessageBox::StandardButtons offered) {
        return offered.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
    });
    // From inside the event loop, as a student's clicks come; closing the main window ends it.
    QTimer::singleShot(0, &driver.main(), [&] { session(driver); });
    const int rc = app.exec();
    std::printf("session ended, %d windows left open\n", int(driver.openWindows().size()));
    return rc;
}
