#!/usr/bin/env bash
# The information windows in a real X server: "&Info" shows the version box, "&So sieht der Spion
# von innen aus" the picture of the board, a click on its start/reset button the links window,
# whose "&O.K." hides it again. Screenshots of the main window, the log window and its file
# dialog, the info box, the picture window and the links window go to $E2E_OUTPUT_DIR/info_*.png
# for review.
#
#   info_windows.sh GRAB_TOOL
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"

grab=${1:?the screenshot tool}
[[ -x $grab ]] || e2e_fail "$grab is not a program"

# screenshot ID NAME: the window into $E2E_OUTPUT_DIR/NAME.png.
screenshot() {
    local file=${E2E_OUTPUT_DIR:-.}/$2.png
    QT_QPA_PLATFORM=xcb "$grab" "$1" "$file" || e2e_fail "no screenshot of window $1"
    e2e_log "screenshot $file"
}

visible() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -qx "$2"
}

hidden() {
    ! visible "$@"
}

# choose_help_item KEY: opens the menu "&?" (through "&Anschluss" and the arrow key, as Alt+? is
# not one key on every keyboard) and picks the item with the access key KEY.
choose_help_item() {
    local count
    e2e_focus "$main"
    count=$(e2e_window_count)
    menu_is_open() {
        (($(e2e_window_count) > count))
    }
    xdotool key alt+a
    e2e_wait 15 menu_is_open || e2e_fail "Alt+A opened no menu"
    xdotool key Right
    sleep 0.3
    xdotool key "$1"
}

e2e_start_xvfb
e2e_start_devsim --temp-byte 128
e2e_start_warmlog

# The main window with a live reading, as the README shows it.
main=$(e2e_wait_window '^Warmlog$')
e2e_choose_com1 "$main" 128
screenshot "$main" info_main_window

# The log window and its file dialog; "&Zurück" hides the dialog again.
e2e_focus "$main"
xdotool key alt+d
sleep 0.3
xdotool key l
log=$(e2e_wait_window '^Logdatei$')
screenshot "$log" info_log_window
e2e_focus "$log"
xdotool key alt+s
dialog=$(e2e_wait_window '^Log Datei anlegen$')
screenshot "$dialog" info_file_dialog
e2e_focus "$dialog"
xdotool key alt+z
e2e_wait 15 hidden '^Log Datei anlegen$' "$dialog" || e2e_fail "Zurück did not hide the dialog"

# The info box: the main window's caption now carries the reading, so the only "Warmlog" is the box.
choose_help_item i
box=$(e2e_wait_window '^Warmlog$')
screenshot "$box" info_box
e2e_focus "$box"
xdotool key Return
e2e_wait 15 hidden '^Warmlog$' "$box" || e2e_fail "the info box did not close"

choose_help_item s
picture=$(e2e_wait_window '^Warmlog$')
e2e_log "picture window $picture"
eval "$(xdotool getwindowgeometry --shell "$picture")"
[[ "${WIDTH}x${HEIGHT}" == 322x210 ]] || e2e_fail "picture window of ${WIDTH}x${HEIGHT}"
screenshot "$picture" info_picture_window

# Outside the hot spot nothing happens; on the start/reset button (inside the 2-pixel border)
# the links window opens.
xdotool mousemove --window "$picture" 150 150 click 1
sleep 0.5
[[ -z $(e2e_find_window '^Meine Internet Tipps:$') ]] || e2e_fail "a click beside the hot spot opened the links"
xdotool mousemove --window "$picture" $((2 + 248)) $((2 + 56)) click 1
links=$(e2e_wait_window '^Meine Internet Tipps:$')
e2e_log "links window $links"

# Point at the first link so that the screenshot shows the pointed-at look.
xdotool mousemove --window "$links" 2 2
xdotool mousemove --window "$links" 30 20
sleep 0.5
screenshot "$links" info_links_window

# "&O.K." hides the links window and keeps the picture window.
e2e_focus "$links"
xdotool key alt+o
e2e_wait 15 hidden '^Meine Internet Tipps:$' "$links" || e2e_fail "O.K. did not hide the links"
visible '^Warmlog$' "$picture" || e2e_fail "the picture window went away"

e2e_running warmlog || e2e_fail "warmlog ended"
e2e_stop warmlog || true
e2e_stop devsim || e2e_fail "the simulator ended with status $?"
echo "PASS: info box, picture window and links window"
