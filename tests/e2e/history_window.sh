#!/usr/bin/env bash
# shellcheck disable=SC2016 # e2e_wait's conditions are quoted to be run later
# "&Verlauf anzeigen" with the simulator drifting between 18 and 24 °C every 16 s: within
# seconds the window's line rises and falls. Its screenshot is the README's (E2E_DOCS_DIR).
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
e2e_require import convert python3
e2e_start_xvfb
e2e_start_devsim --drift 18 24 16
e2e_start_warmlog --port COM1
main=$(e2e_wait_window '^Warmlog')
e2e_menu "$main" alt+d v
chart=$(e2e_wait_window '^Verlauf$')
sleep 20
import -window "$chart" "$E2E_TMP/verlauf.png" || e2e_fail "no screenshot of the Verlauf window"
# The line's pixels, column by column: from one column to the next the line rises as often as it
# falls, by many pixels, and where it turns its top and bottom lie far apart.
convert "$E2E_TMP/verlauf.png" -fill black -fuzz 12% +opaque '#1f5fbf' -fill white -opaque '#1f5fbf' \
    -threshold 50% txt:- | python3 -c '
import re, sys
tops = {}
for line in sys.stdin:
    m = re.match(r"(\d+),(\d+): .*#FFFFFF", line)
    if m:
        x, y = int(m[1]), int(m[2])
        tops.setdefault(x, []).append(y)
xs = sorted(tops)
assert len(xs) > 200, f"the line covers only {len(xs)} columns"
ys = [sum(tops[x]) / len(tops[x]) for x in xs]
assert max(ys) - min(ys) > 100, f"the line spans only {max(ys) - min(ys):.0f} pixels"
rises = sum(1 for a, b in zip(ys, ys[1:]) if b < a - 0.5)
falls = sum(1 for a, b in zip(ys, ys[1:]) if b > a + 0.5)
assert rises > 50 and falls > 50, f"{rises} columns rise, {falls} fall"
' || e2e_fail "the Verlauf window shows no rising and falling line"
mv -f "$E2E_TMP/verlauf.png" "$E2E_DOCS_DIR/warmlog-verlauf.png"
echo "PASS"
