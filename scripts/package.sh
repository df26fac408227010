#!/bin/sh
# Sets up a fresh Debian 12 machine if needed, builds Kvadra into ./build (or $BUILD_DIR) and makes
# the Debian package there. Prints the package's full path as the last line; install.sh installs it.
set -eu
here="$(dirname "$0")"
# dpkg-shlibdeps, from dpkg-dev, works out the package's library dependencies.
"$here/setup.sh" dpkg-dev
"$here/build.sh" "$@"
cd "$here/.."
build="${BUILD_DIR:-build}"
rm -f "$build"/kvadra_*.deb
(cd "$build" && cpack -G DEB)
set -- "$build"/kvadra_*.deb
if [ ! -f "$1" ] || [ "$#" -ne 1 ]; then
    echo "package.sh: expected one kvadra_*.deb in $build, found: $*" >&2
    exit 1
fi
case "$1" in
    /*) echo "$1" ;;
    *) echo "$(pwd)/$1" ;;
esac
