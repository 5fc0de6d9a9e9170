# Shared by the end-to-end test scripts (source it): a private X server, the device simulator and
# the built program, each started in the background and all stopped again when the script exits.
#
# The test's CMake registration passes in:
#   E2E_WARMLOG     the built program
#   E2E_DEVSIM      the built device simulator
#   E2E_OUTPUT_DIR  where screenshots go
#
# Waits are bounded and only ever wait for something to happen; none of them judges speed.

set -euo pipefail

E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/warmlog-e2e.XXXXXX")
E2E_PIDS=()
E2E_NAMES=()
E2E_LINK=$E2E_TMP/COM1

e2e_log() {
    echo "[$(date +%T)] $*" >&2
}

# Prints what the started programs wrote, to explain a failure.
e2e_dump_logs() {
    local file
    for file in "$E2E_TMP"/*.log; do
        [[ -s $file ]] || continue
        echo "----- ${file##*/}" >&2
        tail -n 40 "$file" >&2
    done
}

e2e_fail() {
    echo "FAIL: $*" >&2
    e2e_dump_logs
    exit 1
}

# e2e_start NAME COMMAND... starts COMMAND in the background, output to NAME.log.
e2e_start() {
    local name=$1
    shift
    "$@" >"$E2E_TMP/$name.log" 2>&1 &
    E2E_PIDS+=($!)
    E2E_NAMES+=("$name")
}

e2e_pid() {
    local i
    for i in "${!E2E_NAMES[@]}"; do
        if [[ ${E2E_NAMES[i]} == "$1" ]]; then
            echo "${E2E_PIDS[i]}"
            return 0
        fi
    done
    return 1
}

e2e_running() {
    local pid
    pid=$(e2e_pid "$1") && kill -0 "$pid" 2>/dev/null
}

