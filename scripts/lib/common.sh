# Helpers every script sources after changing to the top of the clone:  . scripts/lib/common.sh
# Each failure names the script and the step that failed, so a long CI log points at its cause.

me="${0##*/}"
build="${BUILD_DIR:-build}"

fail() {
    echo "$me FAILED: $*" >&2
    exit 1
}

# Runs a command; when it fails, stops the script with the step's own message.
step() {
    what="$1"
    shift
    "$@" || fail "$what (exit code $?)"
}

# Runs a command as root: directly when we are root, through sudo otherwise.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        fail "$1 needs root: run this as root or install sudo"
    fi
}

# Prints the path of the one Debian package in the build folder that scripts/package.sh made.
package_file() {
    set -- "$build"/kvadra_*.deb
    [ "$#" -eq 1 ] && [ -f "$1" ] ||
        fail "expected one kvadra_*.deb in $build, found: $*"
    echo "$(cd "$(dirname "$1")" && pwd)/${1##*/}"
}
