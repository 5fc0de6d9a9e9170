#!/usr/bin/env bash
# shellcheck disable=SC2016 # e2e_wait's conditions are quoted to be run later
# Under a window manager, the log window's "Sc&hließen" shows the main window, minimised to the
# tray, without restoring it. "Com &1" by keys (Alt+A, 1); the README's screenshots, made anew in
# E2E_DOCS_DIR (docs/). SIGTERM while the log records: the text lands in a recovery file, the
# port's lock goes with the port, and the next start names the file in a box.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
export XDG_DATA_HOME=$E2E_TMP/data
e2e_require import openbox xprop trayer
e2e_start_xvfb
e2e_start openbox openbox --sm-disable
e2e_start trayer trayer --edge bottom --align right --widthtype pixel --width 200 --height 32
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
e2e_menu "$main" alt+d l
log=$(e2e_wait_window '^Logdatei$')
iconic() { xprop -id "$main" WM_STATE 2>/dev/null | grep -q 'window state: Iconic'; }
xdotool windowminimize "$main"
e2e_wait 15 eval '! xprop -id "$main" WM_STATE | grep -Eq "Iconic|Normal"' ||
    e2e_fail "the main window did not go to the tray"
xdotool windowactivate --sync "$log" key alt+h
e2e_wait 15 iconic || e2e_fail "Sc&hließen did not show the main window minimised"
sleep 1
iconic || e2e_fail "Sc&hließen restored the minimised main window"
xdotool windowactivate --sync "$main"
e2e_choose_com1 "$main" "25.1 °C"
shot "$main" main-window >/dev/null
lock=/var/lock/LCK..${E2E_TMP//\//_}_COM1
[[ -e $lock ]] || e2e_fail "no lock file $lock while the port is open"
e2e_menu "$main" alt+d l
log=$(shot '^Logdatei$' log-window)
e2e_menu "$log" alt+s
close "$(shot '^Log Datei anlegen$' file-dialog)" alt+z
xdotool windowfocus --sync "$log" key alt+l
e2e_wait 15 eval '[[ $(xdotool getwindowname "$log") == *läuft* ]]' || e2e_fail "the log did not start"

# "&?" through "&Anschluss" and Right, as Alt+? is not one key on every keyboard. The main
# window's caption carries the reading, so the only "Warmlog" is the box.
e2e_menu "$main" alt+a Right i
close "$(shot '^Warmlog$' info-box)" Return
e2e_menu "$main" alt+a Right s
# On the start/reset button, inside the 2-pixel border.
xdotool mousemove --window "$(shot '^Warmlog$' picture-window)" $((2 + 248)) $((2 + 56)) click 1
links=$(e2e_wait_window '^Meine Internet Tipps:$')
shot "$links" links-window >/dev/null

e2e_stop warmlog || e2e_fail "warmlog ended with status $? on SIGTERM"
[[ ! -e $lock ]] || e2e_fail "the lock file $lock stayed"
shopt -s nullglob
kept=("$XDG_DATA_HOME"/*/"Log vom "*.txt)
((${#kept[@]} == 1)) || e2e_fail "${#kept[@]} recovery files: ${kept[*]}"
grep -q $'\t25.1 \xb0C' "${kept[0]}" || e2e_fail "no record in ${kept[0]}"
e2e_start_warmlog
e2e_wait 15 eval '(($(xdotool search --onlyvisible --name "^Warmlog$" | wc -l) == 2))' ||
    e2e_fail "the next start showed no box beside its window"
[[ ! -e $(dirname "${kept[0]}")/wiederherzustellen.lst ]] || e2e_fail "the note stayed for a third start"
echo "PASS"