# e2e_stop NAME: SIGTERM, SIGKILL after 10 s; returns the process's exit status.
e2e_stop() {
    local pid i status=0
    pid=$(e2e_pid "$1") || return 0
    kill -TERM "$pid" 2>/dev/null || true
    for ((i = 0; i < 100; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || status=$?
    for i in "${!E2E_NAMES[@]}"; do
        [[ ${E2E_NAMES[i]} == "$1" ]] && E2E_NAMES[i]=
    done
    return "$status"
}

e2e_cleanup() {
    local i
    # Newest first: the program before the simulator before the X server.
    for ((i = ${#E2E_NAMES[@]} - 1; i >= 0; i--)); do
        [[ -n ${E2E_NAMES[i]} ]] && { e2e_stop "${E2E_NAMES[i]}" || true; }
    done
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

# e2e_wait SECONDS COMMAND...: retries COMMAND until it succeeds; fails after SECONDS.
e2e_wait() {
    local tries=$(($1 * 10))
    shift
    while ((tries-- > 0)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

e2e_require() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null ||
            e2e_fail "$tool is missing (scripts/install-deps.sh --test installs it)"
    done
}

# Starts Xvfb on a free display and exports DISPLAY.
e2e_start_xvfb() {
    e2e_require Xvfb xdotool xprop
    local fd attempt display tries
    # Each test takes a display number of its own at random: with Xvfb's own choice (the lowest
    # free one) a test could start on the number of a server that another test is just stopping,
    # and lose its socket to that server's clean-up. Xvfb writes the number when it is ready.
    for ((attempt = 0; attempt < 20; attempt++)); do
        display=$((RANDOM % 900 + 100))
        [[ -e /tmp/.X$display-lock || -e /tmp/.X11-unix/X$display ]] && continue
        exec {fd}>"$E2E_TMP/display"
        e2e_start xvfb Xvfb ":$display" -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp
        exec {fd}>&-
        # Ready once it wrote the number and takes a client; a server that ended (the number was
        # taken after all) makes way for the next try.
        for ((tries = 0; tries < 150; tries++)); do
            if grep -qs '^[0-9]' "$E2E_TMP/display" && xprop -display ":$display" -root >/dev/null 2>&1; then
                export DISPLAY=:$display
                e2e_log "Xvfb on $DISPLAY"
                return 0
            fi
            e2e_running xvfb || break
            sleep 0.1
        done
        e2e_stop xvfb || true
    done
    e2e_fail "Xvfb did not start"
}

# e2e_start_devsim ARGS...: the simulator behind $E2E_LINK (control FIFO $E2E_LINK.ctl), its
# received and sent bytes in devsim-bytes.log.
e2e_start_devsim() {
    [[ -x ${E2E_DEVSIM:-} ]] || e2e_fail "E2E_DEVSIM does not name the simulator"
    e2e_start devsim "$E2E_DEVSIM" --link "$E2E_LINK" --log "$E2E_TMP/devsim-bytes.log" "$@"
    e2e_wait 15 grep -qs '^ready' "$E2E_TMP/devsim.log" || e2e_fail "the simulator did not start"
    e2e_log "simulator on $(readlink "$E2E_LINK")"
}

# Sends one control line to the running simulator.
e2e_devsim_control() {
    echo "$*" >"$E2E_LINK.ctl"
}

# Starts the program on $DISPLAY with the simulator as COM1.
e2e_start_warmlog() {
    [[ -x ${E2E_WARMLOG:-} ]] || e2e_fail "E2E_WARMLOG does not name the program"
    local runtime=$E2E_TMP/runtime
    mkdir -m 700 "$runtime"
    e2e_start warmlog env QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" \
        WARMLOG_COM1="$E2E_LINK" "$E2E_WARMLOG"
}

# e2e_find_window REGEX: the id of the program's visible window whose caption matches.
e2e_find_window() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# e2e_wait_window REGEX: waits until the window is shown and prints its id.
e2e_wait_window() {
    local id="" i
    for ((i = 0; i < 150; i++)); do
        e2e_running warmlog || e2e_fail "warmlog ended"
        id=$(e2e_find_window "$1")
        [[ -n $id ]] && break
        sleep 0.1
    done
    [[ -n $id ]] || e2e_fail "no window with the caption /$1/"
    echo "$id"
}

# The number of the program's windows on screen; an open menu is one of them.
e2e_window_count() {
    local pid
    pid=$(e2e_pid warmlog) || return 1
    xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l
}

# e2e_caption ID: a window's caption as UTF-8 text.
e2e_caption() {
    local line
    # Outside a UTF-8 locale xprop writes "°" as octal escapes.
    line=$(LC_ALL=C.UTF-8 xprop -id "$1" -notype _NET_WM_NAME 2>/dev/null) || return 1
    # _NET_WM_NAME = "Warmlog 25.1 °C"
    line=${line#*= \"}
    printf '%s\n' "${line%\"}"
}

# e2e_focus ID: gives the window the keyboard. There is no window manager, so ask the X server
# directly and wait until it has happened.
e2e_focus() {
    xdotool windowfocus --sync "$1"
}

# e2e_screenshot NAME: the whole screen into $E2E_OUTPUT_DIR/NAME.png (or .xwd), when a tool
# for it is installed.
e2e_screenshot() {
    local dir=${E2E_OUTPUT_DIR:-.}
    if command -v import >/dev/null; then
        import -window root "$dir/$1.png" 2>/dev/null && e2e_log "screenshot $dir/$1.png"
    elif command -v xwd >/dev/null; then
        xwd -root -silent -out "$dir/$1.xwd" && e2e_log "screenshot $dir/$1.xwd"
    fi
    return 0
}

# e2e_temperature_text BYTE: the text the program shows for the device's converter byte:
# thermistor of 10 kOhm at 298 K with B = 4300 K against 10 kOhm, cut down to tenths; "21.5 °C",
# ".1 °C", "-3 °C", "0 °C" for no value. Integer output only, so no locale can add a comma.
e2e_temperature_text() {
    LC_ALL=C awk -v answer="$1" '
        function floor(x) { return (x >= 0 || x == int(x)) ? int(x) : int(x) - 1 }
        BEGIN {
            tenths = 0
            if (answer > 0) {
                resistance = int(2550 - 10 * answer) / answer
                if (resistance < 0.1) resistance = 0.1
                kelvin = 1 / (log(resistance / 10) / 4300 + 1 / 298)
                tenths = floor((kelvin - 273) * 10)
            }
            sign = tenths < 0 ? "-" : ""
            if (tenths < 0) tenths = -tenths
            text = sign
            if (int(tenths / 10) != 0 || tenths % 10 == 0) text = text sprintf("%d", int(tenths / 10))
            if (tenths % 10 != 0) text = text sprintf(".%d", tenths % 10)
            printf "%s \302\260C\n", text
        }'
}

# e2e_choose_com1 WINDOW BYTE: chooses "Com &1" with the keyboard (Alt+A opens "&Anschluss", "1"
# picks the item once the menu is on screen) and waits until the caption shows the reading of the
# simulator's converter byte. Fails the test otherwise.
e2e_choose_com1() {
    local window=$1
    local expected
    expected="Warmlog $(e2e_temperature_text "$2")"
    e2e_focus "$window"
    local windows
    windows=$(e2e_window_count)
    # shellcheck disable=SC2317 # called through e2e_wait
    menu_is_open() { (($(e2e_window_count) > windows)); }
    xdotool key alt+a
    e2e_wait 15 menu_is_open || e2e_fail "Alt+A opened no menu"
    xdotool key 1
    # shellcheck disable=SC2317
    caption_is_expected() { [[ $(e2e_caption "$window") == "$expected" ]]; }
    if ! e2e_wait 15 caption_is_expected; then
        e2e_screenshot "choose_com1-failed-${LC_ALL:-default}"
        e2e_fail "caption \"$(e2e_caption "$window")\", expected \"$expected\""
    fi
    e2e_log "caption \"$expected\""
}
