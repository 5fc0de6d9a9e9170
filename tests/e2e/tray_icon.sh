#!/usr/bin/env bash
# The built program with a real notification area (trayer, which needs no window manager):
# minimising hides the window behind an icon, a left click on the icon shows the window, a right
# click and "Warmlog anzeigen" restore it and remove the icon, ending the notification area while
# the window is hidden brings the window back, and "&Ende" ends the program with
# exit status 0 on "&Ja" only.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"

e2e_require trayer xwininfo python3

# What a window manager does when the user minimises a window: unmap it and set its WM_STATE to
# Iconic (3); and when a window is mapped again: WM_STATE Normal (1). There is none here, and xprop
# cannot write a property of the type WM_STATE.
iconify() {
    wm_state "$1" 3
}

wm_state() {
    python3 - "$1" "$2" <<'EOF'
import ctypes, sys
x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XUnmapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong,
                                ctypes.c_int, ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("no display")
window = int(sys.argv[1], 0)
wm_state = x11.XInternAtom(display, b"WM_STATE", 0)
state = int(sys.argv[2])
if state == 3:
    x11.XUnmapWindow(display, window)
x11.XChangeProperty(display, window, wm_state, wm_state, 32, 0, (ctypes.c_long * 2)(state, 0), 2)
x11.XCloseDisplay(display)
EOF
}

viewable() {
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

hidden() {
    ! viewable "$1"
}

# The program's visible windows; the embedded icon has no WM_NAME, so search by class.
program_windows() {
    xdotool search --onlyvisible --class '^warmlog$' 2>/dev/null
}

# The open pop-up menu: like the icon, a window that no window manager would manage.
menu_window() {
    local id
    for id in $(program_windows); do
        [[ $id == "$icon" ]] && continue
        if xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes'; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# The open question box.
question_window() {
    local id
    for id in $(program_windows); do
        if xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q '_NET_WM_WINDOW_TYPE_DIALOG'; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# The icon once trayer has embedded it and given it its place: "ID X Y WIDTH HEIGHT".
icon_geometry() {
    local id info x y width height
    for id in $(program_windows); do
        [[ $id == "$window" ]] && continue
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
        y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
        width=$(sed -n 's/.*Width: *//p' <<<"$info")
        height=$(sed -n 's/.*Height: *//p' <<<"$info")
        if ((width > 1 && height > 1 && x >= 0 && y >= 0)); then
            echo "$id $x $y $width $height"
            return 0
        fi
    done
    return 1
}

icon_shown() {
    viewable "$icon"
}

icon_gone() {
    ! icon_shown
}

# Clicks BUTTON in the middle of the icon. Clicks closer than half a second would make a double
# click of two.
click_icon() {
    local id x y width height
    read -r id x y width height < <(icon_geometry) || e2e_fail "no icon to click"
    sleep 0.6
    # Not --sync: it waits for a movement that never comes when the pointer is already there.
    xdotool mousemove $((x + width / 2)) $((y + height / 2)) sleep 0.2 click "$1"
}

# Opens "&Datei", "&Ende" from the keyboard and prints the question's window.
ask_to_end() {
    local box
    e2e_focus "$window"
    xdotool key alt+d
    sleep 0.5
    xdotool key e
    e2e_wait 15 question_window >/dev/null || e2e_fail "no question after \"&Ende\""
    box=$(question_window)
    e2e_focus "$box"
    echo "$box"
}

ended() {
    local state
    [[ -r /proc/$1/stat ]] || return 0
    read -r _ _ state _ <"/proc/$1/stat"
    [[ $state == Z ]]
}

e2e_start_xvfb
# Now and then, on a busy machine, trayer's toolkit cannot open a display that already takes other
# clients; it then ends at once, and a second start works.
trayer_shown() {
    xdotool search --class trayer >/dev/null && return 0
    e2e_running trayer || return 0
    return 1
}
for ((try = 0; try < 3; try++)); do
    e2e_start trayer trayer --edge bottom --align right --widthtype pixel --width 200 --height 32
    e2e_wait 15 trayer_shown && e2e_running trayer && break
    e2e_stop trayer || true
done
xdotool search --class trayer >/dev/null || e2e_fail "trayer did not start"
e2e_start_warmlog
window=$(e2e_wait_window '^Warmlog$')
e2e_log "window $window"
icon_geometry >/dev/null && e2e_fail "an icon before minimising"

iconify "$window"
e2e_wait 15 icon_geometry >/dev/null || e2e_fail "no icon after minimising"
hidden "$window" || e2e_fail "the window is still shown with its icon"
read -r icon _ < <(icon_geometry)
e2e_log "minimised: icon $(icon_geometry)"
e2e_screenshot tray_icon-minimised

# "Beenden" and No while hidden: the question box closes as the program's last shown window, and
# the program must go on all the same.
click_icon 3
e2e_wait 15 menu_window >/dev/null || e2e_fail "no menu after a right click"
xdotool key Up Return
e2e_wait 15 question_window >/dev/null || e2e_fail "no question after \"Beenden\""
box=$(question_window)
e2e_focus "$box"
xdotool key Return
e2e_wait 15 hidden "$box" || e2e_fail "Enter did not answer the question"
sleep 0.5
e2e_running warmlog || e2e_fail "No to \"Beenden\" ended the program"
hidden "$window" || e2e_fail "No to \"Beenden\" showed the window"
icon_shown || e2e_fail "No to \"Beenden\" removed the icon"
e2e_log "\"Beenden\", No: still in the notification area"

click_icon 1
e2e_wait 15 viewable "$window" || e2e_fail "a left click on the icon did not show the window"
icon_shown || e2e_fail "the icon went with the left click"
e2e_log "left click: window shown, icon kept"

click_icon 3
e2e_wait 15 menu_window >/dev/null || e2e_fail "no menu after a right click"
# The first item, "Warmlog anzeigen"; the open menu has the keyboard.
menu=$(menu_window)
e2e_log "menu $menu"
xdotool key Down Return
e2e_wait 15 icon_gone || e2e_fail "\"Warmlog anzeigen\" left the icon"
viewable "$window" || e2e_fail "\"Warmlog anzeigen\" did not show the window"
e2e_log "\"Warmlog anzeigen\": window restored, icon removed"

# The panel goes while the window is hidden in it: the window comes back and stays.
wm_state "$window" 1
iconify "$window"
e2e_wait 15 icon_geometry >/dev/null || e2e_fail "no icon after minimising again"
e2e_wait 15 hidden "$window" || e2e_fail "minimising again did not hide the window"
e2e_stop trayer || true
e2e_wait 15 viewable "$window" || e2e_fail "the window stayed hidden when the notification area went"
sleep 1
viewable "$window" || e2e_fail "the window went again after the notification area went"
e2e_log "notification area gone: window back"

box=$(ask_to_end)
xdotool key Return
e2e_wait 15 hidden "$box" || e2e_fail "Enter did not answer the question"
sleep 0.5
e2e_running warmlog || e2e_fail "Enter ended the program"
viewable "$window" || e2e_fail "the window went with the answer No"
e2e_log "Enter answered No"

ask_to_end >/dev/null
xdotool key alt+j
pid=$(e2e_pid warmlog)
e2e_wait 15 ended "$pid" || e2e_fail "\"&Ja\" did not end the program"
status=0
wait "$pid" || status=$?
e2e_stop warmlog || true
((status == 0)) || e2e_fail "the program ended with status $status"
echo "PASS: icon shown, window back, ended with status 0"
