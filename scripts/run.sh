#!/bin/sh
# Sets up a fresh Debian 12 machine if needed, builds Kvadra and starts it.
set -eu
here="$(dirname "$0")"
"$here/setup.sh"
"$here/build.sh"
exec "$here/../${BUILD_DIR:-build}/src/kvadra"
