#!/bin/sh
# kvadra --parameters agrees with an independent exact solver and with ngspice on random netlists.
#   scripts/check.sh oracle [COUNT (default 300)] [--only ID,...] [--no-spice]
#   scripts/check.sh oracle [COUNT] --self-test
# Builds Kvadra (scripts/build.sh) into ./build (or $BUILD_DIR) and runs scripts/lib/oracle/run.py
# on build/src/kvadra: COUNT random numeric netlists, a sixth as many with symbols, a fifth as many
# joined pairs and malformed netlists of every kind, each solved exactly in Python (fractions)
# and in ngspice, then compared with the program's JSON. docs/oracle.md explains the output.
# The seed is printed; KVADRA_ORACLE_SEED=<seed> repeats a run, --only n:17 one netlist of it.
# Failures print the netlist, the command and both values, and are kept in build/oracle/.
# --self-test runs the harness against its test double instead of the program (no build), then
# injects one fault at a time into the double and into the ngspice decks, and fails unless
# every comparison catches its fault.
set -eu
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
scripts/setup.sh ngspice python3
count=300
if [ "$#" -gt 0 ]; then
    case "$1" in
        [0-9]*) count="$1"; shift ;;
    esac
fi
for argument in "$@"; do
    if [ "$argument" = --self-test ]; then
        step "the oracle's self-test (report above)" /usr/bin/python3 scripts/lib/oracle/run.py \
            --count "$count" --out "$build/oracle-self-test" "$@"
        exit 0
    fi
done
scripts/build.sh
program="$build/src/kvadra"
[ -x "$program" ] || fail "the build made no $program"
step "the oracle check (failures above; all of them in $build/oracle/failures.txt)" \
    /usr/bin/python3 scripts/lib/oracle/run.py --program "$program" --count "$count" \
    --out "$build/oracle" "$@"
echo "oracle: passed"
