#!/bin/sh
# The number-text reader and the netlist reader and solver under libFuzzer, ASan and UBSan.
#   scripts/check.sh fuzz [SECONDS (default 60), shared by the two targets]
# Builds fuzz/ with clang into ./build-fuzz (or $FUZZ_BUILD_DIR). What the fuzzers learn is kept
# in build-fuzz/corpus and build-fuzz/corpus-netlist; the checked-in seeds in fuzz/corpus and
# fuzz/corpus-netlist are only read. A crash or a broken property leaves its input in
# build-fuzz/crash-* and fails the check.
set -eu
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
seconds="${1:-60}"
fuzz_build="${FUZZ_BUILD_DIR:-build-fuzz}"
scripts/setup.sh clang libclang-rt-14-dev
step "configuring $fuzz_build" env CC=clang CXX=clang++ \
    cmake -S fuzz -B "$fuzz_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
step "building $fuzz_build" cmake --build "$fuzz_build" --parallel "$(nproc)"
mkdir -p "$fuzz_build/corpus" "$fuzz_build/corpus-netlist"
# GiNaC's number library keeps some allocations to the end: leaks of theirs, not ours.
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/checks/lsan.supp"
half=$((seconds / 2))
step "fuzzing number texts; the report is above, its input in $fuzz_build/crash-* (or timeout-*)" \
    env UBSAN_OPTIONS=print_stacktrace=1 "$fuzz_build/fuzz_numbertext" \
    -max_total_time="$half" -timeout=10 -print_final_stats=1 -dict=fuzz/numbertext.dict \
    -artifact_prefix="$fuzz_build/" "$fuzz_build/corpus" fuzz/corpus
step "fuzzing netlists; the report is above, its input in $fuzz_build/crash-* (or timeout-*)" \
    env UBSAN_OPTIONS=print_stacktrace=1 "$fuzz_build/fuzz_netlist" \
    -max_total_time="$((seconds - half))" -timeout=10 -print_final_stats=1 \
    -dict=fuzz/netlist.dict -artifact_prefix="$fuzz_build/" \
    "$fuzz_build/corpus-netlist" fuzz/corpus-netlist
echo "fuzz: no failure in $seconds s"
