#!/bin/sh
# Fuzzes the number-text reader and writer for the given number of seconds (default 60):
#   scripts/fuzz.sh [seconds]
# Builds fuzz/ with clang into ./build-fuzz (or $FUZZ_BUILD_DIR). What the fuzzer learns is kept
# in build-fuzz/corpus; the checked-in seeds in fuzz/corpus are only read. A crash or a broken
# property leaves its input in build-fuzz/crash-* and fails the script.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build="${FUZZ_BUILD_DIR:-build-fuzz}"
./scripts/setup.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S fuzz -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)"
mkdir -p "$build/corpus"
if ! UBSAN_OPTIONS=print_stacktrace=1 "$build/fuzz_numbertext" -max_total_time="$seconds" \
    -timeout=10 -print_final_stats=1 -dict=fuzz/numbertext.dict -artifact_prefix="$build/" \
    "$build/corpus" fuzz/corpus; then
    echo "FUZZING FAILED: the report is above, its input in $build/crash-* (or timeout-*)" >&2
    exit 1
fi
echo "fuzzing: no failure in $seconds s"
