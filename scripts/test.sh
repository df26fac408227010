#!/bin/sh
# Builds Kvadra (build.sh) and runs every test with ctest:  scripts/test.sh [CMAKE-OPTION...]
# The tests use Qt's offscreen platform, so no display is needed.
set -eu
cd "$(dirname "$0")/.."
. scripts/lib/common.sh
scripts/build.sh "$@"
step "tests in $build" ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
