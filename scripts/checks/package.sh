#!/bin/sh
# The Debian package passes lintian, and its AppStream and menu entries pass their validators.
#   scripts/check.sh package [CMAKE-OPTION...]
# Makes the package (scripts/package.sh) and fails on any lintian error or warning (the
# informational tags are shown, not counted). Then unpacks it and runs appstreamcli validate and
# validate-tree (offline: no screenshot is fetched) on its metainfo, and desktop-file-validate on
# its menu entry, failing on any error or warning of theirs too.
set -eu
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
scripts/setup.sh lintian appstream desktop-file-utils
scripts/package.sh "$@"
deb="$(package_file)"

# Informational and pedantic tags are shown, for a look, but do not fail the check. (Lintian's
# "running with root privileges" note is about how it is run, not about the package.)
step "lintian found errors or warnings (lines above)" \
    lintian --display-info --pedantic --fail-on error,warning "$deb"

tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
step "unpacking $deb" dpkg-deb -x "$deb" "$tree"

# Prints the files of the package that match a glob below its tree; there must be some.
installed() {
    # shellcheck disable=SC2086 # the glob is meant to expand
    set -- "$tree"$1
    [ -f "$1" ] || fail "the package installs no ${1#"$tree"}"
    printf '%s\n' "$@"
}

# Runs a validator; it passes only if it exits 0 and prints no error or warning line: not every
# validator counts its warnings in its exit code.
validate() {
    out="$("$@" 2>&1)" || fail "$*: $out"
    [ -n "$out" ] && echo "$out"
    if printf '%s\n' "$out" | grep -E '^ *[EW]:|: (error|warning|hint):' >/dev/null; then
        fail "$*: errors or warnings above"
    fi
}

metainfos="$(installed '/usr/share/metainfo/*.metainfo.xml')"
for metainfo in $metainfos; do
    validate appstreamcli validate --no-net "$metainfo"
done
# The whole tree too: its launchable must name a desktop entry that the package installs.
validate appstreamcli validate-tree --no-net "$tree"
entries="$(installed '/usr/share/applications/*.desktop')"
for entry in $entries; do
    validate desktop-file-validate "$entry"
done
echo "package: lintian, appstreamcli and desktop-file-validate found nothing to report"
