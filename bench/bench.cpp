// The performance budgets and today's figures against them, in one table, at scale 1 and at
// QT_SCALE_FACTOR=2. Each action is timed in fresh processes of this same program (actions.h);
// start-up and memory come from starting the program's own main() and a bare Qt window with a
// line of text by turns, each ended at its first idle moment (tools/idlequit.cpp).
//   kvadra_bench [processes per action (5)] [warm clicks per process (20)] [start-up rounds (30)]
// It prints figures and always exits 0 when they were measured; a missed budget is a figure too.
#include "actions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

namespace
{
constexpr double coldBudgetMs = 50;
constexpr double warmBudgetMs = 16;
constexpr double startupBudget = 1.2;
constexpr double memoryBudgetMiB = 10;
const char *const scales[2] = {"1", "2"};

long long nowNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

struct Run {
    std::string out;
    long long startNs, endNs;
    double rssMiB;
};

// Runs the program to its end at the given QT_SCALE_FACTOR and returns what it printed, when it
// started and ended, and its peak resident memory. A failed run ends the benchmark: its figures
// would be missing.
Run spawn(const std::vector<std::string> &args, const char *scale)
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e)
        if (std::strncmp(*e, "QT_SCALE_FACTOR=", 16) != 0)
            env.emplace_back(*e);
    env.push_back(std::string("QT_SCALE_FACTOR=") + scale);
    std::vector<char *> envp, argv;
    for (std::string &e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> words = args;
    for (std::string &a : words)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Qt's warnings come along, to be shown only when the run fails.
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    pid_t pid = 0;
    Run run{{}, nowNs(), 0, 0};
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        run.out.append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.endNs = nowNs();
    run.rssMiB = usage.ru_maxrss / 1024.0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed (status %d):\n%s", argv[0], status, run.out.c_str());
        std::exit(1);
    }
    return run;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

const char *verdict(double figure, double budget)
{
    return figure <= budget ? "met" : "MISSED";
}

// What the fresh processes of one action at one scale reported.
struct ActionFigures {
    std::vector<double> cold, warm;
    std::set<std::string> missing, late, boxes;
};

void readChild(const std::string &out, ActionFigures &f)
{
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string tag, word;
        words >> tag;
        if (tag == "box") {
            f.boxes.insert(line.substr(4));
            continue;
        }
        while (words >> word) {
            if (tag == "cold" || tag == "warm")
                (tag == "cold" ? f.cold : f.warm).push_back(std::atof(word.c_str()));
            else if (tag == "missing")
                f.missing.insert(word);
            else if (tag == "late")
                f.late.insert(word);
        }
    }
}

// Medians of the programs' runs: [0] the bare window with text, [1] Kvadra.
struct StartupFigures {
    double wholeRatio, idleRatio; // Kvadra / bare, median of the rounds' ratios
    double wholeMs[2], idleMs[2], peakMiB[2];
};

// The two programs by turns, the order swapped every round so a drift in machine speed favours
// neither; each round gives one ratio.
StartupFigures startup(int rounds, const char *scale)
{
    const std::vector<std::string> programs[2] = {{KVADRA_BARE, "text"}, {KVADRA_PROGRAM}};
    // Page cache and font cache warm for both before anything counts.
    for (const auto &p : programs)
        spawn(p, scale);
    std::vector<double> wholeRatio, idleRatio, whole[2], idle[2], rss[2];
    for (int i = 0; i < rounds; ++i) {
        for (int k = 0; k < 2; ++k) {
            const int p = (i + k) % 2;
            const Run r = spawn(programs[p], scale);
            const size_t line = r.out.find("idle ");
            long long idleNs = 0;
            if (line == std::string::npos ||
                std::sscanf(r.out.c_str() + line, "idle %lld", &idleNs) != 1) {
                std::fprintf(stderr, "%s reached no idle window\n", programs[p][0].c_str());
                std::exit(1);
            }
            whole[p].push_back((r.endNs - r.startNs) / 1e6);
            idle[p].push_back((idleNs - r.startNs) / 1e6);
            rss[p].push_back(r.rssMiB);
        }
        wholeRatio.push_back(whole[1].back() / whole[0].back());
        idleRatio.push_back(idle[1].back() / idle[0].back());
    }
    StartupFigures f{median(wholeRatio), median(idleRatio), {}, {}, {}};
    for (int p = 0; p < 2; ++p) {
        f.wholeMs[p] = median(whole[p]);
        f.idleMs[p] = median(idle[p]);
        f.peakMiB[p] = median(rss[p]);
    }
    return f;
}

// Every window open at once, driven: peak memory, and how much of it the windows' images are.
struct WindowsFigures {
    double peakMiB, imagesMiB;
};

WindowsFigures everyWindow(const std::string &self, const char *scale)
{
    std::vector<double> rss;
    double images = 0;
    for (int p = 0; p < 3; ++p) {
        const Run r = spawn({self, "--action", "everything"}, scale);
        rss.push_back(r.rssMiB);
        const size_t line = r.out.find("images ");
        if (line != std::string::npos)
            images = std::atof(r.out.c_str() + line + 7);
    }
    return {median(rss), images};
}

