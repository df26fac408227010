#!/bin/sh
# Every test under AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer.
#   scripts/check.sh sanitize [CMAKE-OPTION...]
# Builds into ./build-sanitize (or $BUILD_DIR). Any sanitizer report fails the check, also one
# from a test that passed: a leak report comes after the test's own verdict.
set -eu
cd "$(dirname "$0")/../.."
BUILD_DIR="${BUILD_DIR:-build-sanitize}"
export BUILD_DIR
. scripts/lib/common.sh
scripts/build.sh -DKVADRA_SANITIZE=ON "$@"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/checks/lsan.supp"
passed=yes
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" || passed=no
# ctest keeps every test's whole output here, also of the tests that passed.
log="$build/Testing/Temporary/LastTest.log"
[ -f "$log" ] || fail "ctest left no log in $log"
if grep -E "ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: .*Sanitizer" "$log"; then
    passed=no
fi
[ "$passed" = yes ] || fail "see the reports above ($log)"
echo "sanitize: every test passed without a sanitizer report"
