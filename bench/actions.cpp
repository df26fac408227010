// Latency of each student action inside the program under the offscreen platform, from the
// click until the window has repainted, median and worst of a number of repetitions; then the
// thirty pictures drawn with an empty cache.
//   kvadra_bench_actions [repetitions]   (default 100)
#include "driver/session.h"

#include "lab/labformula.h"
#include "resources/pictures.h"
#include "shell/application.h"
#include "twoport/catalogue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmapCache>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace
{
int repetitions = 100;

struct Figures {
    double median;
    double worst;
};

// Prepare (not timed) then act and let the window repaint (timed), `repetitions` times. The
// first repetition is part of the figures: it is the student's first click.
Figures measure(const std::function<void(int)> &prepare, const std::function<void(int)> &act)
{
    std::vector<double> ms;
    for (int i = 0; i < repetitions; ++i) {
        prepare(i);
        Session::settle();
        QElapsedTimer timer;
        timer.start();
        act(i);
        Session::settle();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    const double worst = *std::max_element(ms.begin(), ms.end());
    std::nth_element(ms.begin(), ms.begin() + long(ms.size() / 2), ms.end());
    return {ms[ms.size() / 2], worst};
}

void report(const char *action, Figures f, double medianGoal, double worstGoal)
{
    const bool met = f.median <= medianGoal && f.worst <= worstGoal;
    std::printf("  %-44s %8.3f %8.3f   %s\n", action, f.median, f.worst, met ? "" : "missed");
}

const char *schematic(int i)
{
    return kvadra::catalogue()[size_t(i) % 14].buttonName;
}

const kvadra::LabParameter &parameter(int i)
{
    return kvadra::labParameters()[size_t(i) % 16];
}

// Closes every tool window, so the next step starts from the main window alone.
void home(Session &d)
{
    for (const char *w :
         {"test_giveelement", "exercise_calc", "exercise_main", "lab_helper", "lab_selectelement"})
        d.close(w);
}

// The selection window open and the calculator closed, so the next pick creates it.
void selectionOnly(Session &d)
{
    d.close("exercise_calc");
    if (!d.isOpen("exercise_main"))
        d.click("twoport_main", "btnExercise");
}

void labSelectionOnly(Session &d)
{
    d.close("lab_helper");
    if (!d.isOpen("lab_selectelement"))
        d.click("twoport_main", "Command1");
}

void calculator(Session &d, int i)
{
    if (!d.isOpen("exercise_main"))
        d.click("twoport_main", "btnExercise");
    d.click("exercise_main", schematic(i));
    d.fill({"1", "2", "3"});
}

// Up to the point where the next click is Continue of the test's step `step` (0 to 4).
void testStep(Session &d, int step)
{
    if (step == 0) {
        home(d);
        d.click("twoport_main", "btnTest");
    }
    d.click("exercise_main", schematic(step * 3));
    d.fill({"1", "2", "3"});
    d.click("exercise_calc", "cmdCalculate");
}

// A finished test, its comparison window open.
void comparison(Session &d)
{
    if (d.isOpen("test_giveelement"))
        return;
    for (int step = 0; step < 5; ++step) {
        testStep(d, step);
        d.click("exercise_calc", "cmdContinue");
    }
}

void labHelper(Session &d, const kvadra::SharedState &s, int i)
{
    if (!d.isOpen("lab_selectelement"))
        d.click("twoport_main", "Command1");
    d.click("lab_selectelement", parameter(i).button);
    // Readings of the sign the parameter expects, so no warning box lands in the figures.
    const kvadra::UnitPowers units = s.units();
    const auto value = kvadra::labValue(parameter(i).equation, 5, 2, units);
    const bool warns = value && !kvadra::labSignWarning(parameter(i).equation,
                                                        QLatin1String(parameter(i).name), *value)
                                     .isEmpty();
    d.type("lab_helper", "txtMeasure1", QStringLiteral("5"));
    d.type("lab_helper", "txtMeasure2", warns ? QStringLiteral("-2") : QStringLiteral("2"));
}

const char *const compareButtons[8] = {"btnZ11", "btnZ12", "btnZ21", "btnZ22",
                                       "btnY11", "btnY12", "btnY21", "btnY22"};
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1)
        repetitions = std::max(1, std::atoi(argv[1]));
    kvadra::setUpApplication(app);
    Session d;
    Session::settle();

    std::printf("Student actions, %d repetitions each, ms (goal: median <= 2, worst <= 16)\n",
                repetitions);
    std::printf("  %-44s %8s %8s\n", "", "median", "worst");
    const auto row = [](const char *action, Figures f) { report(action, f, 2, 16); };
    const auto step = [&](int i) { testStep(d, i % 5); };
    const auto continueTest = [&](int) { d.click("exercise_calc", "cmdContinue"); };
    row("open the selection window (14 pictures)",
        measure([&](int) { home(d); }, [&](int) { d.click("twoport_main", "btnExercise"); }));
    row("set up the calculator (window opens)",
        measure([&](int) { selectionOnly(d); },
                [&](int i) { d.click("exercise_main", schematic(i)); }));
    row("set up the calculator (window open)",
        measure([&](int) { calculator(d, 0); },
                [&](int i) { d.click("exercise_main", schematic(i + 1)); }));
    row("Calculate", measure([&](int i) { calculator(d, i); },
                             [&](int) { d.click("exercise_calc", "cmdCalculate"); }));
    row("one test step (Continue)", measure(step, continueTest));
    row("CompareMatrices",
        measure([&](int) { comparison(d); },
                [&](int i) { d.click("test_giveelement", compareButtons[i % 8]); }));
    row("open the lab selection",
        measure([&](int) { home(d); }, [&](int) { d.click("twoport_main", "Command1"); }));
    row("set up the lab calculator (window opens)",
        measure([&](int) { labSelectionOnly(d); },
                [&](int i) { d.click("lab_selectelement", parameter(i).button); }));
    row("set up the lab calculator (window open)",
        measure([&](int) { labHelper(d, d.state(), 0); },
                [&](int i) { d.click("lab_selectelement", parameter(i + 1).button); }));
    row("lab Calculate", measure([&](int i) { labHelper(d, d.state(), i); },
                                 [&](int) { d.click("lab_helper", "btnCalculate"); }));
    home(d);

    const QStringList names = kvadra::pictureNames();
    std::printf("\nAll %d pictures drawn with an empty cache, ms (goal <= 10)\n",
                int(names.size()));
    std::printf("  %-44s %8s %8s\n", "", "median", "worst");
    for (qreal ratio : {1.0, 2.0}) {
        const Figures f = measure([](int) { QPixmapCache::clear(); },
                                  [&](int) {
                                      for (const QString &name : names)
                                          kvadra::picture(name, ratio);
                                  });
        const QByteArray label = "at device pixel ratio " + QByteArray::number(ratio);
        report(label.constData(), f, 10, 10);
    }
    const QStringList boxes = d.messages();
    if (!boxes.isEmpty()) {
        std::printf("\n%d message boxes came up, and their time is in the figures:\n",
                    int(boxes.size()));
        for (const QString &text : boxes)
            std::printf("  %s\n", qPrintable(text));
    }
    return 0;
}
