#!/bin/sh
# Installs what is missing (setup.sh), then configures and builds Kvadra with its tests and
# tools into ./build (or $BUILD_DIR):  scripts/build.sh [CMAKE-OPTION...]
# Warnings fail the build.
set -eu
cd "$(dirname "$0")/.."
. scripts/lib/common.sh
scripts/setup.sh
step "configuring $build" cmake -S . -B "$build" -DKVADRA_WERROR=ON "$@"
step "building $build" cmake --build "$build" --parallel "$(nproc)"
