#!/bin/sh
# Builds the Debian package and installs it with apt-get, which also brings in the Qt libraries
# and the font it depends on. Afterwards Kvadra is in the desktop's menu and starts as "kvadra".
# Run as root (or through sudo); remove it again with  apt-get remove kvadra
set -eu
deb="$("$(dirname "$0")/package.sh" | tail -n 1)"
apt-get install -y "$deb"
