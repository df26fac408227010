// The circuit core's budgets and today's figures against them, medians of repeated runs:
//  - every set, exact, of a numeric netlist of 30 nodes, within 20 ms;
//  - every set, with formulas, of symbolic netlists of up to 8 elements, within 100 ms;
//  - the command line of the real program for a 10-element netlist, process start and the
//    loading of the core included, within 150 ms.
//   kvadra_circuit_bench [runs (21)]
// It prints figures and exits 0 when they were measured; a missed budget is a figure too.
#include "circuit/engine.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace kvadra::circuit;

namespace
{
double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double timed(int runs, const std::function<void()> &work)
{
    work(); // libraries and caches warm
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return median(ms);
}

void row(const char *what, double figure, double budget)
{
    std::printf("%-62s %8.1f  %6.0f  %s\n", what, figure, budget,
                figure <= budget ? "met" : "MISSED");
}

// A grid of 5 x 6 nodes, each joined to its right and lower neighbour, with values of three
// significant digits; the ports at opposite corners.
QString grid()
{
    static const char *const values[] = {"1k", "2k2", "4.7k", "3.3k", "6.8k", "1.5k", "10k"};
    QStringList lines{QStringLiteral("P1 n0_0 0"), QStringLiteral("P2 n4_5 0"),
                      QStringLiteral("Rg n0_0 0 470"), QStringLiteral("Rh n4_5 0 820")};
    int k = 0;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 6; ++c) {
            const QString here = QStringLiteral("n%1_%2").arg(r).arg(c);
            const auto resistor = [&](int row, int column) {
                lines << QStringLiteral("R%1 %2 n%3_%4 %5")
                             .arg(k)
                             .arg(here)
                             .arg(row)
                             .arg(column)
                             .arg(QLatin1String(values[k % 7]));
                ++k;
            };
            if (c + 1 < 6)
                resistor(r, c + 1);
            if (r + 1 < 5)
                resistor(r + 1, c);
        }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// Symbolic networks of eight elements besides the ports.
const QStringList symbolic{
    // A twin-T with a voltage follower and a load.
    QStringLiteral("P1 1 0\nR1 1 2\nR2 2 3\nR3 2 0\nR4 1 4\nR5 4 3\nR6 4 0\n"
                   "E1 5 0 3 0 mu\nR7 5 6\nP2 6 0\n"),
    // Two bridged T sections in cascade.
    QStringLiteral("P1 1 0\nRa 1 2\nRb 2 0\nRc 2 3\nRd 1 3\nRe 3 4\nRf 4 0\nRg 4 5\nRh 3 5\n"
                   "P2 5 0\n"),
    // A lattice with series resistors at both ports and a transconductance across.
    QStringLiteral("P1 1 0\nRs 1 2\nRa 2 3\nRb 0 4\nRc 2 4\nRd 0 3\nG1 3 4 2 0 gm\nRl 3 5\n"
                   "P2 5 4\n"),
};

// Ten elements with values, as a student's network might be.
const QString tenElements =
    QStringLiteral("* ten elements\nP1 1 0\nP2 6 0\nR1 1 2 1k\nR2 2 0 2k2\nR3 2 3 4.7k\n"
                   "R4 3 0 10k\nR5 3 4 1k\nR6 4 0 3.3k\nE1 5 0 4 0 10\nR7 5 6 50\nR8 1 3 22k\n"
                   "R9 6 0 100k\n");
} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    std::printf("Circuit core budgets: medians of %d runs, in ms.\n\n", runs);
    std::printf("%-62s %8s  %6s\n", "", "median", "budget");

    Request numeric;
    numeric.netlist = grid();
    const double exact = timed(runs, [&] { engine().analyse(numeric); });
    row("every set, exact, of a numeric netlist of 30 nodes", exact, 20);

    double worst = 0;
    for (const QString &netlist : symbolic) {
        Request r;
        r.netlist = netlist;
        worst = std::max(worst, timed(runs, [&] { engine().analyse(r); }));
    }
    row("every set, with formulas, of 8 symbolic elements (slowest of 3)", worst, 100);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ten.cir"));
    QFile out(file);
    if (!dir.isValid() || !out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    out.write(tenElements.toUtf8());
    out.close();
    const double command = timed(runs, [&] {
        QProcess p;
        p.setProgram(QStringLiteral(KVADRA_PROGRAM));
        p.setArguments({QStringLiteral("--parameters"), file});
        p.start();
        if (!p.waitForFinished(10000) || p.exitCode() != 0) {
            std::fprintf(stderr, "%s failed: %s\n", KVADRA_PROGRAM,
                         p.readAllStandardError().constData());
            std::exit(1);
        }
    });
    row("kvadra --parameters, 10 elements, process start included", command, 150);
    return 0;
}
