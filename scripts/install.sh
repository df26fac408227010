#!/bin/sh
# Makes the Debian package (package.sh) and installs it with apt-get, which brings in the Qt
# libraries and the font it depends on. Kvadra is then in the desktop's menu and starts as
# "kvadra"; apt-get remove kvadra takes it away. Needs root (or sudo).
set -eu
cd "$(dirname "$0")/.."
. scripts/lib/common.sh
scripts/package.sh "$@"
deb="$(package_file)"
step "apt-get installing $deb" as_root apt-get install -y "$deb"
