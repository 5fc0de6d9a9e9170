#!/usr/bin/env bash
# The built program in a real X server with the simulator as COM1: choosing "Com &1" with the
# keyboard makes the caption show the simulator's temperature, "Warmlog 25.1 °C" for byte 128.
#
#   live_caption.sh [TEMPERATURE_BYTE]
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"

answer=${1:-128}
expected="Warmlog $(e2e_temperature_text "$answer")"
# The test runs under several locales at once; each keeps its own screenshot.
shot=live_caption-${LC_ALL:-default}

e2e_start_xvfb
e2e_start_devsim --temp-byte "$answer"
e2e_start_warmlog

window=$(e2e_wait_window '^Warmlog$')
e2e_log "window $window, expecting the caption \"$expected\""

# Alt+A opens "&Anschluss", "1" picks "Com &1" once the menu is on screen.
e2e_focus "$window"
windows=$(e2e_window_count)
menu_is_open() {
    (($(e2e_window_count) > windows))
}
xdotool key alt+a
e2e_wait 15 menu_is_open || e2e_fail "Alt+A opened no menu"
xdotool key 1

caption_is_expected() {
    [[ $(e2e_caption "$window") == "$expected" ]]
}
if ! e2e_wait 15 caption_is_expected; then
    e2e_screenshot "$shot-failed"
    e2e_fail "caption \"$(e2e_caption "$window")\", expected \"$expected\""
fi
e2e_log "caption \"$expected\""
e2e_screenshot "$shot"

e2e_running warmlog || e2e_fail "warmlog ended"
e2e_stop warmlog || true
# The simulator ends cleanly on SIGTERM; in the sanitizer build its exit status carries any report.
e2e_stop devsim || e2e_fail "the simulator ended with status $?"
echo "PASS: $expected"
