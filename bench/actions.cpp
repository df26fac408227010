// One student action in a process of its own, so that its first click is really the first in the
// process: nothing that click shows has been built, laid out or drawn before, except by the steps
// a student takes to get there.
#include "actions.h"

#include "driver/session.h"
#include "lab/labformula.h"
#include "shell/application.h"
#include "shell/controls.h"
#include "twoport/catalogue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QSet>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <vector>

namespace
{

// Sees every event the program handles: counts them, so a wait can tell when the event loop
// would go idle, and notes who painted.
class Watch : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The driver's message-box poll ticks every 5 ms whatever the program does.
        if (event->type() != QEvent::Timer)
            ++events;
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto *w = static_cast<QWidget *>(watched);
            windows.insert(w->window()->objectName());
            widgets.insert(w->window()->objectName() + '/' + w->objectName());
        }
        return false;
    }
    void clear()
    {
        windows.clear();
        widgets.clear();
    }

    quint64 events = 0;
    QSet<QString> windows, widgets; // painted since the last clear()
};

// Handles events until a pass over the queues finds none left: the moment the event loop would
// wait for the student, with every repaint and deferred deletion done.
void untilIdle(const Watch &watch)
{
    for (int pass = 0; pass < 1000; ++pass) {
        const quint64 before = watch.events;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        if (watch.events == before)
            return;
    }
    qFatal("the program never went idle");
}

struct Target {
    QWidget *widget;
    QPoint at;
};

Target button(Session &d, const char *window, const QString &name)
{
    auto *w = d.control(QLatin1String(window), name);
    if (!w->isVisible() || !w->isEnabled())
        qFatal("%s in %s cannot be clicked", qPrintable(name), window);
    return {w, w->rect().center()};
}

QString schematic(int i)
{
    return kvadra::catalogue()[size_t(i) % 14].buttonName();
}

const kvadra::LabParameter &parameter(int i)
{
    return kvadra::labParameters()[size_t(i) % 16];
}

// Every tool window closed, so the next step starts from the main window alone.
void home(Session &d)
{
    for (const char *w : {"test_giveelement", "check_results", "exercise_calc", "exercise_main",
                          "lab_helper", "lab_selectelement"})
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
    d.calculate();
}

void labHelper(Session &d, int i)
{
    if (!d.isOpen("lab_selectelement"))
        d.click("twoport_main", "Command1");
    d.click("lab_selectelement", kvadra::parameterButtonName(QLatin1String(parameter(i).name)));
    // Readings of the sign the parameter expects, so no warning box lands in the figures.
    const kvadra::UnitPowers units = d.state().units();
    const auto value = kvadra::labValue(parameter(i).equation, 5, 2, units);
    const bool warns = value && !kvadra::labSignWarning(parameter(i).equation,
                                                        QLatin1String(parameter(i).name), *value)
                                     .isEmpty();
    d.type("lab_helper", "txtMeasure1", QStringLiteral("5"));
    d.type("lab_helper", "txtMeasure2", warns ? QStringLiteral("-2") : QStringLiteral("2"));
}

const char *const compareButtons[8] = {"btnZ11", "btnZ12", "btnZ21", "btnZ22",
                                       "btnY11", "btnY12", "btnY21", "btnY22"};

// Repetition i is prepared by prepare(d, i), untimed; then the target is clicked, timed. The
// windows listed must have painted before the timing ends.
struct Step {
    Action action;
    QStringList painted;
    void (*prepare)(Session &, int);
    Target (*target)(Session &, int);
};

