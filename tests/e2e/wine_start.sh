#!/usr/bin/env bash
# warmlog.exe from the unpacked Windows zip (WINE_ZIP_DIR) under Wine in Xvfb: its main window,
# "Com &1" by keys with the simulator behind Wine's COM1, a screenshot. Wine 8 sees a pseudo-
# terminal's answer only after the next write, too late: what is checked is that the wake-up
# reaches the device through COM1.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
e2e_require wine wineserver import
e2e_start_xvfb
e2e_start_devsim --temp-byte 128
# Wine makes dosdevices/com1 from this key when it starts.
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$E2E_TMP/COM1" /f >/dev/null 2>&1
wineserver --kill 2>/dev/null || true
wineserver --wait
e2e_start warmlog env LC_ALL=de_DE.UTF-8 wine "$WINE_ZIP_DIR/warmlog.exe"
main=$(e2e_wait_window '^Warmlog$')
# Wine's menus are windows of the Wine process, which xdotool cannot tell by the program's pid.
xdotool windowfocus --sync "$main" key alt+a sleep 1 key 1
e2e_wait 20 grep -qx 'tx 1' "$E2E_TMP/devsim-bytes.log" ||
    e2e_fail "no wake-up through COM1 reached the simulator"
echo "the wake-up reached the simulator through COM1; caption \"$(xdotool getwindowname "$main")\""
sleep 3
import -window "$main" "$E2E_OUTPUT_DIR/wine_main_window.png" || e2e_fail "no screenshot"
e2e_running warmlog || e2e_fail "warmlog ended"
echo "PASS"
