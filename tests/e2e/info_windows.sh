#!/usr/bin/env bash
# The real keyboard path to "Com &1" (Alt+A, 1) with the simulator's reading in the caption; and
# screenshots, for review in $E2E_OUTPUT_DIR/info_*.png, of the main window, the log window and
# its file dialog, the info box, the picture of the board and the links window that a click on the
# picture's start/reset button opens.
#
#   info_windows.sh GRAB_TOOL
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
export E2E_GRAB=${1:?the screenshot tool}
e2e_start_xvfb
e2e_start_devsim --temp-byte 128
e2e_start_warmlog

# shot CAPTION NAME: waits for the window, takes its screenshot and prints its id.
shot() {
    local id
    id=$(e2e_wait_window "$1")
    e2e_screenshot "$id" "$2"
    echo "$id"
}
main=$(e2e_wait_window '^Warmlog$')
e2e_choose_com1 "$main" "25.1 °C"
e2e_screenshot "$main" info_main_window
e2e_menu "$main" alt+d l
e2e_menu "$(shot '^Logdatei$' info_log_window)" alt+s
xdotool windowfocus --sync "$(shot '^Log Datei anlegen$' info_file_dialog)" key alt+z

# The menu "&?" through "&Anschluss" and the arrow key, as Alt+? is not one key on every keyboard.
# The main window's caption carries the reading, so the only "Warmlog" is the box.
e2e_menu "$main" alt+a Right i
box=$(shot '^Warmlog$' info_box)
xdotool windowfocus --sync "$box" key Return
e2e_wait 15 eval "! xdotool search --onlyvisible --name '^Warmlog\$' | grep -qx $box" ||
    e2e_fail "Return did not close the info box"
e2e_menu "$main" alt+a Right s
# On the start/reset button, inside the 2-pixel border.
xdotool mousemove --window "$(shot '^Warmlog$' info_picture_window)" $((2 + 248)) $((2 + 56)) click 1
links=$(e2e_wait_window '^Meine Internet Tipps:$')
# Point at the first link so that the screenshot shows the pointed-at look.
xdotool mousemove --window "$links" 2 2 sleep 0.2 mousemove --window "$links" 30 20 sleep 0.5
e2e_screenshot "$links" info_links_window
e2e_running warmlog || e2e_fail "warmlog ended"
e2e_stop devsim || e2e_fail "the simulator ended with status $?"
echo "PASS"
