// Writes every kind of LaTeX fragment the program copies, each as the student gets it from
// "Copy as LaTeX", into a folder: the LaTeX check compiles each one.
//   kvadra_latexfragments output-directory
#include "driver/session.h"
#include "shell/application.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <functional>

namespace
{
bool save(const QString &dir, const char *name)
{
    QFile file(dir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".tex"));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QGuiApplication::clipboard()->text().toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    std::printf("%s\n", qPrintable(file.fileName()));
    return true;
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kvadra::setUpApplication(app);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kvadra_latexfragments output-directory\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);

    const struct {
        const char *name, *locale;
        std::function<void(Session &)> steps;
        const char *window;
        const char *copy = "Copy as LaTeX";
    } fragments[] = {
        {"resistances", "C",
         [](Session &s) {
             s.exercise("R1R2R3", {"1", "2", "3"});
         },
         "exercise_calc"},
        {"conductances-comma", "de_DE",
         [](Session &s) {
             s.exercise("G1G2G3", {"1,5", "2", "3"});
         },
         "exercise_calc"},
        {"missing-matrix", "C", [](Session &s) { s.exercise("G1", {"2"}); }, "exercise_calc"},
        {"two-sets", "C",
         [](Session &s) {
             s.exercise("G1G2", {"1", "2"});
             s.fill({"0", "0"});
             s.calculate(); // Y is new, Z fails and keeps the values of the first run
             s.messages();  // the input error that says so
         },
         "exercise_calc"},
        {"extreme-values", "C",
         [](Session &s) {
             s.exercise("R1R2R3", {"1e300", "2e-300", "3"});
         },
         "exercise_calc"},
        {"lab-with-unit", "C",
         [](Session &s) {
             s.lab("z11");
             s.labAnswer("5", "2");
         },
         "lab_helper"},
        {"lab-ratio-odd-text", "fr_FR",
         [](Session &s) {
             s.lab("A");
             s.labAnswer("  1,5e-3 ", "2");
             // Typed after the calculation, so it is not what the copy holds.
             s.type("lab_helper", "txtMeasure1", "x%_&$#{}\\");
         },
         "lab_helper"},
        {"own-network-results", "de_DE",
         [](Session &s) { s.ownNetwork("P1 1 0\nP2 3 0\nR1 1 2 1,5k\nR2 2 0 2k\nR3 2 3 3k\n"); },
         "own_network", "Copy results as &LaTeX"},
        {"own-network-drawing", "C",
         [](Session &s) {
             s.ownNetwork(QString());
             s.trigger("own_network", "Transistor h-model");
             s.awaitFormulas();
         },
         "own_network", "Copy drawing as &circuitikz"},
        {"own-network-odd-names", "C",
         [](Session &s) {
             s.ownNetwork("P1 a_1 0\nP2 b 0\nR_x% a_1 b 2k2 ; 50%\nGm$ b 0 a_1 0 gm\n");
         },
         "own_network", "Copy drawing as &circuitikz"},
    };
    int failures = 0;
    for (const auto &f : fragments) {
        QLocale::setDefault(QLocale(QLatin1String(f.locale)));
        Session session;
        // Boxes nobody foresaw (an input error) are answered, and show in the fragment's place.
        f.steps(session);
        QGuiApplication::clipboard()->clear();
        session.trigger(QLatin1String(f.window), QString::fromUtf8(f.copy));
        failures += save(dir, f.name) ? 0 : 1;
        const QStringList boxes = session.messages();
        for (const QString &box : boxes)
            std::fprintf(stderr, "%s: a message box came up: %s\n", f.name, qPrintable(box));
        failures += int(boxes.size());
        session.main().close();
    }
    return failures == 0 ? 0 : 1;
}
