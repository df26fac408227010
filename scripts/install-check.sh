#!/bin/sh
# Makes the Debian package, installs it with apt-get the way a student would, starts the program
# by its menu entry's command on a real X display and drives one exercise (xvfb-check.sh), then
# removes the package again. Fails if the package does not install, the menu entry or icon is
# missing, or the installed program does not run.
set -eu
here="$(dirname "$0")"
deb="$("$here/package.sh" | tail -n 1)"
cd "$here/.."
removed=""
remove() {
    [ -n "$removed" ] || apt-get remove -y kvadra >/dev/null 2>&1 || true
}
trap remove EXIT
apt-get install -y "$deb"
entry=/usr/share/applications/kvadra.desktop
[ -f "$entry" ] || { echo "INSTALL CHECK FAILED: no $entry" >&2; exit 1; }
for size in 16 32 48 256; do
    icon="/usr/share/icons/hicolor/${size}x${size}/apps/kvadra.png"
    [ -s "$icon" ] || { echo "INSTALL CHECK FAILED: no $icon" >&2; exit 1; }
done
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$entry"
fi
# The menu starts the program by the entry's Exec line, found on the PATH.
exec_line="$(sed -n 's/^Exec=//p' "$entry" | head -n 1)"
program="$(command -v "${exec_line%% *}")" ||
    { echo "INSTALL CHECK FAILED: \"$exec_line\" is not on the PATH" >&2; exit 1; }
echo "menu entry starts $program"
KVADRA_PROGRAM="$program" "$here/xvfb-check.sh"
apt-get remove -y kvadra
removed=yes
echo "install check passed"
