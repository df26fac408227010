#!/bin/sh
# Configures and builds into ./build (or the folder given as $BUILD_DIR). Extra arguments go to
# the CMake configure step.
set -eu
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
cmake -S . -B "$build" -DKVADRA_WERROR=ON "$@"
cmake --build "$build" --parallel "$(nproc)"
