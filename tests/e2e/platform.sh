#!/usr/bin/env bash
# Which display the program opens. Without one that opens, it says which in one line and ends with
# status 1. In a Wayland session that also offers X11 (weston nested in Xvfb) it takes X11, where
# the notification area and centring work. QT_QPA_PLATFORM, when set, decides.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
e2e_require weston
[[ -n $(find /usr/lib -path '*platforms/libqwayland-generic.so' -print -quit) ]] ||
    e2e_fail "Qt's Wayland plugin is missing (qt6-wayland)"

# run EXPECTED ENV...: the program under ENV must print exactly EXPECTED and end with status 1.
run() {
    local status=0 out
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$E2E_TMP" "${@:2}" \
        timeout 30 "$E2E_WARMLOG" 2>&1) || status=$?
    [[ $out == "$1" && $status == 1 ]] || e2e_fail "${*:2} gave status $status and: $out"
}
display=$((RANDOM % 900 + 100)) # one that nothing serves
while [[ -e /tmp/.X11-unix/X$display ]]; do display=$((display + 1)); done
run "warmlog: no display to open (DISPLAY and WAYLAND_DISPLAY are unset)"
run "warmlog: cannot open the display DISPLAY=:$display or WAYLAND_DISPLAY=none-$display" \
    DISPLAY=:$display WAYLAND_DISPLAY=none-$display
# Offscreen despite DISPLAY: it runs until timeout ends it.
env -u WAYLAND_DISPLAY DISPLAY=:$display QT_QPA_PLATFORM=offscreen timeout 3 "$E2E_WARMLOG" &>/dev/null ||
    (($? == 124)) || e2e_fail "QT_QPA_PLATFORM=offscreen was not followed"

e2e_start_xvfb
export XDG_RUNTIME_DIR=$E2E_TMP/xdg WAYLAND_DISPLAY=wayland-e2e
mkdir -m 700 "$XDG_RUNTIME_DIR"
e2e_start weston weston --backend=x11-backend.so --use-pixman --socket=wayland-e2e --width=640 --height=480
e2e_wait 15 test -S "$XDG_RUNTIME_DIR/wayland-e2e" || e2e_fail "weston did not start"
e2e_start warmlog env -u QT_QPA_PLATFORM "$E2E_WARMLOG"
e2e_wait_window '^Warmlog$' >/dev/null
echo "PASS"
