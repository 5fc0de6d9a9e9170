#!/usr/bin/env bash
# In a Wayland session that also offers X11 (weston nested in Xvfb stands in for the compositor
# and XWayland), the program opens its window through X11, where minimising to the notification
# area and centring work; QT_QPA_PLATFORM still decides when it is set.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"

e2e_require weston
[[ -n $(find /usr/lib -path '*platforms/libqwayland-generic.so' -print -quit) ]] ||
    e2e_fail "Qt's Wayland plugin is missing (qt6-wayland)"
e2e_start_xvfb
export XDG_RUNTIME_DIR=$E2E_TMP/xdg WAYLAND_DISPLAY=wayland-e2e
mkdir -m 700 "$XDG_RUNTIME_DIR"
e2e_start weston weston --backend=x11-backend.so --use-pixman --socket=wayland-e2e --width=640 --height=480
e2e_wait 15 test -S "$XDG_RUNTIME_DIR/wayland-e2e" || e2e_fail "weston did not start"

e2e_start warmlog env -u QT_QPA_PLATFORM "$E2E_WARMLOG"
e2e_wait_window '^Warmlog$' >/dev/null
e2e_stop warmlog || true

e2e_start warmlog env QT_QPA_PLATFORM=wayland "$E2E_WARMLOG"
sleep 3
e2e_running warmlog || e2e_fail "QT_QPA_PLATFORM=wayland did not start"
xdotool search --name '^Warmlog$' >/dev/null && e2e_fail "QT_QPA_PLATFORM=wayland was not followed"
echo "PASS"
