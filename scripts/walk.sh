#!/bin/sh
# Builds Kvadra and plays one long seeded random walk of student actions through all windows:
#   scripts/walk.sh
# 20000 actions unless KVADRA_WALK_STEPS says otherwise; KVADRA_WALK_SEED=<seed> repeats the
# walk a failure names, and KVADRA_WALK_TRACE=1 prints each action as it starts.
set -eu
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
./scripts/setup.sh
BUILD_DIR="$build" ./scripts/build.sh
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 KVADRA_WALK_STEPS="${KVADRA_WALK_STEPS:-20000}" \
    "$build/tests/tst_randomwalk"
