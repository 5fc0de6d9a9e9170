#!/usr/bin/env bash
# Builds, once per machine, a Debian 13 root with Wine 10 in which the Windows build reads the
# simulated device (tests/e2e/wine_device.sh): Debian 12's Wine 8 cannot wait on a serial port
# that is a pseudo-terminal. Later runs find the root and stop at once.
#
#   scripts/wine10-root.sh [ROOT]
#
# ROOT defaults to $WARMLOG_WINE10_ROOT, else /var/cache/warmlog/wine10-trixie. Needs root and
# Debian's mirror (WARMLOG_MIRROR, default http://deb.debian.org/debian); about 3 minutes.
set -euo pipefail

readonly STAMP=warmlog-wine10-root.txt
root=${1:-${WARMLOG_WINE10_ROOT:-/var/cache/warmlog/wine10-trixie}}
mirror=${WARMLOG_MIRROR:-http://deb.debian.org/debian}
if [[ -f $root/$STAMP ]]; then
    echo "wine10-root.sh: the Wine 10 root is in $root"
    exit 0
fi
[[ $EUID -eq 0 ]] || {
    echo "wine10-root.sh: run this as root" >&2
    exit 1
}
[[ ! -e $root ]] || {
    echo "wine10-root.sh: $root exists but is not complete; remove it first" >&2
    exit 1
}
command -v mmdebstrap >/dev/null || "$(dirname "${BASH_SOURCE[0]}")/install-deps.sh" --fresh-root

started=$SECONDS
work=$(mktemp -d "$(dirname -- "$root")/.wine10.XXXXXX")
trap 'rm -rf --one-file-system -- "$work"' EXIT
# No font packages beyond what Wine brings: the program must not depend on the machine's fonts.
# shellcheck disable=SC2016 # the hooks' $1 is mmdebstrap's, expanded when it runs them
mmdebstrap --variant=important \
    --include=wine,wine64,xvfb,xauth,xdotool,x11-utils,imagemagick,locales,procps \
    --customize-hook='echo "de_DE.UTF-8 UTF-8" >> "$1/etc/locale.gen"' \
    --customize-hook='chroot "$1" locale-gen' \
    trixie "$work/root" "$mirror"
echo "Debian $(cat "$work/root/etc/debian_version"), $(chroot "$work/root" wine --version)," \
    "built $(date -u +%FT%TZ) in $((SECONDS - started)) s" >"$work/root/$STAMP"
mkdir -p -- "$(dirname -- "$root")"
mv -T -- "$work/root" "$root"
echo "wine10-root.sh: $(cat "$root/$STAMP")"