// One line of the lower part of the table at each scale: a figure, with its verdict where a
// budget applies, then the two figures it comes from, if any.
void row(const char *title, double budget, const std::function<std::array<double, 3>(int)> &at)
{
    std::string line(title);
    line.resize(38, ' ');
    char cell[64];
    for (int s = 0; s < 2; ++s) {
        const std::array<double, 3> v = at(s);
        std::snprintf(cell, sizeof cell, "   %7.2f %-6s", v[0],
                      budget > 0 ? verdict(v[0], budget) : "");
        line += cell;
        // The two figures stand under the warm and worst columns.
        for (size_t k = 1; k < 3; ++k) {
            if (std::isnan(v[k])) {
                line += std::string(8, ' ');
            } else {
                std::snprintf(cell, sizeof cell, " %7.1f", v[k]);
                line += cell;
            }
            if (k == 1)
                line += "       ";
        }
    }
    std::printf("%s\n", line.substr(0, line.find_last_not_of(' ') + 1).c_str());
}

void heading(const char *title, const char *a, const char *b, const char *c)
{
    std::printf("%-38s", title);
    for (int s = 0; s < 2; ++s)
        std::printf("   %7s %-6s %7s %-6s %7s", a, "", b, "", c);
    std::printf("\n");
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc > 2 && std::strcmp(argv[1], "--action") == 0)
        return runAction(argc, argv, argv[2], argc > 3 ? std::atoi(argv[3]) : 0);

    const int processes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int warm = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 30;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return 1;
    self[n] = '\0';

    // Round by round over every action and scale, so a drift in machine speed touches all alike.
    const std::vector<Action> &list = actions();
    std::map<std::pair<size_t, int>, ActionFigures> figures;
    for (int p = 0; p < processes; ++p)
        for (size_t a = 0; a < list.size(); ++a)
            for (int s = 0; s < 2; ++s)
                readChild(
                    spawn({self, "--action", list[a].key, std::to_string(warm)}, scales[s]).out,
                    figures[{a, s}]);
    StartupFigures start[2];
    WindowsFigures windows[2];
    for (int s = 0; s < 2; ++s) {
        start[s] = startup(rounds, scales[s]);
        windows[s] = everyWindow(self, scales[s]);
    }

    std::printf("Budgets: each action's first click in a process (cold) <= %.0f ms, its warm "
                "median <= %.0f ms;\n",
                coldBudgetMs, warmBudgetMs);
    std::printf("start-up <= %.1f x a bare Qt window with a line of text; peak memory <= that "
                "window's + %.0f MiB.\n",
                startupBudget, memoryBudgetMiB);
    std::printf("Cold: median of %d fresh processes. Warm: median of %d clicks (%d processes x "
                "%d); worst for information.\n\n",
                processes, processes * warm, processes, warm);
    const char *const rule = "---------------------------------------";
    std::printf("%-38s %.16s scale 1 %.14s %.16s scale 2 %.14s\n", "", rule, rule, rule, rule);
    heading("action, ms", "cold", "warm", "worst");
    for (size_t a = 0; a < list.size(); ++a) {
        std::printf("%-38s", list[a].label);
        for (int s = 0; s < 2; ++s) {
            const ActionFigures &f = figures[{a, s}];
            const double cold = median(f.cold), warmMedian = median(f.warm);
            std::printf("   %7.1f %-6s %7.2f %-6s %7.1f", cold, verdict(cold, coldBudgetMs),
                        warmMedian, verdict(warmMedian, warmBudgetMs),
                        *std::max_element(f.warm.begin(), f.warm.end()));
        }
        std::printf("\n");
    }
    using Figures = std::array<double, 3>;
    heading("start-up, ms", "ratio", "Kvadra", "bare");
    row("  spawn to exit after the first idle", startupBudget, [&](int s) {
        return Figures{start[s].wholeRatio, start[s].wholeMs[1], start[s].wholeMs[0]};
    });
    row("  spawn to first idle (information)", 0, [&](int s) {
        return Figures{start[s].idleRatio, start[s].idleMs[1], start[s].idleMs[0]};
    });
    heading("peak memory, MiB", "over", "Kvadra", "bare");
    row("  start-up", memoryBudgetMiB, [&](int s) {
        const double *peak = start[s].peakMiB;
        return Figures{peak[1] - peak[0], peak[1], peak[0]};
    });
    row("  every window open (driven)", memoryBudgetMiB, [&](int s) {
        const double bare = start[s].peakMiB[0];
        return Figures{windows[s].peakMiB - bare, windows[s].peakMiB, bare};
    });
    row("    of it the windows' own images", 0, [&](int s) {
        return Figures{windows[s].imagesMiB, NAN, NAN};
    });

    // The checks behind the figures, so a reader can trust them.
    bool noted = false;
    for (size_t a = 0; a < list.size(); ++a)
        for (int s = 0; s < 2; ++s) {
            const ActionFigures &f = figures[{a, s}];
            const auto note = [&](const char *what, const std::set<std::string> &names) {
                if (names.empty())
                    return;
                std::printf("\n%s at scale %s, %s:", list[a].label, scales[s], what);
                for (const std::string &name : names)
                    std::printf(" %s", name.c_str());
                noted = true;
            };
            note("did not paint within the timing", f.missing);
            note("painted in the 100 ms after the timing", f.late);
            note("message boxes came up", f.boxes);
        }
    if (!noted)
        std::printf(
            "\nEvery cold click: the windows it opened or changed painted within the timing, "
            "none painted\nin the 100 ms after it, and no message box came up.");
    std::printf("\n");
    return 0;
}
