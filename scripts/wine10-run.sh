#!/usr/bin/env bash
# Runs a command in the Wine 10 root that scripts/wine10-root.sh builds, with this repository at
# the same path, as root; what the command starts ends with it.
#
#   scripts/wine10-run.sh COMMAND [ARGUMENTS...]
#
# Environment: WARMLOG_WINE10_ROOT (default /var/cache/warmlog/wine10-trixie). Variables named
# E2E_* or WINE_* are handed in.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=${WARMLOG_WINE10_ROOT:-/var/cache/warmlog/wine10-trixie}
(($#)) || {
    sed -n '2,9s/^# \{0,1\}//p' "$0" >&2
    exit 2
}
[[ -f $root/warmlog-wine10-root.txt ]] || {
    echo "wine10-run.sh: no Wine 10 root in $root (scripts/wine10-root.sh)" >&2
    exit 1
}

exec 9>"$root.lock"
flock 9
mounted=()
# shellcheck disable=SC2317 # called through the trap
cleanup() {
    local pid i
    for pid in /proc/[0-9]*; do
        [[ $(readlink "$pid/root" 2>/dev/null) == "$root" ]] && kill -9 "${pid#/proc/}" 2>/dev/null
    done
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -l "${mounted[i]}" 2>/dev/null || true
    done
}
trap cleanup EXIT
mount_at() {
    mkdir -p -- "$root$2"
    mount "${@:3}" "$1" "$root$2"
    mounted+=("$root$2")
}
mount_at proc /proc -t proc
mount_at sysfs /sys -t sysfs
# Its own pseudo-terminals, and nothing of the machine's devices: no serial port of the host can
# be reached from inside.
mount_at devpts /dev/pts -t devpts -o newinstance,ptmxmode=0666,mode=0620
ln -sf pts/ptmx "$root/dev/ptmx"
mount_at tmpfs /dev/shm -t tmpfs
mount_at tmpfs /tmp -t tmpfs
mount_at "$repo" "$repo" --bind

environment=(HOME=/root TERM=dumb PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8)
while IFS='=' read -r name value; do
    environment+=("$name=$value")
done < <(env | grep -E '^(E2E|WINE)_[A-Z0-9_]*=' || true)
status=0
# shellcheck disable=SC2016 # expanded by the inner shell
chroot "$root" /usr/bin/env -i "${environment[@]}" bash -c 'cd "$1" && shift && exec "$@"' \
    bash "$repo" "$@" || status=$?
exit "$status"
