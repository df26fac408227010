#!/bin/sh
# Runs the built program on a real X server (Xvfb, Qt's xcb platform) and drives one exercise
# with real X events, the way a student does it with the mouse and keyboard:
#   open the exercise solver, click schematic R1R2R3, type R1=1, R2=2, R3=3, Calculate,
#   take a screenshot, close the main window.
# Passes when every window maps at its size, no message box appears, and closing the main window
# ends the program with exit code 0 and no window left. The screenshot is left in
# build/xvfb-check.png (or under $BUILD_DIR), the program's output in build/xvfb-check.log.
# KVADRA_PROGRAM names another binary to drive (an installed one) instead of building.
set -eu
here="$(dirname "$0")"
# openbox stands in for a desktop's window manager: it is what turns a close request into the
# WM_DELETE_WINDOW message a title bar's close box sends, and it hands out focus on click.
"$here/setup.sh" xvfb xdotool x11-utils openbox wmctrl imagemagick
if [ -z "${KVADRA_PROGRAM:-}" ]; then
    "$here/build.sh"
fi
cd "$here/.."
build="${BUILD_DIR:-build}"
mkdir -p "$build"
program="${KVADRA_PROGRAM:-$build/src/kvadra}"
shot="$build/xvfb-check.png"
log="$build/xvfb-check.log"
rm -f "$shot" "$log"

fail() {
    echo "XVFB CHECK FAILED: $*" >&2
    if [ -s "$log" ]; then
        echo "--- program output ($log):" >&2
        cat "$log" >&2
    fi
    exit 1
}

work="$(mktemp -d)"
xvfb_pid=""
wm_pid=""
app_pid=""
cleanup() {
    for pid in $app_pid $wm_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# Xvfb picks a free display itself and writes its number to fd 3, so parallel runs do not clash.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
i=0
while [ ! -s "$work/display" ]; do
    i=$((i + 1))
    [ "$i" -le 100 ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb exited: $(cat "$work/xvfb.log")"
    sleep 0.1
done
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
echo "Xvfb on $DISPLAY"

openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
i=0
until wmctrl -m >/dev/null 2>&1; do
    i=$((i + 1))
    [ "$i" -le 100 ] || fail "openbox did not take over the display: $(cat "$work/openbox.log")"
    sleep 0.1
done

# The developer's own platform choice must not leak in: this check is about xcb.
QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR 2>/dev/null || true
export QT_QPA_PLATFORM
"$program" >"$log" 2>&1 &
app_pid=$!

# Waits for a window of the program with exactly this title and prints its id.
wait_window() {
    id="$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$app_pid" --name "^$1\$" |
        head -n 1)" || true
    [ -n "$id" ] || fail "window \"$1\" did not appear"
    echo "$id"
}

# Prints "width height" of a window's client area.
size_of() {
    xwininfo -id "$1" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w, h }'
}

# Clicks at a point given in the window's client coordinates, after raising and focusing it.
click_at() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowraise "$1"
    xdotool mousemove --window "$1" --sync "$2" "$3" click 1
    sleep 0.3
}

# No message box may have opened: they are titled "Kvadra" like the main window.
check_no_box() {
    count="$(xdotool search --all --onlyvisible --pid "$app_pid" --name '^Kvadra$' | wc -l)"
    [ "$count" -eq 1 ] || fail "a message box is open after $1 ($count windows titled Kvadra)"
}

main="$(wait_window Kvadra)"
set -- $(size_of "$main")
main_w=$1
main_h=$2
echo "main window: ${main_w}x$main_h"
[ "$main_w" -eq 426 ] || fail "main window is $main_w wide, expected 426"
[ "$main_h" -ge 224 ] || fail "main window is $main_h high, expected at least 224"
# The menu bar sits above the 224-pixel client area.
menu=$((main_h - 224))
[ "$menu" -gt 0 ] || fail "no room for the menu bar in the main window"

# "Excercise solver": frame Tools at (8, 8), the button at (8, 24) in it, 121 x 25.
click_at "$main" $((8 + 8 + 60)) $((menu + 8 + 24 + 12))
selection="$(wait_window 'Schematic selection')"
set -- $(size_of "$selection")
echo "schematic selection: ${1}x$2"
[ "$1" -eq 668 ] && [ "$2" -eq 481 ] || fail "schematic selection is ${1}x$2, expected 668x481"

# R1R2R3 is the eleventh picture: column 3 (x 328), row 3 (y 256) of 153 x 97 buttons inside
# frame frmGetSchem at (8, 8).
click_at "$selection" $((8 + 328 + 76)) $((8 + 256 + 48))
calc="$(wait_window Calculator)"
set -- $(size_of "$calc")
echo "calculator: ${1}x$2"
[ "$1" -eq 467 ] && [ "$2" -eq 298 ] || fail "calculator is ${1}x$2, expected 467x298"

# val1..val3 (105 x 19) at (40, 24 / 48 / 72) in frmInput (16, 136) in frmInputAll (8, 8).
r=1
for y in 24 48 72; do
    click_at "$calc" $((8 + 16 + 40 + 52)) $((8 + 136 + y + 9))
    # The box selects all on focus, so typing replaces whatever it held.
    xdotool type --delay 50 "$r"
    r=$((r + 1))
done
# Calculate: (16, 248) in frmInputAll, 161 x 25.
click_at "$calc" $((8 + 16 + 80)) $((8 + 248 + 12))
sleep 0.5
check_no_box "Calculate"

import -window root "$shot" || fail "cannot take the screenshot"
echo "screenshot: $shot"

# Close the main window as its title bar's close box would; the tool windows must close with it
# and the program must end by itself.
wmctrl -i -c "$main"
i=0
while kill -0 "$app_pid" 2>/dev/null; do
    i=$((i + 1))
    [ "$i" -le 100 ] || fail "the program is still running 10 s after its main window was closed"
    sleep 0.1
done
status=0
wait "$app_pid" || status=$?
pid="$app_pid"
app_pid=""
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
left="$(xdotool search --pid "$pid" --name '.' 2>/dev/null | wc -l)"
left_named="$(xdotool search --name '^(Kvadra|Schematic selection|Calculator)$' 2>/dev/null | wc -l)"
[ "$left" -eq 0 ] && [ "$left_named" -eq 0 ] || fail "windows left after closing: $left, $left_named"
echo "closed: exit code 0, no window left"
if [ -s "$log" ]; then
    echo "--- program output:"
    cat "$log"
fi
echo "xvfb check passed"
