#!/bin/sh
# Installs what building and testing Kvadra needs on Debian 12, and only what is missing.
# Extra package names may be passed as arguments (the CI adds its own tools this way).
set -eu

packages="g++ cmake make qt6-base-dev libgl-dev fonts-dejavu-core fonts-liberation2 $*"
missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    echo "Installing:$missing"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
fi
