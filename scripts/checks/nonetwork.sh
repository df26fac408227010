#!/bin/sh
# The program opens no network socket and writes no file, traced with strace.
#   scripts/check.sh nonetwork [CMAKE-OPTION...]
# Traces the program's own main() from start to idle and quit (tools/kvadra_idle), then a whole
# scripted student session (tools/kvadra_session: every window, every tool, every message box,
# closed from the main window). Builds first into ./build (or $BUILD_DIR). Fails on:
#  - any socket other than AF_UNIX (AF_INET, AF_INET6, AF_NETLINK, AF_PACKET, ...);
#  - any attempt, successful or not, to open a file for writing, create, remove, rename, link
#    or change one, except below /dev, /proc and Qt's runtime directory ($XDG_RUNTIME_DIR, or
#    /tmp/runtime-<user> that Qt creates when it is unset), which hold no user files.
# AF_UNIX connections are local (glibc asks nscd for the user's name) and only listed.
set -eu
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
scripts/setup.sh strace
scripts/build.sh "$@"
runtime="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -un)}"
trace="$(mktemp)"
trap 'rm -f "$trace"' EXIT

check() {
    echo "== $1"
    # The offscreen platform needs no display server, so no X11 or Wayland socket either.
    QT_QPA_PLATFORM=offscreen strace -f -qq -s 4096 -e trace=%network,%file -o "$trace" "$1" \
        >/dev/null 2>&1 || fail "$1 exited with an error (run it alone to see it)"
    awk -v runtime="$runtime" '
        function allowed(p) {
            return p ~ /^\/dev\// || p ~ /^\/proc\// || p == runtime ||
                   index(p, runtime "/") == 1
        }
        {
            line = $0
            sub(/^[0-9]+ +/, "", line)
            if (!match(line, /^[a-z0-9_]+\(/))
                next
            calls++
            call = substr(line, 1, RLENGTH - 1)
            if (call == "socket") {
                if (line !~ /^socket\(AF_UNIX,/) { print "  NETWORK SOCKET: " line; bad = 1 }
                next
            }
            if (line ~ /sa_family=AF_UNIX/) { print "  local: " line; next }
            writes = call ~ /^(creat|mkdir|mkdirat|rmdir|unlink|unlinkat|rename|renameat|renameat2|link|linkat|symlink|symlinkat|truncate|chmod|fchmodat|chown|lchown|fchownat|utime|utimes|utimensat|futimesat|mknod|mknodat|setxattr|lsetxattr|removexattr|lremovexattr)$/ ||
                     (call ~ /^(open|openat|openat2)$/ && line ~ /O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND/)
            if (!writes)
                next
            ok = 1
            rest = line
            while (match(rest, /"[^"]*"/)) {
                if (!allowed(substr(rest, RSTART + 1, RLENGTH - 2)))
                    ok = 0
                rest = substr(rest, RSTART + RLENGTH)
            }
            if (ok)
                print "  allowed write: " line
            else { print "  FILE WRITE: " line; bad = 1 }
        }
        END {
            printf "  %d file and network calls traced\n", calls
            if (calls == 0) { print "  NOTHING TRACED"; bad = 1 }
            exit bad
        }' "$trace" || fail "$1 opened a network socket or wrote a file (lines above)"
}

check "$build/tools/kvadra_idle"
check "$build/tools/kvadra_session"
echo "nonetwork: no network socket, no file written"
