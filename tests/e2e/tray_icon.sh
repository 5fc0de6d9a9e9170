#!/usr/bin/env bash
# A real notification area (trayer needs no window manager): the icon while minimised, its menu,
# the area going away, and "&Ende" ending with status 0. The clicks' meaning is tested offscreen.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
e2e_require trayer xwininfo python3

# minimise WINDOW: as a window manager does (unmap, WM_STATE Iconic), which xprop cannot write.
minimise() {
    python3 - "$1" <<'PY'
import ctypes as c, sys
x = c.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype, x.XInternAtom.restype = c.c_void_p, c.c_ulong
d = c.c_void_p(x.XOpenDisplay(None) or sys.exit("no display"))
w, atom = c.c_ulong(int(sys.argv[1], 0)), c.c_ulong(x.XInternAtom(d, b"WM_STATE", 0))
x.XUnmapWindow(d, w)
x.XChangeProperty(d, w, atom, atom, 32, 0, (c.c_long * 2)(3, 0), 2); x.XCloseDisplay(d)
PY
}
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
# The icon, once trayer has embedded it and given it its size; it has no caption.
find_icon() {
    for icon in $(xdotool search --onlyvisible --class '^warmlog$' 2>/dev/null); do
        [[ $icon != "$window" ]] && ! xdotool getwindowgeometry "$icon" | grep -q 'Geometry: [01]x' &&
            return 0
    done
    return 1
}

# answer KEY: answers the question box, the shown "Warmlog" window other than the main one.
answer() {
    local box
    e2e_wait 15 eval "box=\$(xdotool search --onlyvisible --name '^Warmlog\$' | grep -vx $window)" ||
        e2e_fail "no question"
    xdotool windowfocus --sync "$box" key "$1"
    e2e_wait 15 eval "! viewable $box" || e2e_fail "$1 did not answer the question"
}

e2e_start_xvfb
# On a busy machine trayer's toolkit sometimes cannot open the display and ends at once; retry.
for try in 1 2 3; do
    e2e_start trayer trayer --edge bottom --align right --widthtype pixel --width 200 --height 32
    e2e_wait 15 eval 'xdotool search --class trayer >/dev/null || ! e2e_running trayer' &&
        e2e_running trayer && break
    e2e_stop trayer || true
    ((try < 3)) || e2e_fail "trayer did not start"
done
e2e_start_warmlog
window=$(e2e_wait_window '^Warmlog$')

minimise "$window"
e2e_wait 15 find_icon || e2e_fail "no icon after minimising"
viewable "$window" && e2e_fail "the window is still shown with its icon"

# "Beenden" from the icon's menu, then No: the box closes as the last shown window, yet it goes on.
count=$(e2e_window_count)
xdotool sleep 0.6 mousemove --window "$icon" 4 4 sleep 0.2 click 3
e2e_wait 15 eval "((\$(e2e_window_count) > count))" || e2e_fail "a right click on the icon opened no menu"
xdotool key Up Return
answer Return
sleep 0.5
{ e2e_running warmlog && ! viewable "$window"; } || e2e_fail "No to Beenden did more"

# The notification area goes while the window is hidden in it: the window comes back and stays,
# told by the area window's end rather than found by the regular look.
e2e_stop trayer || true
e2e_wait 15 viewable "$window" || e2e_fail "the window did not come back when the area went"
sleep 1
viewable "$window" || e2e_fail "the window did not stay when the notification area went"
grep -q "notification area's window is gone" "$E2E_TMP/warmlog.log" ||
    e2e_fail "the area's end came as no event"

e2e_menu "$window" alt+d e
answer alt+j
e2e_wait 15 eval '! e2e_running warmlog' || e2e_fail "\"&Ja\" did not end the program"
e2e_stop warmlog || e2e_fail "the program ended with status $?"
echo "PASS"
