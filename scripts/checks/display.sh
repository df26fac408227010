#!/bin/sh
# The program on a real X display (Xvfb, xcb), driven by real mouse and key events.
#   scripts/check.sh display [PROGRAM]
# Starts Xvfb with a window manager (openbox) and an accessibility bus, then
#  1. drives one exercise in the program as a student does: Excercise solver, picture
#     "Schematic R1R2R3", 1, 2 and 3 typed into the resistor boxes, Calculate; z11 must read 3.
#     Each control is found by its role and name through the accessibility bus (AT-SPI, as a
#     screen reader finds it), so no layout figure is restated here. Closing the main window
#     through the window manager must end the program with exit code 0 and no window left.
#     Screenshot: build/display-check.png, the program's output: build/display-check.log.
#  2. starts it again for a screen reader's pass (scripts/lib/screenreader.py): a test, an
#     exercise and the lab helper driven through the accessibility interfaces alone, checking
#     what a screen reader announces: names, descriptions, values, roles, check box states.
#  3. runs the Qt tests on the same display with the xcb platform and the accessibility bridge
#     on, so every window they open also answers a screen reader (scripts/lib/xcbtests.py).
# PROGRAM (or $KVADRA_PROGRAM) names another binary to drive, an installed one, and then steps 1
# and 2 run; without it Kvadra is built into ./build (or $BUILD_DIR) first.
set -eu
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
program="${1:-${KVADRA_PROGRAM:-}}"
# openbox is what turns a close request into the WM_DELETE_WINDOW message a title bar's close
# box sends, and it hands out the focus on a click. python3-pyatspi brings at-spi2-core.
scripts/setup.sh xvfb openbox wmctrl xdotool x11-utils imagemagick dbus-daemon python3-pyatspi
qt_tests=no
if [ -z "$program" ]; then
    scripts/build.sh
    program="$build/src/kvadra"
    qt_tests=yes
fi
[ -x "$program" ] || fail "no program at $program"
mkdir -p "$build"
shot="$build/display-check.png"
log="$build/display-check.log"
rm -f "$shot" "$log"

work="$(mktemp -d)"
pids=""
cleanup() {
    status=$?
    if [ "$status" -ne 0 ] && [ -s "$log" ]; then
        echo "--- the program's output ($log):" >&2
        cat "$log" >&2
    fi
    # The newest first: the program before its buses, the window manager before its display.
    for pid in $pids; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# Starts a background process and remembers it for the clean-up.
started() {
    pids="$1 $pids"
}

# Waits until a command succeeds, for at most 10 s; else fails with what a server's log says.
await() {
    what="$1"
    server_log="$2"
    shift 2
    i=0
    until "$@" >/dev/null 2>&1; do
        i=$((i + 1))
        [ "$i" -le 100 ] || fail "$what: $(cat "$server_log")"
        sleep 0.1
    done
}

# The session's own runtime folder: the accessibility bus puts its socket there, not in $HOME.
XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR

# Xvfb picks a free display itself and writes its number to fd 3, so parallel runs do not clash.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
started $!
await "Xvfb did not start" "$work/xvfb.log" test -s "$work/display"
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
echo "Xvfb on $DISPLAY"

openbox >"$work/openbox.log" 2>&1 &
started $!
await "openbox did not take over the display" "$work/openbox.log" wmctrl -m

dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>"$work/bus.log" &
started $!
await "the session bus did not start" "$work/bus.log" test -s "$work/bus"
DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$work/bus")"
export DBUS_SESSION_BUS_ADDRESS
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/atspi.log" 2>&1 &
started $!
await "the accessibility bus did not start" "$work/atspi.log" \
    dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress

# The developer's own platform and scale must not leak in: this check is about xcb at 1:1.
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR WAYLAND_DISPLAY
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$log" 2>&1 &
app=$!
started "$app"

# Waits for a window of the program with exactly this title and prints its X id.
window() {
    id="$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$app" --name "^$1\$")" ||
        fail "window \"$1\" did not appear"
    echo "${id%%
*}"
}

# Fails unless a window's client area is this wide and high ("-" for any height).
expect_size() {
    size="$(xwininfo -id "$1" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 }
        END { print w "x" h }')"
    echo "$2: $size"
    case "$3" in
        *x-) [ "${size%x*}" = "${3%x-}" ] ;;
        *) [ "$size" = "$3" ] ;;
    esac || fail "$2 is $size, expected $3"
}

# Prints what the accessibility bus says of a control (scripts/lib/atspi.py).
atspi() {
    /usr/bin/python3 scripts/lib/atspi.py "$app" "$@" || fail "atspi.py $*"
}

# Clicks the centre of a control of a window, found by its path in the accessible tree, after
# raising and focusing that window as a click on its title bar would.
press() {
    xid="$1"
    shift
    xdotool windowactivate --sync "$xid" >/dev/null 2>&1 || xdotool windowraise "$xid"
    centre="$(atspi centre "$@")"
    # shellcheck disable=SC2086
    xdotool mousemove --sync $centre click 1 || fail "cannot click $*"
    sleep 0.2
}

main="$(window Kvadra)"
expect_size "$main" "main window" 426x-
press "$main" '*:Kvadra' 'push button:Excercise solver'
selection="$(window 'Schematic selection')"
expect_size "$selection" "schematic selection" 668x481
press "$selection" '*:Schematic selection' 'push button:Schematic R1R2R3'
calc="$(window Calculator)"
expect_size "$calc" calculator 467x298
# Typing replaces what a box holds because it selects all when it takes the focus.
for r in 1 2 3; do
    press "$calc" '*:Calculator' "text:R$r (kOhm)"
    xdotool type --delay 50 "$r"
done
press "$calc" '*:Calculator' 'push button:Calculate'
z11="$(KVADRA_ATSPI_TIMEOUT=5 atspi text '*:Calculator' 'text:z11 (kOhm)' '=3')"
echo "z11 = $z11"
# A message box is titled Kvadra like the main window.
boxes="$(xdotool search --all --onlyvisible --pid "$app" --name '^Kvadra$')" || true
[ "$boxes" = "$main" ] || fail "a message box is open after Calculate"
import -window root "$shot" || fail "cannot take the screenshot"
echo "screenshot: $shot"

# Closed as its title bar's close box would close it, the main window takes the tool windows
# with it and the program ends by itself.
wmctrl -i -c "$main"
i=0
while kill -0 "$app" 2>/dev/null; do
    i=$((i + 1))
    [ "$i" -le 100 ] || fail "the program still runs 10 s after its main window was closed"
    sleep 0.1
done
status=0
wait "$app" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with exit code $status"
left="$(xdotool search --all --onlyvisible --name '.' 2>/dev/null)" || true
[ -z "$left" ] || fail "windows left after the program ended: $left"
echo "closed: exit code 0, no window left"

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >>"$log" 2>&1 &
app=$!
started "$app"
step "a screen reader's pass" /usr/bin/python3 scripts/lib/screenreader.py "$app"

if [ "$qt_tests" = yes ]; then
    step "the Qt tests on xcb" env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
        /usr/bin/python3 scripts/lib/xcbtests.py "$build"
fi
echo "display: passed"
