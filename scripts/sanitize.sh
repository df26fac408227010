#!/bin/sh
# Builds everything with AddressSanitizer (leak check included) and UndefinedBehaviorSanitizer
# into ./build-sanitize (or $BUILD_DIR) and runs every test there. Any sanitizer report fails
# the run, even one from a test that otherwise passed. Extra arguments go to CMake.
set -eu
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build-sanitize}"
./scripts/setup.sh
BUILD_DIR="$build" ./scripts/build.sh -DKVADRA_SANITIZE=ON "$@"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp"
cd "$build"
status=0
ctest --output-on-failure --parallel "$(nproc)" || status=1
# ctest keeps every test's full output here, also of tests that passed.
if grep -E "ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: .*Sanitizer" \
    Testing/Temporary/LastTest.log; then
    status=1
fi
if [ "$status" -ne 0 ]; then
    echo "SANITIZER RUN FAILED: see the reports above ($build/Testing/Temporary/LastTest.log)" >&2
    exit 1
fi
echo "sanitizers: every test passed without a report"
