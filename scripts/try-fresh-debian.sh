#!/usr/bin/env bash
# Tries the README's two commands on a fresh Debian: builds a new root with mmdebstrap from
# Debian's packages, copies this working tree into it and runs, in a chroot, first the demo
# (in Xvfb, ended once Warmlog has run for a while) and then the test command. Prints how long
# each took. Not part of the test command; needs root, network and about 3 GB in TMPDIR.
#
#   scripts/try-fresh-debian.sh [--keep] bookworm|trixie
#
#   --keep           leave the root behind (its path is printed) instead of removing it
#   WARMLOG_MIRROR   the Debian mirror (default http://deb.debian.org/debian)
set -euo pipefail

usage() {
    sed -n '2,10s/^# \{0,1\}//p' "$0"
}

keep=0
if [[ ${1:-} == --keep ]]; then
    keep=1
    shift
fi
case "${1:-}" in
bookworm | trixie) suite=$1 ;;
-h | --help)
    usage
    exit 0
    ;;
*)
    usage >&2
    exit 2
    ;;
esac

cd "$(dirname "${BASH_SOURCE[0]}")/.."
mirror=${WARMLOG_MIRROR:-http://deb.debian.org/debian}

if [[ $EUID -ne 0 ]]; then
    echo "try-fresh-debian.sh: run this as root" >&2
    exit 1
fi
command -v mmdebstrap >/dev/null || scripts/install-deps.sh --fresh-root

root=$(mktemp -d "${TMPDIR:-/var/tmp}/warmlog-$suite.XXXXXX")
# shellcheck disable=SC2317 # called through the trap
cleanup() {
    # Anything the demo or the tests left running in the root goes first, then the mounts.
    local pid
    for pid in /proc/[0-9]*; do
        [[ $(readlink "$pid/root" 2>/dev/null) == "$root" ]] && kill -9 "${pid#/proc/}" 2>/dev/null
    done
    sleep 1
    for mount in dev/shm dev/pts sys proc; do
        umount -l "$root/$mount" 2>/dev/null || true
    done
    if ((keep)); then
        echo "try-fresh-debian.sh: the root stays in $root"
    else
        rm -rf --one-file-system "$root"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

took() {
    printf '%dm%02ds' $(($1 / 60)) $(($1 % 60))
}

echo "=== $suite: a fresh root in $root"
start=$SECONDS
# The default variant: the packages of priority important, as on a fresh installation.
mmdebstrap "$suite" "$root" "$mirror"
echo "=== $suite: root ready after $(took $((SECONDS - start)))"

cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mkdir -p "$root/dev/pts" "$root/dev/shm"
mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$root/dev/pts"
ln -sf pts/ptmx "$root/dev/ptmx"
mount -t tmpfs tmpfs "$root/dev/shm"

in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        /bin/bash -c "cd /root/warmlog && $1"
}

# The working tree as it is, uncommitted changes included, as a release tarball would unpack:
# no .git (the commands must not need the history, nor git itself) and no build directories.
mkdir "$root/root/warmlog"
git ls-files -z --cached --others --exclude-standard |
    tar --exclude=.git --null --files-from=- --create --ignore-failed-read |
    tar --extract -C "$root/root/warmlog"
if [[ -e $root/root/warmlog/.git ]] || in_root 'command -v git' >/dev/null; then
    echo "try-fresh-debian.sh: the root has git or a .git: it would hide a step that needs them" >&2
    exit 1
fi

# The first command, with the README's advice for a machine without a display and for a look at
# its screen. The demo runs until its window is closed, so once Warmlog has run for 20 s it counts
# as started, and its screen must then turn into a PNG as the README says.
fbdir=/tmp/warmlog-screen
demo_command="xvfb-run -a -s '-screen 0 1024x768x24 -fbdir $fbdir' scripts/run-demo.sh"
echo "=== $suite: apt-get update && scripts/install-deps.sh --run && $demo_command"
start=$SECONDS
mkdir -p "$root$fbdir"
in_root "apt-get update && scripts/install-deps.sh --run && exec $demo_command" &
demo=$!
demo_result=FAIL
since=
while kill -0 "$demo" 2>/dev/null; do
    running=0
    for pid in /proc/[0-9]*; do
        [[ $(readlink "$pid/exe" 2>/dev/null) == "$root/root/warmlog/build/src/warmlog" ]] && running=1
    done
    if ((running)); then
        since=${since:-$SECONDS}
        if ((SECONDS - since >= 20)); then
            if in_root "convert xwd:$fbdir/Xvfb_screen0 $fbdir/warmlog.png"; then
                demo_result=pass
            else
                echo "try-fresh-debian.sh: the README's screenshot command failed" >&2
            fi
            break
        fi
    fi
    sleep 1
done
demo_time=$((SECONDS - start))
kill "$demo" 2>/dev/null || true
for pid in /proc/[0-9]*; do
    [[ $(readlink "$pid/exe" 2>/dev/null) == "$root/root/warmlog/build/src/warmlog" ]] &&
        kill "${pid#/proc/}" 2>/dev/null
done
wait "$demo" 2>/dev/null || true
echo "=== $suite: demo $demo_result after $(took "$demo_time")"

echo "=== $suite: apt-get update && scripts/install-deps.sh --test && scripts/run-tests.sh"
start=$SECONDS
tests_result=pass
in_root 'apt-get update && scripts/install-deps.sh --test && scripts/run-tests.sh' ||
    tests_result=FAIL
tests_time=$((SECONDS - start))
# shellcheck disable=SC2016 # expanded by dpkg-query
status=$(in_root 'dpkg-query -W -f=\${db:Status-Status} warmlog 2>/dev/null' || true)
if [[ $status == installed ]]; then
    echo "try-fresh-debian.sh: the test command left the package warmlog installed" >&2
    tests_result=FAIL
fi
echo "=== $suite: tests $tests_result after $(took "$tests_time")"

echo "=== $suite ($(in_root 'cat /etc/debian_version')): demo $demo_result ($(took "$demo_time")), " \
    "tests $tests_result ($(took "$tests_time"))"
[[ $demo_result == pass && $tests_result == pass ]]
