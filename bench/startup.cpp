// Start-up of the whole program against a bare Qt Widgets program with one empty window, run
// alternately so all see the same machine load: wall time from spawn to the first idle moment
// with the window painted, and to the end of the process after quitting; peak resident memory.
// A third program, the bare window with one line of text, shows how much of the difference is
// Qt loading its fonts, which any program showing text pays.
//   kvadra_bench_startup [rounds]   (default 30)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
struct Run {
    double idleMs;
    double wholeMs;
    double rssMiB;
};

long long nowNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

Run runOnce(const char *path, const char *argument)
{
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    char *argv[] = {const_cast<char *>(path), const_cast<char *>(argument), nullptr};
    pid_t pid = 0;
    const long long start = nowNs();
    if (posix_spawn(&pid, path, &actions, nullptr, argv, environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", path);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const long long end = nowNs();
    long long idle = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(text.c_str(), "idle %lld", &idle) != 1) {
        std::fprintf(stderr, "%s did not reach an idle window (status %d)\n", path, status);
        std::exit(1);
    }
    return {(idle - start) / 1e6, (end - start) / 1e6, usage.ru_maxrss / 1024.0};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
} // namespace

int main(int argc, char *argv[])
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    struct Program {
        const char *label;
        const char *path;
        const char *argument;
    };
    const Program programs[3] = {{"bare Qt window", KVADRA_BARE, nullptr},
                                 {"bare window with text", KVADRA_BARE, "text"},
                                 {"Kvadra", KVADRA_PROGRAM, nullptr}};
    const int count = 3;
    // Page cache and font cache warm for all before anything counts.
    for (const Program &p : programs)
        runOnce(p.path, p.argument);
    std::vector<double> idle[count], whole[count], rss[count], idleRatio[count], wholeRatio[count];
    for (int i = 0; i < rounds; ++i) {
        Run r[count];
        // The order rotates, so a drift in machine load favours none of them.
        for (int k = 0; k < count; ++k) {
            const int p = (i + k) % count;
            r[p] = runOnce(programs[p].path, programs[p].argument);
        }
        for (int k = 0; k < count; ++k) {
            idle[k].push_back(r[k].idleMs);
            whole[k].push_back(r[k].wholeMs);
            rss[k].push_back(r[k].rssMiB);
            idleRatio[k].push_back(r[2].idleMs / r[k].idleMs);
            wholeRatio[k].push_back(r[2].wholeMs / r[k].wholeMs);
        }
    }
    std::printf("Start-up, %d alternated rounds (QT_QPA_PLATFORM=%s)\n", rounds,
                std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "default");
    std::printf("  %-22s %12s %12s %14s %16s\n", "medians", "to idle, ms", "whole, ms",
                "peak RSS, MiB", "Kvadra / this");
    for (int k = 0; k < count; ++k) {
        std::printf("  %-22s %12.1f %12.1f %14.1f", programs[k].label, median(idle[k]),
                    median(whole[k]), median(rss[k]));
        if (k < 2)
            std::printf(" %9.2f whole", median(wholeRatio[k]));
        std::printf("\n");
    }
    std::printf("  Kvadra / bare Qt window, median of the per-round ratios: whole run %.2f "
                "(goal <= 1.2), to idle %.2f\n",
                median(wholeRatio[0]), median(idleRatio[0]));
    std::printf("  peak RSS above the bare Qt window: %.1f MiB (goal <= 10 MiB)\n",
                median(rss[2]) - median(rss[0]));
    return 0;
}
