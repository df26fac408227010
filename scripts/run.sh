#!/bin/sh
# Builds Kvadra (build.sh) and starts it on the desktop it is run from:  scripts/run.sh
set -eu
cd "$(dirname "$0")/.."
. scripts/lib/common.sh
scripts/build.sh
exec "$build/src/kvadra"
