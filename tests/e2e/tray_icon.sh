#!/usr/bin/env bash
# A real notification area (trayer needs no window manager): the icon while minimised, its clicks
# and menu, the area going away, and "&Ende" ending with status 0.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
e2e_require trayer xwininfo python3

# wm_state WINDOW 3|1: a window manager's minimising (unmap, Iconic) or mapping again (Normal);
# xprop cannot write a property of the type WM_STATE.
wm_state() {
    python3 - "$@" <<'PY'
import ctypes as c, sys
x = c.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype, x.XInternAtom.restype = c.c_void_p, c.c_ulong
d = c.c_void_p(x.XOpenDisplay(None) or sys.exit("no display"))
w, state, atom = c.c_ulong(int(sys.argv[1], 0)), int(sys.argv[2]), c.c_ulong(x.XInternAtom(d, b"WM_STATE", 0))
state == 3 and x.XUnmapWindow(d, w)
x.XChangeProperty(d, w, atom, atom, 32, 0, (c.c_long * 2)(state, 0), 2); x.XCloseDisplay(d)
PY
}

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
hidden() { ! viewable "$1"; }

# The icon, once trayer has embedded it and given it its size; it has no caption.
find_icon() {
    local id
    for id in $(xdotool search --onlyvisible --class '^warmlog$' 2>/dev/null); do
        [[ $id != "$window" ]] && ! xdotool getwindowgeometry "$id" | grep -q 'Geometry: [01]x' &&
            echo "$id" && return 0
    done
    return 1
}

# click_icon BUTTON: a click (not a double click) into the icon; waits for what opens.
click_icon() {
    local count
    count=$(e2e_window_count)
    xdotool sleep 0.6 mousemove --window "$icon" 4 4 sleep 0.2 click "$1"
    e2e_wait 15 eval "((\$(e2e_window_count) != $count))" || e2e_fail "a click on the icon did nothing"
}

question() {
    for box in $(xdotool search --onlyvisible --pid "${E2E_PID[warmlog]}" 2>/dev/null); do
        xprop -id "$box" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _DIALOG && return 0
    done
    return 1
}
# answer KEY: answers the open question box.
answer() {
    local box
    e2e_wait 15 question || e2e_fail "no question"
    xdotool windowfocus --sync "$box" key "$1"
    e2e_wait 15 hidden "$box" || e2e_fail "$1 did not answer the question"
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
find_icon && e2e_fail "an icon before minimising"

wm_state "$window" 3
e2e_wait 15 find_icon >/dev/null || e2e_fail "no icon after minimising"
icon=$(find_icon)
hidden "$window" || e2e_fail "the window is still shown with its icon"

# "Beenden" and No while hidden: the question box closes as the last shown window, yet the
# program goes on.
click_icon 3
xdotool key Up Return
answer Return
sleep 0.5
{ e2e_running warmlog && hidden "$window" && viewable "$icon"; } || e2e_fail "No to Beenden did more"

click_icon 1
{ e2e_wait 15 viewable "$window" && viewable "$icon"; } || e2e_fail "a left click: window or icon wrong"

# The first item, "Warmlog anzeigen"; the open menu has the keyboard.
click_icon 3
xdotool key Down Return
{ e2e_wait 15 hidden "$icon" && viewable "$window"; } || e2e_fail "\"Warmlog anzeigen\": icon or window wrong"

# The notification area goes while the window is hidden in it: the window comes back and stays.
wm_state "$window" 1
wm_state "$window" 3
{ e2e_wait 15 find_icon >/dev/null && hidden "$window"; } || e2e_fail "minimising again did not hide the window"
e2e_stop trayer || true
{ e2e_wait 15 viewable "$window" && sleep 1 && viewable "$window"; } ||
    e2e_fail "the window did not come back for good when the notification area went"

e2e_menu "$window" alt+d e
answer alt+j
pid=${E2E_PID[warmlog]}
e2e_wait 15 eval "! kill -0 $pid 2>/dev/null || [[ \$(cut -d' ' -f3 /proc/$pid/stat) == Z ]]" ||
    e2e_fail "\"&Ja\" did not end the program"
status=0
wait "$pid" || status=$?
((status == 0)) || e2e_fail "the program ended with status $status"
echo "PASS"
