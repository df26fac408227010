#!/bin/sh
# Runs one of the extra checks, each a script in scripts/checks/:
#   scripts/check.sh NAME [ARGUMENT...]
# Without a name, lists the checks with what each one verifies.
set -eu
cd "$(dirname "$0")/.."

list() {
    echo "scripts/check.sh NAME [ARGUMENT...], where NAME is one of:"
    for script in scripts/checks/*.sh; do
        name="${script##*/}"
        # The second line of each check says what it verifies.
        printf '  %-10s %s\n' "${name%.sh}" "$(sed -n '2s/^# //p' "$script")"
    done
}

if [ "$#" -eq 0 ]; then
    list
    exit 0
fi
name="$1"
shift
if [ ! -f "scripts/checks/$name.sh" ]; then
    echo "check.sh: no check named \"$name\"" >&2
    list >&2
    exit 2
fi
exec "scripts/checks/$name.sh" "$@"
