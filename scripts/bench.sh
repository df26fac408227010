#!/bin/sh
# Prints the performance figures (docs/performance.md explains them); never fails on a figure.
#   scripts/bench.sh [start-up pairs (default 30)] [action repetitions (default 100)]
# Builds into ./build-bench (or $BENCH_BUILD_DIR) as scripts/build.sh builds the program, and
# runs under Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
set -eu
cd "$(dirname "$0")/.."
build="${BENCH_BUILD_DIR:-build-bench}"
./scripts/setup.sh
cmake -S . -B "$build" -DKVADRA_WERROR=ON -DKVADRA_BENCH=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target kvadra_bench_startup kvadra_bench_actions \
    >/dev/null
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(sed -n 's/^model name[^:]*: //p' \
    /proc/cpuinfo | head -n 1), Qt $(qtpaths6 --qt-version 2>/dev/null || echo '?')"
echo
"$build/bench/kvadra_bench_startup" "${1:-30}" 2>/dev/null
echo
"$build/bench/kvadra_bench_actions" "${2:-100}" 2>/dev/null
