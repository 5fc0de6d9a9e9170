#!/usr/bin/env bash
# A series started from the command line (--port COM1 --record FOLDER) and ended by SIGKILL after
# 10 s: Python's csv module reads today's day file, the header and a record for nearly every
# second, each with today's date and the simulator's readings.
source "$(dirname "${BASH_SOURCE[0]}")/e2elib.sh"
e2e_require python3
e2e_start_xvfb
e2e_start_devsim --temp-byte 128
e2e_start_warmlog --port COM1 --record "$E2E_TMP/series"
sleep 10
kill -KILL "${E2E_PID[warmlog]}"
python3 - "$E2E_TMP/series" <<'CHECK' || e2e_fail "the day file is not as expected"
import csv, datetime, re, sys
today = datetime.date.today().isoformat()
with open(f"{sys.argv[1]}/warmlog-{today}.csv", encoding="utf-8-sig", newline="") as file:
    rows = list(csv.reader(file, delimiter=";"))
assert rows[0] == ["Zeit", "UTC-Versatz", "Temperatur (°C)", "Batterie (V)", "Laden"], rows[0]
assert len(rows) >= 1 + 8, rows
for row in rows[1:]:
    assert row[0].startswith(today + " ") and re.fullmatch(r"[+-]\d\d:\d\d", row[1]), row
    assert row[2:] == ["25,1", "4,2", "nein"], row
CHECK
echo "PASS"
