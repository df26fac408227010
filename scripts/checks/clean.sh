#!/bin/sh
# The README's test and install commands work on a clean Debian 12, and the installed program runs.
#   scripts/check.sh clean
# Makes a minimal Debian 12 root (debootstrap --variant=minbase bookworm, from the mirror this
# machine's apt uses) in build/clean-root (or $BUILD_DIR), clones the commit under test into it
# (HEAD: uncommitted changes are not part of it) and runs there, in a chroot as root:
#  1. ./scripts/test.sh, the README's test command;
#  2. ./scripts/install.sh, the README's install command;
#  3. the installed kvadra on Qt's offscreen platform: still running after 5 s (timeout's exit
#     code 124) passes, a crash or an exit before then fails.
# Nothing is cached: the root is made anew on every run, so a package that the scripts forget to
# install is missing there as on a new machine. Prints how long each step and the whole check
# took. /proc, /sys and /dev are mounted into the root while it is used and unmounted afterwards,
# also when a step fails. The root is removed when the check passes and kept for a look when it
# fails (the next run removes it). Needs root.
set -eu
cd "$(dirname "$0")/../.."
. scripts/lib/common.sh
begin="$(date +%s)"
[ "$(id -u)" -eq 0 ] || fail "making and entering a chroot needs root"
scripts/setup.sh debootstrap git

commit="$(git rev-parse HEAD)" || fail "not in a git clone"
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "clean: uncommitted changes are not tested, only commit $commit"
fi
# The mirror of this machine's own bookworm sources; deb.debian.org where it has none.
# shellcheck disable=SC2016 # apt expands the $(FIELD)s, not the shell
mirror="$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' |
    awk '$2 == "bookworm" { print $1; exit }')"
mirror="${mirror:-http://deb.debian.org/debian/}"

mkdir -p "$build"
root="$(cd "$build" && pwd)/clean-root"
log="$(cd "$build" && pwd)/clean-debootstrap.log"

# Unmounts everything below the root, the deepest first. A process left behind in the root can
# hold a mount busy; it is then detached (umount -l) so the root can still be removed.
unmount_root() {
    awk -v root="$root/" 'index($2, root) == 1 { print $2 }' /proc/self/mounts | sort -r |
        while read -r mount; do
            umount "$mount" 2>/dev/null || umount -l "$mount" ||
                echo "clean: cannot unmount $mount" >&2
        done
    ! awk -v root="$root/" 'index($2, root) == 1 { found = 1 } END { exit !found }' \
        /proc/self/mounts
}

# Removes the root, never through a mount: rm would follow /dev into the machine's own devices.
remove_root() {
    unmount_root || fail "mounts are left below $root; it is not removed"
    rm -rf --one-file-system "$root"
}

finish() {
    code=$?
    unmount_root || echo "clean: mounts are left below $root" >&2
    if [ "$code" -eq 0 ]; then
        remove_root
    elif [ -d "$root" ]; then
        echo "clean: the root is kept in $root for a look" >&2
    fi
}
trap finish EXIT
trap 'exit 1' INT TERM HUP

# Runs a step and says how long it took.
timed() {
    what="$1"
    shift
    started="$(date +%s)"
    step "$what" "$@"
    echo "clean: $what: $(($(date +%s) - started)) s"
}

# Runs a command in the root as root, with a login's plain environment and no input, as CI runs.
in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@" </dev/null
}

bootstrap() {
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$log" 2>&1 || {
        tail -n 20 "$log" >&2
        return 1
    }
}

remove_root
echo "clean: debootstrap from $mirror, its output in $log"
timed "debootstrap --variant=minbase bookworm" bootstrap
# Services a package would start have no machine to run on here, and would keep the mounts busy.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"

step "mounting /proc in the root" mount -t proc proc "$root/proc"
step "mounting /sys in the root" mount --bind /sys "$root/sys"
step "mounting /dev in the root" mount --bind /dev "$root/dev"
step "mounting /dev/pts in the root" mount --bind /dev/pts "$root/dev/pts"
step "mounting /dev/shm in the root" mount --bind /dev/shm "$root/dev/shm"

clone=/root/kvadra
step "cloning $(pwd) into the root" git clone --quiet --no-hardlinks "$(pwd)" "$root$clone"
step "checking out $commit in the root" git -C "$root$clone" checkout --quiet --detach "$commit"

timed "./scripts/test.sh in the clean root" in_root sh -c "cd $clone && ./scripts/test.sh"
timed "./scripts/install.sh in the clean root" in_root sh -c "cd $clone && ./scripts/install.sh"

program="$(in_root sh -c 'command -v kvadra')" || fail "no kvadra on the PATH after install.sh"
owner="$(in_root dpkg-query -S "$program")" || fail "$program belongs to no package"
echo "clean: $owner"
status=0
output="$(in_root env QT_QPA_PLATFORM=offscreen timeout 5 "$program" 2>&1)" || status=$?
[ -z "$output" ] || printf '%s\n' "$output"
case "$status" in
    124) echo "clean: $program ran for 5 s on the offscreen platform" ;;
    0) fail "$program ended by itself within 5 s, with no window to close" ;;
    *) fail "$program failed within 5 s with exit code $status (output above)" ;;
esac
took=$(($(date +%s) - begin))
echo "clean: passed in $((took / 60)) min $((took % 60)) s"
