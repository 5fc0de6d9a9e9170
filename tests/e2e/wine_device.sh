#!/usr/bin/env bash
# shellcheck disable=SC2016 # e2e_wait's conditions are quoted to be run later
# warmlog.exe from the unpacked Windows zip (WINE_ZIP_DIR) under Wine 10, in the Debian 13 root of
# scripts/wine10-root.sh (scripts/wine10-run.sh runs it there), reading the simulator through COM1:
# a fresh German prefix whose only COM port is the simulator's pseudo-terminal; tools/wine/
# modemlines.c (built as E2E_MODEMLINES) gives that terminal modem lines and logs DTR and RTS.
# Checks the reading, the charging lines, a recording saved as .xls, an unplugged device and the
# Verlauf window's line.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
e2e_require wine wineserver xdotool import iconv
export WINEPREFIX=$E2E_TMP/wine WINEDEBUG=-all LC_ALL=de_DE.UTF-8
export WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d
lines=$E2E_TMP/modemlines.log

e2e_start_xvfb
e2e_start_devsim --temp-byte 128 --battery 4.2
wine wineboot --init >/dev/null 2>&1
# Every COM port Wine could map is pinned: COM1 to the simulator, the others to nothing.
"$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-run.sh" --pin-com1 "$E2E_TMP/COM1"
mkdir -p "$E2E_TMP/save"
cd "$E2E_TMP/save"
e2e_start warmlog env LD_PRELOAD="$E2E_MODEMLINES" WARMLOG_MODEMLINES_LOG="$lines" \
    wine "$WINE_ZIP_DIR/warmlog.exe"
main=$(e2e_wait_window '^Warmlog$')
ports=$(cd "$WINEPREFIX/dosdevices" && echo com*)
[[ $ports == com1 ]] || e2e_fail "COM ports mapped besides the simulator: $ports"
[[ $(readlink "$WINEPREFIX/dosdevices/com1") == "$E2E_TMP/COM1" ]] ||
    e2e_fail "com1 leads to $(readlink "$WINEPREFIX/dosdevices/com1")"

# Com 1 by keys: a reading in the caption (25.1 °C is the simulator's byte 128).
caption() { xdotool getwindowname "$main"; }
xdotool windowfocus --sync "$main" key alt+a sleep 1 key 1
e2e_wait 20 eval '[[ $(caption) == "Warmlog 25.1 °C" ]]' ||
    e2e_fail "no reading through COM1: caption \"$(caption)\""
sleep 2
import -window "$main" "$E2E_OUTPUT_DIR/wine10_main_window.png" || e2e_fail "no screenshot"
# The README's picture, made anew by every run.
[[ -z ${E2E_DOCS_DIR:-} ]] || cp "$E2E_OUTPUT_DIR/wine10_main_window.png" "$E2E_DOCS_DIR/warmlog-windows-wine10.png"

# Charging: on below 4 V, off above, through DTR and RTS.
charging() { [[ $(tail -n 2 "$lines" 2>/dev/null | tr '\n' ' ') == "DTR $1 RTS $1 " ]]; }
e2e_wait 10 charging 0 || e2e_fail "at 4.2 V charging is not off: $(tail -n 4 "$lines" | tr '\n' ' ')"
echo "battery 3.5" >"$E2E_TMP/COM1.ctl"
e2e_wait 10 charging 1 || e2e_fail "at 3.5 V DTR and RTS did not go on"
echo "battery 4.5" >"$E2E_TMP/COM1.ctl"
e2e_wait 10 charging 0 || e2e_fail "at 4.5 V DTR and RTS did not go off"

# The device pulled out and plugged in again: readings stop, then come back by themselves.
echo "unplug" >"$E2E_TMP/COM1.ctl"
e2e_wait 15 eval '[[ $(caption) == "Warmlog 0 °C" ]]' || e2e_fail "unplugged: caption \"$(caption)\""
printf '%s\n' "temp-byte 130" plug >"$E2E_TMP/COM1.ctl"
e2e_wait 20 eval '[[ $(caption) == "Warmlog 25.8 °C" ]]' ||
    e2e_fail "plugged in again: caption \"$(caption)\""

# A few seconds recorded and saved as .xls through the dialog.
e2e_menu "$main" alt+d l
log=$(e2e_wait_window '^Logdatei$')
xdotool windowfocus --sync "$log" key alt+l
sleep 4
xdotool windowfocus --sync "$log" key alt+t sleep 0.5 key alt+s
dialog=$(e2e_wait_window '^Log Datei anlegen$')
# The name box is last in the tab order.
xdotool windowfocus --sync "$dialog" key shift+Tab sleep 0.3 type messung
xdotool key alt+e
question=
e2e_wait 15 eval 'question=$(xdotool search --onlyvisible --name "^Warmlog\$" | grep -vx "$main")' ||
    e2e_fail "no question for the file type"
xdotool windowfocus --sync "$question" key alt+j
e2e_wait 15 test -s messung.xls || e2e_fail "no messung.xls in $PWD: $(ls)"
sleep 1
records=$(iconv -f WINDOWS-1252 -t UTF-8 messung.xls | tr -d '\r' | grep -c $'\t25.8 °C\t')
((records >= 2)) || e2e_fail "messung.xls holds $records records of 25.8 °C: $(od -c messung.xls | head)"
grep -q $'\xb0C\r$' messung.xls || e2e_fail "messung.xls is not Windows-1252 with CR LF"

# The Verlauf window draws with what the zip brings: the simulator drifting, the line rises and
# falls.
echo "drift 18 24 16" >"$E2E_TMP/COM1.ctl"
e2e_menu "$main" alt+d v
chart=$(e2e_wait_window '^Verlauf$')
sleep 20
import -window "$chart" "$E2E_OUTPUT_DIR/wine10_verlauf.png" || e2e_fail "no screenshot of Verlauf"
e2e_course_rises_and_falls "$E2E_OUTPUT_DIR/wine10_verlauf.png" ||
    e2e_fail "under Wine the Verlauf window shows no rising and falling line"
echo "PASS"