const Step steps[] = {
    {{"selection", "open the selection window"},
     {"twoport_main", "exercise_main"},
     [](Session &d, int) { home(d); },
     [](Session &d, int) { return button(d, "twoport_main", "btnExercise"); }},
    {{"calc-opens", "set up the calculator (window opens)"},
     {"exercise_main", "exercise_calc"},
     [](Session &d, int) { selectionOnly(d); },
     [](Session &d, int i) { return button(d, "exercise_main", schematic(i)); }},
    {{"calc-open", "set up the calculator (window open)"},
     {"exercise_main", "exercise_calc"},
     [](Session &d, int) { calculator(d, 0); },
     [](Session &d, int i) { return button(d, "exercise_main", schematic(i + 1)); }},
    {{"calculate", "Calculate"},
     {"exercise_calc"},
     [](Session &d, int i) { calculator(d, i); },
     [](Session &d, int) { return button(d, "exercise_calc", "cmdCalculate"); }},
    // The fifth step opens the comparison window instead of the selection window.
    {{"continue", "one test step (Continue)"},
     {"exercise_main"},
     [](Session &d, int i) { testStep(d, i % 5); },
     [](Session &d, int) { return button(d, "exercise_calc", "cmdContinue"); }},
    {{"compare", "CompareMatrices"},
     {"test_giveelement"},
     [](Session &d, int) {
         if (!d.isOpen("test_giveelement"))
             d.testToComparison();
     },
     [](Session &d, int i) { return button(d, "test_giveelement", compareButtons[i % 8]); }},
    {{"check-opens", "open Check my results"},
     {"check_results"},
     [](Session &d, int i) {
         d.close("check_results");
         calculator(d, i);
         d.calculate();
     },
     [](Session &d, int) { return button(d, "exercise_calc", "cmdCheck"); }},
    {{"check-follows", "Calculate, Check my results open"},
     {"exercise_calc", "check_results"},
     [](Session &d, int i) {
         calculator(d, i);
         d.calculate();
         if (!d.isOpen("check_results"))
             d.click("exercise_calc", "cmdCheck");
         d.fill({"2", "3", "4"});
     },
     [](Session &d, int) { return button(d, "exercise_calc", "cmdCalculate"); }},
    {{"lab-selection", "open the lab selection"},
     {"twoport_main", "lab_selectelement"},
     [](Session &d, int) { home(d); },
     [](Session &d, int) { return button(d, "twoport_main", "Command1"); }},
    {{"lab-opens", "set up the lab helper (window opens)"},
     {"lab_selectelement", "lab_helper"},
     [](Session &d, int) { labSelectionOnly(d); },
     [](Session &d, int i) {
         return button(d, "lab_selectelement",
                       kvadra::parameterButtonName(QLatin1String(parameter(i).name)));
     }},
    {{"lab-open", "set up the lab helper (window open)"},
     {"lab_selectelement", "lab_helper"},
     [](Session &d, int) { labHelper(d, 0); },
     [](Session &d, int i) {
         return button(d, "lab_selectelement",
                       kvadra::parameterButtonName(QLatin1String(parameter(i + 1).name)));
     }},
    {{"lab-calculate", "lab Calculate"},
     {"lab_helper"},
     [](Session &d, int i) { labHelper(d, i); },
     [](Session &d, int) { return button(d, "lab_helper", "btnCalculate"); }},
    {{"about", "open About"},
     {"twoport_main", "frmAbout"},
     [](Session &d, int) { d.close("frmAbout"); },
     [](Session &d, int) {
         // The item in the menu bar, clicked where it is drawn.
         QMenuBar *bar = d.main().menuBar();
         for (QAction *a : bar->actions())
             if (a->objectName() == QLatin1String("menuAbout"))
                 return Target{bar, bar->actionGeometry(a).center()};
         qFatal("no About in the menu bar");
     }},
};

void printNames(const char *tag, QStringList names)
{
    if (names.isEmpty())
        return;
    names.sort();
    std::printf("%s %s\n", tag, qPrintable(names.join(' ')));
}
} // namespace

const std::vector<Action> &actions()
{
    static const std::vector<Action> list = [] {
        std::vector<Action> out;
        for (const Step &s : steps)
            out.push_back(s.action);
        return out;
    }();
    return list;
}

int runAction(int argc, char *argv[], const char *key, int warm)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kvadra::setUpApplication(app);
    Watch watch;
    app.installEventFilter(&watch);
    Session d;
    untilIdle(watch);
    if (std::strcmp(key, "everything") == 0) {
        d.openEverything();
        untilIdle(watch);
        // Each window keeps an image of itself, 4 bytes a device pixel, for the platform to show.
        double bytes = 0;
        for (const QString &name : d.openWindows()) {
            const QWidget *w = d.window(name);
            bytes +=
                4.0 * w->width() * w->height() * w->devicePixelRatioF() * w->devicePixelRatioF();
        }
        std::printf("images %.2f\n", bytes / (1 << 20));
        return 0;
    }
    const Step *step = nullptr;
    for (const Step &s : steps)
        if (std::strcmp(s.action.key, key) == 0)
            step = &s;
    if (!step) {
        std::fprintf(stderr, "no action %s\n", key);
        return 2;
    }
    std::vector<double> warmMs;
    for (int i = 0; i <= warm; ++i) {
        step->prepare(d, i);
        untilIdle(watch);
        const Target target = step->target(d, i);
        watch.clear();
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(target.widget, Qt::LeftButton, Qt::NoModifier, target.at);
        untilIdle(watch);
        const double ms = timer.nsecsElapsed() / 1e6;
        if (i > 0) {
            warmMs.push_back(ms);
            continue;
        }
        QStringList missing;
        for (const QString &w : step->painted)
            if (!watch.windows.contains(w))
                missing << w;
        // Whatever paints in the next 100 ms was left out of the figure.
        watch.clear();
        QTest::qWait(100);
        std::printf("cold %.3f\n", ms);
        printNames("missing", missing);
        printNames("late", watch.widgets.values());
    }
    std::printf("warm");
    for (double ms : warmMs)
        std::printf(" %.3f", ms);
    std::printf("\n");
    for (const QString &text : d.messages())
        std::printf("box %s\n", qPrintable(text));
    return 0;
}
