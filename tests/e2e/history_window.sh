#!/usr/bin/env bash
# shellcheck disable=SC2016 # e2e_wait's conditions are quoted to be run later
# "&Verlauf anzeigen" with the simulator drifting between 18 and 24 °C every 8 s: within
# seconds the window's line rises and falls. Ten seconds later its screenshot is the README's
# (E2E_DOCS_DIR).
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
e2e_require import
e2e_start_xvfb
e2e_start_devsim --drift 18 24 8
e2e_start_warmlog --port COM1
main=$(e2e_wait_window '^Warmlog')
e2e_menu "$main" alt+d v
chart=$(e2e_wait_window '^Verlauf$')
# Screenshots until the line has risen and fallen: how many seconds after the opening it took.
SECONDS=0
course() {
    import -window "$chart" "$E2E_TMP/verlauf.png" &&
        e2e_course_rises_and_falls "$E2E_TMP/verlauf.png" 2>"$E2E_TMP/course.log"
}
e2e_wait 40 course || e2e_fail "the Verlauf window shows no rising and falling line: $(tail -n 1 "$E2E_TMP/course.log")"
echo "a rising and falling line ${SECONDS} s after the window opened"
sleep 10
import -window "$chart" "$E2E_TMP/verlauf.png" || e2e_fail "no screenshot of the Verlauf window"
mv -f "$E2E_TMP/verlauf.png" "$E2E_DOCS_DIR/warmlog-verlauf.png"
echo "PASS"
