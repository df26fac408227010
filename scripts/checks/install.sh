#!/bin/sh
# The Debian package installs with apt-get, its menu entry's command runs, and it is removed.
#   scripts/check.sh install
# Makes the package (scripts/package.sh), installs it as a student would, checks the menu entry
# and its icons, starts the program by the entry's command on a real X display and drives one
# exercise in it (scripts/checks/display.sh), then removes the package and checks it is gone.
# Needs root (or sudo), and refuses to run where Kvadra is installed already: it would be
# removed at the end.
set -eu
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
installed() {
    [ "$(dpkg-query -W -f='${db:Status-Status}' kvadra 2>/dev/null)" = installed ]
}
installed && fail "kvadra is installed already; remove it first (apt-get remove kvadra)"
scripts/setup.sh desktop-file-utils
scripts/package.sh
deb="$(package_file)"

remove() {
    if installed; then
        echo "removing kvadra again"
        as_root apt-get remove -y kvadra >/dev/null 2>&1 || true
    fi
}
trap remove EXIT
step "apt-get installing $deb" as_root apt-get install -y "$deb"

entry="$(dpkg -L kvadra | grep '^/usr/share/applications/.*\.desktop$')" ||
    fail "the package installs no menu entry"
[ -f "$entry" ] || fail "no menu entry $entry"
step "desktop-file-validate $entry" desktop-file-validate "$entry"
for size in 16 32 48 256; do
    icon="/usr/share/icons/hicolor/${size}x${size}/apps/kvadra.png"
    [ -s "$icon" ] || fail "no icon $icon"
done
# The menu starts the program by the entry's Exec line, found on the PATH.
exec_line="$(sed -n 's/^Exec=//p' "$entry")"
program="$(command -v "${exec_line%% *}")" || fail "\"$exec_line\" is not on the PATH"
echo "the menu entry starts $program"
scripts/checks/display.sh "$program"

step "apt-get removing kvadra" as_root apt-get remove -y kvadra
installed && fail "kvadra is still installed after apt-get remove"
[ ! -e "$program" ] || fail "$program is still there after apt-get remove"
[ ! -e "$entry" ] || fail "$entry is still there after apt-get remove"
echo "install: installed, started from its menu entry, removed"
