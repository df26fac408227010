#!/bin/sh
# Prints the performance budgets and today's figures against them, at scale 1 and 2, as one
# table, then the circuit core's (docs/performance.md explains both); a missed budget is a
# figure, never a failure.
#   scripts/bench.sh [processes per action (5)] [warm clicks per process (20)] [start-up rounds (30)]
# Builds into ./build-bench (or $BENCH_BUILD_DIR) as scripts/build.sh builds the program, and
# runs under Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
set -eu
cd "$(dirname "$0")/.."
build="${BENCH_BUILD_DIR:-build-bench}"
./scripts/setup.sh
cmake -S . -B "$build" -DKVADRA_WERROR=ON -DKVADRA_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target kvadra_bench kvadra_circuit_bench >/dev/null
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# The load average says how busy the shared machine was while the figures were taken.
echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(sed -n 's/^model name[^:]*: //p' \
    /proc/cpuinfo | head -n 1), Qt $(qtpaths6 --qt-version 2>/dev/null || echo '?'), \
QT_QPA_PLATFORM=$QT_QPA_PLATFORM, load average $(cut -d' ' -f1 /proc/loadavg)"
echo
"$build/bench/kvadra_bench" "${1:-5}" "${2:-20}" "${3:-30}"
echo
"$build/bench/kvadra_circuit_bench"
