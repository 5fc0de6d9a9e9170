#!/usr/bin/env bash
# The built program with a real notification area (trayer, which needs no window manager):
# minimising hides the window behind an icon, "Beenden" answered No keeps the hidden program
# going, a left click on the icon shows the window, "Warmlog anzeigen" also removes the icon,
# ending the notification area brings a hidden window back, and "&Ja" to "&Ende" ends the program
# with status 0.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"

e2e_require trayer xwininfo python3

# wm_state WINDOW STATE: what a window manager does when the user minimises a window (unmap it,
# WM_STATE Iconic, 3) or when it is mapped again (WM_STATE Normal, 1). There is none here, and
# xprop cannot write a property of the type WM_STATE.
wm_state() {
    python3 - "$@" <<'PY'
import ctypes as c, sys
x11 = c.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = c.c_void_p
x11.XInternAtom.restype = c.c_ulong
display = c.c_void_p(x11.XOpenDisplay(None) or sys.exit("no display"))
window, state = c.c_ulong(int(sys.argv[1], 0)), int(sys.argv[2])
atom = c.c_ulong(x11.XInternAtom(display, b"WM_STATE", 0))
if state == 3:
    x11.XUnmapWindow(display, window)
x11.XChangeProperty(display, window, atom, atom, 32, 0, (c.c_long * 2)(state, 0), 2)
x11.XCloseDisplay(display)
PY
}

viewable() {
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

hidden() {
    ! viewable "$1"
}

# The icon, once trayer has embedded it and given it its size; it has no caption.
find_icon() {
    local id WIDTH
    for id in $(xdotool search --onlyvisible --class '^warmlog$' 2>/dev/null); do
        [[ $id == "$window" ]] && continue
        eval "$(xdotool getwindowgeometry --shell "$id" | grep '^WIDTH=')"
        ((WIDTH > 1)) && echo "$id" && return 0
    done
    return 1
}

# click_icon BUTTON: clicks into the icon, and waits for what opens. Clicks closer than half a
# second would make a double click of two.
click_icon() {
    local count
    count=$(e2e_window_count)
    sleep 0.6
    xdotool mousemove --window "$icon" 4 4 sleep 0.2 click "$1"
    e2e_wait 15 eval "((\$(e2e_window_count) != $count))" || e2e_fail "a click on the icon did nothing"
}

# The open question box.
question() {
    local id
    for id in $(xdotool search --onlyvisible --pid "${E2E_PID[warmlog]}" 2>/dev/null); do
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _DIALOG && echo "$id" && return 0
    done
    return 1
}

# answer KEY: answers the open question.
answer() {
    local box
    box=$(e2e_wait 15 question) || e2e_fail "no question"
    xdotool windowfocus --sync "$box" key "$1"
    e2e_wait 15 hidden "$box" || e2e_fail "$1 did not answer the question"
}

e2e_start_xvfb
# Now and then, on a busy machine, trayer's toolkit cannot open a display that already takes other
# clients; it then ends at once, and a second start works.
for ((try = 0; try < 3; try++)); do
    e2e_start trayer trayer --edge bottom --align right --widthtype pixel --width 200 --height 32
    e2e_wait 15 eval 'xdotool search --class trayer >/dev/null || ! e2e_running trayer' &&
        e2e_running trayer && break
    e2e_stop trayer || true
done
e2e_running trayer || e2e_fail "trayer did not start"
e2e_start_warmlog
window=$(e2e_wait_window '^Warmlog$')
find_icon && e2e_fail "an icon before minimising"

wm_state "$window" 3
e2e_wait 15 find_icon >/dev/null || e2e_fail "no icon after minimising"
icon=$(find_icon)
hidden "$window" || e2e_fail "the window is still shown with its icon"

# "Beenden" and No while hidden: the question box closes as the program's last shown window, and
# the program must go on all the same.
click_icon 3
xdotool key Up Return
answer Return
sleep 0.5
{ e2e_running warmlog && hidden "$window" && viewable "$icon"; } || e2e_fail "No to Beenden did more"

click_icon 1
e2e_wait 15 viewable "$window" || e2e_fail "a left click on the icon did not show the window"
viewable "$icon" || e2e_fail "the icon went with the left click"

# The first item, "Warmlog anzeigen"; the open menu has the keyboard.
click_icon 3
xdotool key Down Return
e2e_wait 15 hidden "$icon" || e2e_fail "\"Warmlog anzeigen\" left the icon"
viewable "$window" || e2e_fail "\"Warmlog anzeigen\" did not show the window"

# The notification area goes while the window is hidden in it: the window comes back and stays.
wm_state "$window" 1
wm_state "$window" 3
e2e_wait 15 hidden "$window" || e2e_fail "minimising again did not hide the window"
e2e_wait 15 find_icon >/dev/null || e2e_fail "no icon after minimising again"
e2e_stop trayer || true
e2e_wait 15 viewable "$window" || e2e_fail "the window stayed hidden when the area went"
sleep 1
viewable "$window" || e2e_fail "the window went again after the notification area went"

e2e_menu "$window" alt+d e
answer alt+j
pid=${E2E_PID[warmlog]}
e2e_wait 15 eval "! kill -0 $pid 2>/dev/null || [[ \$(cut -d' ' -f3 /proc/$pid/stat) == Z ]]" ||
    e2e_fail "\"&Ja\" did not end the program"
status=0
wait "$pid" || status=$?
((status == 0)) || e2e_fail "the program ended with status $status"
echo "PASS"
