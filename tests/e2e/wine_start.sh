#!/usr/bin/env bash
# wine_start.sh: warmlog.exe from the Windows zip under Wine in Xvfb. Its main window, "Com &1"
# chosen by keys with the simulator behind Wine's COM1, and a screenshot. build-windows.sh --test
# runs it with WINE_ZIP_DIR (the zip's folder), E2E_DEVSIM and E2E_OUTPUT_DIR.
#
# Wine 8 signals a pseudo-terminal's incoming bytes only when the port is written to next, and it
# cannot switch the modem lines of one; so the device's answers come too late and the program
# shows "Kein Spion !!!". What is checked is that the program reaches the device through COM1.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
e2e_require wine wineserver import
zip_dir=${WINE_ZIP_DIR:?the folder of the unpacked zip}
e2e_start_xvfb
e2e_start_devsim --temp-byte 128
# Wine makes dosdevices/com1 from this key when it starts, so no Wine process may run before.
wineserver --kill 2>/dev/null || true
wineserver --wait
wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$E2E_TMP/COM1" /f >/dev/null 2>&1
wineserver --kill 2>/dev/null || true
wineserver --wait
e2e_start warmlog env LC_ALL=de_DE.UTF-8 wine "$zip_dir/warmlog.exe"
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
