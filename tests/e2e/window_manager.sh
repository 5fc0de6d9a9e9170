#!/usr/bin/env bash
# shellcheck disable=SC2016 # e2e_wait's conditions are quoted to be run later
# Under a window manager, which restores a minimised window that is raised or activated: the log
# window's "Sc&hließen" shows the main window, minimised to the notification area, without
# restoring it: in the task bar, minimised, with the icon still there.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
e2e_require openbox xprop trayer
e2e_start_xvfb
e2e_start openbox openbox --sm-disable
e2e_start trayer trayer --edge bottom --align right --widthtype pixel --width 200 --height 32
e2e_start_devsim --temp-byte 128
e2e_start_warmlog
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
echo "PASS"
