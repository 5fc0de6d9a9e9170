#!/usr/bin/env bash
# shellcheck disable=SC2016 # e2e_wait's conditions are quoted to be run later
# SIGTERM while the log holds unsaved records: the text lands in a recovery file, the port's lock
# goes with the port, and the next start names the file in a box.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
export XDG_DATA_HOME=$E2E_TMP/data
e2e_start_xvfb
e2e_start_devsim --temp-byte 128
e2e_start_warmlog
main=$(e2e_wait_window '^Warmlog$')
e2e_choose_com1 "$main" "25.1 °C"
lock=/var/lock/LCK..${E2E_TMP//\//_}_COM1
[[ -e $lock ]] || e2e_fail "no lock file $lock while the port is open"
e2e_menu "$main" alt+d l
xdotool windowfocus --sync "$(e2e_wait_window '^Logdatei$')" key alt+l
e2e_wait 15 eval '[[ $(xdotool getwindowname "$(e2e_wait_window "^Logdatei")") == *läuft* ]]' ||
    e2e_fail "the log did not start"
sleep 2.5
e2e_stop warmlog || e2e_fail "warmlog ended with status $? on SIGTERM"
[[ ! -e $lock ]] || e2e_fail "the lock file $lock stayed"
shopt -s nullglob
kept=("$XDG_DATA_HOME"/*/"Log vom "*.txt)
((${#kept[@]} == 1)) || e2e_fail "${#kept[@]} recovery files: ${kept[*]}"
grep -q $'\t25.1 \xb0C' "${kept[0]}" || e2e_fail "no record in ${kept[0]}"

e2e_start warmlog env QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$E2E_TMP/runtime" "$E2E_WARMLOG"
e2e_wait 15 eval '(($(xdotool search --onlyvisible --name "^Warmlog$" | wc -l) == 2))' ||
    e2e_fail "the next start showed no box beside its window"
[[ ! -e $(dirname "${kept[0]}")/wiederherzustellen.lst ]] || e2e_fail "the note stayed for a third start"
echo "PASS"
