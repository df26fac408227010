#!/bin/sh
# Builds Kvadra (build.sh) and makes its Debian package in ./build (or $BUILD_DIR):
#   scripts/package.sh [CMAKE-OPTION...]
# Prints the package's full path as its last line.
set -eu
cd "$(dirname "$0")/.."
. scripts/lib/common.sh
# CPack's DEB generator runs dpkg-shlibdeps (dpkg-dev) for the library dependencies, and file to
# tell which installed files are binaries to strip and scan.
scripts/setup.sh dpkg-dev file
scripts/build.sh "$@"
rm -f "$build"/kvadra_*.deb
step "CPack making the Debian package" cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build"
package_file
