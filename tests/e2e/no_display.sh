#!/usr/bin/env bash
# Without a display that opens, the program says which one in one line and ends with status 1;
# with an explicit platform it starts as before.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"

# A display number that nothing serves.
display=$((RANDOM % 900 + 100))
while [[ -e /tmp/.X11-unix/X$display ]]; do display=$((display + 1)); done

# run EXPECTED ENV...: the program under ENV must print exactly EXPECTED and end with status 1.
run() {
    local status=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$E2E_TMP" "${@:2}" \
        timeout 30 "$E2E_WARMLOG" >"$E2E_TMP/out" 2>&1 || status=$?
    [[ $(<"$E2E_TMP/out") == "$1" && $status == 1 ]] ||
        e2e_fail "${*:2} gave status $status and: $(<"$E2E_TMP/out")"
}

run "warmlog: no display to open (DISPLAY and WAYLAND_DISPLAY are unset)"
run "warmlog: cannot open the display DISPLAY=:$display" DISPLAY=:$display
run "warmlog: cannot open the display WAYLAND_DISPLAY=none-$display" WAYLAND_DISPLAY=none-$display

env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 3 "$E2E_WARMLOG" >/dev/null 2>&1 ||
    (($? == 124)) || e2e_fail "offscreen did not start"
echo "PASS"
