#!/usr/bin/env bash
# The real keyboard path in a real X server: "Com &1" chosen with Alt+A and 1 makes the caption
# show the simulator's temperature.
#
#   live_caption.sh TEMPERATURE_BYTE
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"

# The data sheet's value for the converter byte.
declare -A shown=([128]="25.1 °C")
[[ -n ${shown[$1]:-} ]] || e2e_fail "no listed temperature for byte $1"

e2e_start_xvfb
e2e_start_devsim --temp-byte "$1"
e2e_start_warmlog
e2e_choose_com1 "$(e2e_wait_window '^Warmlog$')" "${shown[$1]}"
e2e_stop warmlog || true
# The simulator ends cleanly on SIGTERM; in the sanitizer build its exit status carries any report.
e2e_stop devsim || e2e_fail "the simulator ended with status $?"
echo "PASS"
