#!/usr/bin/env bash
# Builds Warmlog (Release, in build/) and starts it on your display with the device simulator
# attached as COM1. The simulated temperature drifts slowly, so minimum and maximum move.
# Choose "Anschluss" > "Com 1" in the window. The simulator stops when Warmlog ends.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "run-demo.sh: no display (DISPLAY is not set). Run it in a desktop session," >&2
    echo "or in a virtual one: xvfb-run -a scripts/run-demo.sh" >&2
    exit 1
fi

cmake --preset release
cmake --build --preset demo

built() {
    find build -name CMakeFiles -prune -o -type f -name "$1" -perm -u+x -print | head -n 1
}
warmlog=$(built warmlog)
devsim=$(built warmlog-devsim)

tmp=$(mktemp -d "${TMPDIR:-/tmp}/warmlog-demo.XXXXXX")
devsim_pid=
# shellcheck disable=SC2317 # called through the trap
cleanup() {
    if [[ -n $devsim_pid ]]; then
        kill "$devsim_pid" 2>/dev/null || true
        wait "$devsim_pid" 2>/dev/null || true
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

link=$tmp/COM1
"$devsim" --link "$link" --drift 19 24 120 >"$tmp/devsim.out" &
devsim_pid=$!

for ((i = 0; i < 100; i++)); do
    grep -q '^ready' "$tmp/devsim.out" 2>/dev/null && break
    if ! kill -0 "$devsim_pid" 2>/dev/null; then
        echo "run-demo.sh: the device simulator did not start" >&2
        exit 1
    fi
    sleep 0.1
done
if ! grep -q '^ready' "$tmp/devsim.out"; then
    echo "run-demo.sh: the device simulator did not get ready" >&2
    exit 1
fi

cat <<EOF
Device simulator on $(readlink "$link") (COM1). Change it while Warmlog runs, for example:
    echo 'temp 30' > $link.ctl          echo 'battery 3.8' > $link.ctl
    echo 'silent on' > $link.ctl        echo 'replug 3000' > $link.ctl
EOF

export WARMLOG_COM1=$link
status=0
"$warmlog" || status=$?
exit "$status"
