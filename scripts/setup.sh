#!/bin/sh
# Installs with apt-get what building and testing Kvadra needs on Debian 12, and only what is
# missing:  scripts/setup.sh [PACKAGE...]
# The other scripts call it with the extra packages their own step needs.
set -eu
cd "$(dirname "$0")/.."
. scripts/lib/common.sh

# Liberation is the face the window layouts are measured in; DejaVu is Qt's fallback.
packages="g++ cmake make qt6-base-dev qt6-svg-dev libgl-dev libginac-dev pkg-config fonts-dejavu-core fonts-liberation2 $*"
missing=""
for p in $packages; do
    status="$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" || status=""
    [ "$status" = installed ] || missing="$missing $p"
done
[ -n "$missing" ] || exit 0

echo "Installing:$missing"
step "apt-get update" as_root apt-get update
# shellcheck disable=SC2086
step "installing$missing" as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends $missing
