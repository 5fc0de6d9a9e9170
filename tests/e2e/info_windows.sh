#!/usr/bin/env bash
# The keyboard path to "Com &1" (Alt+A, 1) with the simulator's reading in the caption; the
# README's screenshots of the main, log, file, info, picture and links windows, made anew in
# E2E_DOCS_DIR (docs/) by every run, so that they show what the program shows.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
e2e_require import
e2e_start_xvfb
e2e_start_devsim --temp-byte 128
e2e_start_warmlog

# shot ID|^CAPTION NAME: the window's screenshot as $E2E_DOCS_DIR/warmlog-NAME.png, replaced whole
# (the runs under two locales take it at the same time); prints the window's id.
shot() {
    local id=$1
    [[ $id == ^* ]] && id=$(e2e_wait_window "$1")
    import -window "$id" "$E2E_TMP/$2.png" || e2e_fail "no screenshot of $id"
    mv -f "$E2E_TMP/$2.png" "$E2E_DOCS_DIR/warmlog-$2.png"
    echo "$id"
}
# close ID KEY: KEY into the window, which must then go (before it does, it may take the next keys).
close() {
    xdotool windowfocus --sync "$1" key "$2"
    e2e_wait 15 eval "! xdotool search --onlyvisible --pid ${E2E_PID[warmlog]} | grep -qx $1" ||
        e2e_fail "$2 did not close window $1"
}
main=$(e2e_wait_window '^Warmlog$')
e2e_choose_com1 "$main" "25.1 °C"
shot "$main" main-window >/dev/null
e2e_menu "$main" alt+d l
e2e_menu "$(shot '^Logdatei$' log-window)" alt+s
close "$(shot '^Log Datei anlegen$' file-dialog)" alt+z

# "&?" through "&Anschluss" and Right, as Alt+? is not one key on every keyboard. The main
# window's caption carries the reading, so the only "Warmlog" is the box.
e2e_menu "$main" alt+a Right i
close "$(shot '^Warmlog$' info-box)" Return
e2e_menu "$main" alt+a Right s
# On the start/reset button, inside the 2-pixel border.
xdotool mousemove --window "$(shot '^Warmlog$' picture-window)" $((2 + 248)) $((2 + 56)) click 1
links=$(e2e_wait_window '^Meine Internet Tipps:$')
shot "$links" links-window >/dev/null
echo "PASS"
