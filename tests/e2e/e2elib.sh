# shellcheck shell=bash disable=SC2016 # e2e_wait's conditions are quoted to be run later
# Sourced by the end-to-end tests; what they start stops with the script. Waits never judge speed.
set -euo pipefail
E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/warmlog-e2e.XXXXXX")
E2E_NAMES=()
declare -A E2E_PID=()

e2e_fail() {
    echo "FAIL: $*" >&2
    tail -n 40 "$E2E_TMP"/*.log >&2 2>/dev/null || true
    exit 1
}
e2e_require() {
    for tool; do command -v "$tool" >/dev/null || e2e_fail "$tool is missing (install-deps.sh --test)"; done
}

# e2e_wait SECONDS COMMAND...: retries COMMAND until it succeeds; fails after SECONDS.
e2e_wait() {
    local tries=$(($1 * 10))
    until "${@:2}"; do
        ((tries-- > 0)) || return 1
        sleep 0.1
    done
}

# e2e_start NAME COMMAND...: output to NAME.log.
e2e_start() {
    "${@:2}" >"$E2E_TMP/$1.log" 2>&1 &
    E2E_PID[$1]=$!
    E2E_NAMES+=("$1")
}
e2e_running() { [[ -n ${E2E_PID[$1]:-} ]] && kill -0 "${E2E_PID[$1]}" 2>/dev/null; }

# e2e_stop NAME: SIGTERM, SIGKILL after 10 s; returns the process's exit status.
e2e_stop() {
    local pid=${E2E_PID[$1]:-}
    [[ -n $pid ]] || return 0
    unset "E2E_PID[$1]"
    kill -TERM "$pid" 2>/dev/null || true
    e2e_wait 10 eval "! kill -0 $pid 2>/dev/null" || kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null
}
# Newest first: the program before the simulator before the X server.
trap 'for ((i = ${#E2E_NAMES[@]} - 1; i >= 0; i--)); do e2e_stop "${E2E_NAMES[i]}" || true; done
    rm -rf "$E2E_TMP"' EXIT
trap 'exit 130' INT TERM

# A random display, not the lowest free one: that may be another test's server just stopping,
# whose clean-up would take the socket.
e2e_start_xvfb() {
    e2e_require Xvfb xdotool
    local display
    for _ in {1..20}; do
        display=$((RANDOM % 900 + 100))
        [[ -e /tmp/.X$display-lock || -e /tmp/.X11-unix/X$display ]] && continue
        # -noreset: one that resets as its last client (xdotool) leaves refuses the program then.
        e2e_start xvfb Xvfb ":$display" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
            3>"$E2E_TMP/display"
        e2e_wait 15 eval 'grep -qs "^[0-9]" "$E2E_TMP/display" || ! e2e_running xvfb' &&
            e2e_running xvfb && export DISPLAY=:$display && return 0
        e2e_stop xvfb || true
    done
    e2e_fail "Xvfb did not start"
}

e2e_start_devsim() {
    e2e_start devsim "$E2E_DEVSIM" --link "$E2E_TMP/COM1" --log "$E2E_TMP/devsim-bytes.log" "$@"
    e2e_wait 15 grep -qs '^ready' "$E2E_TMP/devsim.log" || e2e_fail "the simulator did not start"
}
# e2e_start_warmlog [OPTION...]
e2e_start_warmlog() {
    [[ -d $E2E_TMP/runtime ]] || mkdir -m 700 "$E2E_TMP/runtime"
    e2e_start warmlog env QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$E2E_TMP/runtime" \
        QT_LOGGING_RULES=warmlog.tray.debug=true WARMLOG_COM1="$E2E_TMP/COM1" "$E2E_WARMLOG" "$@"
}

# e2e_wait_window REGEX: the id of a shown window with a matching caption.
e2e_wait_window() {
    local ids
    ids=$(timeout 15 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null) || e2e_fail "no window /$1/"
    echo "${ids%%$'\n'*}"
}

# The number of the program's windows on screen; an open menu is one of them.
e2e_window_count() { xdotool search --onlyvisible --pid "${E2E_PID[warmlog]}" 2>/dev/null | wc -l; }

# e2e_menu WINDOW KEY...: the first KEY into WINDOW opens a menu, the others choose in it.
e2e_menu() {
    local count key
    xdotool windowfocus --sync "$1"
    count=$(e2e_window_count)
    xdotool key "$2"
    e2e_wait 15 eval "((\$(e2e_window_count) > $count))" || e2e_fail "$2 opened no menu"
    for key in "${@:3}"; do xdotool sleep 0.3 key "$key"; done
}

# e2e_choose_com1 WINDOW TEXT: chooses "Com &1" and waits for the reading TEXT in the caption.
e2e_choose_com1() {
    local window=$1 expected="Warmlog $2"
    e2e_menu "$window" alt+a 1
    e2e_wait 15 eval '[[ $(xdotool getwindowname "$window") == "$expected" ]]' ||
        e2e_fail "caption \"$(xdotool getwindowname "$window")\", expected \"$expected\""
}

# e2e_course_rises_and_falls PNG: the Verlauf window's line (its light palette's blue), column by
# column, rises as often as it falls, by many pixels. In awk: Wine's root has no Python.
e2e_course_rises_and_falls() {
    e2e_require convert awk
    convert "$1" -fill black -fuzz 12% +opaque '#1f5fbf' -fill white -opaque '#1f5fbf' \
        -threshold 50% txt:- | awk -F '[,:]' '
        /#FFFFFF/ { sum[$1] += $2; count[$1]++; if (!($1 in seen)) { seen[$1] = 1; xs[n++] = $1 } }
        END {
            # The columns in order (txt: lists pixels row by row).
            for (i = 1; i < n; i++)
                for (j = i; j > 0 && xs[j - 1] > xs[j]; j--) { t = xs[j]; xs[j] = xs[j - 1]; xs[j - 1] = t }
            for (i = 0; i < n; i++) {
                y = sum[xs[i]] / count[xs[i]]
                if (i == 0 || y < low) low = y
                if (i == 0 || y > high) high = y
                if (i > 0 && y < last - 0.5) rises++
                if (i > 0 && y > last + 0.5) falls++
                last = y
            }
            printf "%d columns, %d pixels high, %d rise, %d fall\n", n, high - low, rises, falls > "/dev/stderr"
            exit !(n > 80 && high - low > 100 && rises > 20 && falls > 20)
        }'
}
