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

e2e_choose_com1 "$window" "$answer"
e2e_screenshot "$shot"

e2e_running warmlog || e2e_fail "warmlog ended"
e2e_stop warmlog || true
# The simulator ends cleanly on SIGTERM; in the sanitizer build its exit status carries any report.
e2e_stop devsim || e2e_fail "the simulator ended with status $?"
echo "PASS: $expected"
