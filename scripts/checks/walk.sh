#!/bin/sh
# A long clock-seeded random student session through all windows (tst_randomwalk).
#   scripts/check.sh walk
# 20000 actions unless KVADRA_WALK_STEPS says otherwise. A failure names its seed:
# KVADRA_WALK_SEED=<seed> repeats that walk, KVADRA_WALK_TRACE=1 prints each action as it starts.
set -eu
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
scripts/build.sh
KVADRA_WALK_STEPS="${KVADRA_WALK_STEPS:-20000}"
export KVADRA_WALK_STEPS
# Qt Test stops a test function after five minutes; a long walk takes longer on a slow machine.
step "random walk of $KVADRA_WALK_STEPS steps" \
    env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 QTEST_FUNCTION_TIMEOUT=86400000 \
    "$build/tests/tst_randomwalk"
