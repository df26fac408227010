#!/bin/sh
# The number-text reader and writer under libFuzzer, ASan and UBSan, for some seconds.
#   scripts/check.sh fuzz [SECONDS (default 60)]
# Builds fuzz/ with clang into ./build-fuzz (or $FUZZ_BUILD_DIR). What the fuzzer learns is kept
# in build-fuzz/corpus; the checked-in seeds in fuzz/corpus are only read. A crash or a broken
# property leaves its input in build-fuzz/crash-* and fails the check.
set -eu
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
seconds="${1:-60}"
fuzz_build="${FUZZ_BUILD_DIR:-build-fuzz}"
scripts/setup.sh clang libclang-rt-14-dev
step "configuring $fuzz_build" env CC=clang CXX=clang++ \
    cmake -S fuzz -B "$fuzz_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
step "building $fuzz_build" cmake --build "$fuzz_build" --parallel "$(nproc)"
mkdir -p "$fuzz_build/corpus"
step "fuzzing; the report is above, its input in $fuzz_build/crash-* (or timeout-*)" \
    env UBSAN_OPTIONS=print_stacktrace=1 "$fuzz_build/fuzz_numbertext" \
    -max_total_time="$seconds" -timeout=10 -print_final_stats=1 -dict=fuzz/numbertext.dict \
    -artifact_prefix="$fuzz_build/" "$fuzz_build/corpus" fuzz/corpus
echo "fuzz: no failure in $seconds s"
