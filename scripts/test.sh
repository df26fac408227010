#!/bin/sh
# Sets up a fresh Debian 12 machine if needed, builds Kvadra and runs every test. The tests use
# Qt's offscreen platform, so no display is needed.
set -eu
here="$(dirname "$0")"
"$here/setup.sh"
"$here/build.sh" "$@"
cd "$here/../${BUILD_DIR:-build}"
ctest --output-on-failure --parallel "$(nproc)"
