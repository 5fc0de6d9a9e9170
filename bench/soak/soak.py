#!/usr/bin/env python3
"""Warmlog under a misbehaving device: a soak run that prints figures.

Starts the built program in its own X server (Xvfb) with the device simulator as COM1, chooses
"Com &1" and starts a log at one second, then lets the simulator cycle through phases:

  normal answers, a drifting temperature, silence, answers delayed within the read wait or
  later than it (60, 120, 400 ms), stray bytes between the measurement ticks and at random
  moments, bursts of unasked bytes at several rates, every answer sent twice (1 or 5 ms apart),
  a line that echoes every byte with no device behind it, the terminal pulled out and back.
  No phase may put a temperature into a field that the device did not send.

After every phase the simulator answers a new fixed temperature and the window caption must show
it within two seconds. At the end the log is stopped and saved through the log file dialog, and
the saved file is checked record by record against what the simulator sent (its --log).

    soak.py --warmlog PATH --devsim PATH [--minutes 3] [--phase-seconds 12] [--seed N]
            [--locale de_DE.UTF-8] [--keep DIR] [--calibrate]

--calibrate measures what the log text alone costs in memory: no port is chosen, so no device
code runs, and the log records the start-up texts once a second; it prints the growth of the
resident memory per record, the figure behind --log-factor.

Exit status 0 when every check passed, 1 when one failed, 2 when the run could not be set up.
Python 3 standard library; needs Xvfb, xdotool and libX11.
"""

import argparse
import collections
import ctypes
import math
import os
import random
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

READ_WAIT_MS = 50  # how long the program's readByte() waits for an answer
STRAY_BYTE = 0x55  # what the simulator sends unasked; never used as an answer here
COMMAND_PING, COMMAND_TEMPERATURE, COMMAND_BATTERY = 1, 22, 25
HYPHENS = "-" * 17
RECOVERY_LIMIT_S = 2.0
# Resident memory per log record, measured with --calibrate (14 minutes: 781 records of 64 bytes,
# +596 kB); only used to tell the log's own growth from anything else.
DEFAULT_LOG_FACTOR = 780.0
# Fixed temperatures are converter bytes from this range (about 13 to 36 degrees), never the
# stray byte, so that every byte the simulator sends can be told apart.
FIXED_BYTES = [b for b in range(90, 161) if b != STRAY_BYTE]


class SetupError(Exception):
    pass


def log(text):
    print(f"[{time.strftime('%H:%M:%S')}] {text}", flush=True)


def temperature_tenths(answer):
    """The program's reading of a converter byte, in tenths of a degree (0 for no value)."""
    if answer <= 0:
        return 0
    resistance = max((2550 - 10 * answer) / answer, 0.1)
    kelvin = 1 / (math.log(resistance / 10) / 4300 + 1 / 298)
    return math.floor((kelvin - 273) * 10)


def temperature_text(answer):
    """'21.5 °C', '.1 °C', '-3 °C', '0 °C' for no value."""
    tenths = temperature_tenths(answer)
    sign = "-" if tenths < 0 else ""
    whole, tenth = divmod(abs(tenths), 10)
    text = sign
    if whole != 0 or tenth == 0:
        text += str(whole)
    if tenth != 0:
        text += f".{tenth}"
    return text + " °C"


NO_VALUE = temperature_text(0)


class X11:
    """Reads window captions straight from the X server: polled ten times a second, one xprop
    process each time would cost more than the program under test."""

    def __init__(self, display, on_lost):
        lib = ctypes.cdll.LoadLibrary("libX11.so.6")
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XInternAtom.restype = ctypes.c_ulong
        lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        lib.XGetWindowProperty.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
            ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ubyte))]
        lib.XFree.argtypes = [ctypes.c_void_p]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        handler_type = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
        # A window that went away must not end this script through Xlib's default handler.
        self._handler = handler_type(lambda display, event: 0)
        lib.XSetErrorHandler.argtypes = [handler_type]
        lib.XSetErrorHandler(self._handler)
        # Xlib ends the process once this returns; what this script started must end first.
        io_handler_type = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p)
        self._io_handler = io_handler_type(lambda display: on_lost() or 0)
        lib.XSetIOErrorHandler.argtypes = [io_handler_type]
        lib.XSetIOErrorHandler(self._io_handler)
        self.lib = lib
        self.display = lib.XOpenDisplay(display.encode())
        if not self.display:
            raise SetupError(f"cannot open display {display}")
        self.name_atom = lib.XInternAtom(self.display, b"_NET_WM_NAME", 0)
        self.utf8_atom = lib.XInternAtom(self.display, b"UTF8_STRING", 0)

    def caption(self, window):
        actual_type = ctypes.c_ulong()
        actual_format = ctypes.c_int()
        count = ctypes.c_ulong()
        after = ctypes.c_ulong()
        data = ctypes.POINTER(ctypes.c_ubyte)()
        status = self.lib.XGetWindowProperty(
            self.display, window, self.name_atom, 0, 1024, 0, self.utf8_atom,
            ctypes.byref(actual_type), ctypes.byref(actual_format), ctypes.byref(count),
            ctypes.byref(after), ctypes.byref(data))
        if status != 0 or not data:
            return None
        text = ctypes.string_at(data, count.value).decode("utf-8", "replace")
        self.lib.XFree(data)
        return text

    def close(self):
        if self.display:
            self.lib.XCloseDisplay(self.display)
            self.display = None


class Phase:
    def __init__(self, kind, ambiguous=False, quiet=False):
        self.kind = kind
        self.ambiguous = ambiguous
        self.quiet = quiet  # silent, late or unplugged: readings "0 °C" are right
        self.start = self.end = None
        self.detail = ""
        self.recovery_s = None  # from the phase's end until the caption was right again
        self.reset_at = None  # when "&Reset Min/Max Anzeige" was pressed after it
        self.reset_byte = None


class Soak:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        self.tmp = tempfile.mkdtemp(prefix="warmlog-soak.")
        self.save_dir = os.path.join(self.tmp, "save")
        os.mkdir(self.save_dir)
        self.link = os.path.join(self.tmp, "COM1")
        self.devsim_log = os.path.join(self.tmp, "devsim-bytes.log")
        self.processes = []  # (name, Popen), stopped newest first
        self.x = None
        self.failures = []
        self.figures = []
        # The program's state as observed.
        self.main_window = None
        self.captions = []  # (time, caption) at every change
        self.last_caption = None
        self.rss = []  # (time, kB)
        self.next_rss = 0.0
        # The simulator's log, read as it grows; each line stamped with the time it was read.
        self.devlog_offset = 0
        self.devlog_rest = b""
        self.pending = collections.deque()  # commands whose answers are still to come
        self.sim_silent = False
        self.sim_plugged = True
        self.sim_late = False
        self.sim_noisy = set()  # the settings that make the line noisy now
        self.sent_temperatures = []  # (time, byte) of every answer to command 22
        self.unexplained_tx = 0
        self.last_rx = 0.0
        self.quiet_spans = []  # (start, end) while silent, late or unplugged
        self.quiet_since = None
        self.phases = []
        self.log_started = None

    # ---- processes ---------------------------------------------------------------------------

    def start(self, name, command, **kwargs):
        out = open(os.path.join(self.tmp, name + ".log"), "wb")
        process = subprocess.Popen(command, stdout=out, stderr=subprocess.STDOUT,
                                   stdin=subprocess.DEVNULL, **kwargs)
        out.close()
        self.processes.append((name, process))
        return process

    def stop(self, name):
        for entry in list(self.processes):
            if entry[0] != name:
                continue
            process = entry[1]
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
            self.processes.remove(entry)
            return process.returncode
        return None

    def cleanup(self):
        # The connection goes before its server does.
        if self.x:
            self.x.close()
            self.x = None
        for name, _ in reversed(list(self.processes)):
            self.stop(name)

    def x_server_lost(self):
        print("FAIL: lost the connection to the X server", flush=True)
        for name in ("warmlog", "devsim", "xvfb"):
            self.dump(name, 10)
        self.x = None
        self.cleanup()
        print(f"soak.py: files kept in {self.tmp}", file=sys.stderr, flush=True)

    def program(self):
        for name, process in self.processes:
            if name == "warmlog":
                return process
        return None

    def dump(self, name, lines=30):
        path = os.path.join(self.tmp, name + ".log")
        try:
            with open(path, "rb") as f:
                text = f.read().decode("utf-8", "replace").splitlines()[-lines:]
        except OSError:
            return
        print(f"----- {name}.log (last {lines} lines)")
        for line in text:
            print("  " + line)

    def start_xvfb(self):
        for tool in ("Xvfb", "xdotool"):
            if not shutil.which(tool):
                raise SetupError(f"{tool} is missing (scripts/install-deps.sh --test installs it)")
        read_end, write_end = os.pipe()
        self.start("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                            "-nolisten", "tcp", "-noreset"], pass_fds=[write_end])
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            ready, _, _ = select.select([read_end], [], [], 0.5)
            if ready:
                chunk = os.read(read_end, 64)
                if not chunk:
                    break
                number += chunk
        os.close(read_end)
        if not number.strip().isdigit():
            raise SetupError("Xvfb did not start")
        self.display = ":" + number.decode().strip()
        os.environ["DISPLAY"] = self.display
        self.x = X11(self.display, self.x_server_lost)
        log(f"Xvfb on {self.display}")

    def start_devsim(self, first_byte):
        process = self.start("devsim", [self.args.devsim, "--link", self.link, "--log",
                                        self.devsim_log, "--temp-byte", str(first_byte),
                                        "--seed", str(self.args.seed)])
        path = os.path.join(self.tmp, "devsim.log")

        def ready():
            with open(path, "rb") as f:
                return b"ready" in f.read()

        if not self.wait(15, ready, pump=False):
            raise SetupError("the simulator did not start")
        if process.poll() is not None:
            raise SetupError("the simulator ended")
        log(f"simulator on {os.readlink(self.link)}")

    def start_warmlog(self):
        runtime = os.path.join(self.tmp, "runtime")
        os.mkdir(runtime, 0o700)
        environment = dict(os.environ, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime,
                           WARMLOG_COM1=self.link, LC_ALL=self.args.locale,
                           LANG=self.args.locale)
        # The log file dialog starts in the current directory: the file lands in save/.
        self.start("warmlog", [self.args.warmlog], env=environment, cwd=self.save_dir)

    def control(self, line):
        # Not blocking: with the simulator gone there is no reader, and a plain open would wait.
        try:
            fd = os.open(self.link + ".ctl", os.O_WRONLY | os.O_NONBLOCK)
        except OSError as error:
            raise Failure(f"the simulator takes no control lines: {error}")
        try:
            os.write(fd, (line + "\n").encode())
        finally:
            os.close(fd)

    # ---- observation -------------------------------------------------------------------------

    def pump(self):
        """Everything watched: called every few tens of milliseconds while the script waits."""
        now = time.time()
        program = self.program()
        if program is not None and not self.program_alive(program):
            raise Failure(f"the program ended (status {program.poll()})")
        if self.main_window is not None:
            caption = self.x.caption(self.main_window)
            if caption is not None and caption != self.last_caption:
                self.captions.append((now, caption))
                self.last_caption = caption
        self.read_devsim_log(now)
        if program is not None and now >= self.next_rss:
            self.next_rss = now + 5
            kb = self.vm_rss(program.pid)
            if kb:
                self.rss.append((now, kb))

    @staticmethod
    def program_alive(program):
        if program.poll() is not None:
            return False
        try:
            with open(f"/proc/{program.pid}/stat") as f:
                state = f.read().rsplit(")", 1)[1].split()[0]
        except (OSError, IndexError):
            return False
        return state not in ("Z", "X")

    @staticmethod
    def vm_rss(pid):
        try:
            with open(f"/proc/{pid}/status") as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        return int(line.split()[1])
        except OSError:
            pass
        return None

    def read_devsim_log(self, now):
        try:
            with open(self.devsim_log, "rb") as f:
                f.seek(self.devlog_offset)
                data = f.read()
        except OSError:
            return
        if not data:
            return
        self.devlog_offset += len(data)
        lines = (self.devlog_rest + data).split(b"\n")
        self.devlog_rest = lines.pop()
        for raw in lines:
            self.devsim_line(now, raw.decode("ascii", "replace"))

    def devsim_line(self, now, line):
        words = line.split()
        if not words:
            return
        if words[0] == "rx":
            self.last_rx = now
            command = int(words[1])
            if (command in (COMMAND_PING, COMMAND_TEMPERATURE, COMMAND_BATTERY)
                    and not self.sim_silent):
                self.pending.append(command)
        elif words[0] == "tx" or (words[0] == "drop" and len(words) == 2):
            byte = int(words[1])
            # Answers are never the stray byte (see FIXED_BYTES), so each one is known.
            if byte == STRAY_BYTE:
                return
            if not self.pending:
                self.unexplained_tx += 1
                return
            command = self.pending.popleft()
            if command == COMMAND_TEMPERATURE and words[0] == "tx":
                self.sent_temperatures.append((now, byte))
        elif words[0] == "unplug":
            self.pending.clear()
            self.sim_plugged = False
            self.quiet_changed(now)
        elif words[0] == "plug":
            self.sim_plugged = True
            self.quiet_changed(now)
        elif words[:2] == ["ctl", "silent"]:
            self.sim_silent = words[2] == "on"
            self.quiet_changed(now)
        elif words[:2] == ["ctl", "delay"]:
            self.sim_late = int(words[2]) > READ_WAIT_MS
            self.quiet_changed(now)
        elif words[0] == "ctl" and words[1] in ("flood", "echo", "double", "stray-every"):
            # Readings held back on a noisy line are no value, as on a silent one.
            if words[2] in ("off", "0"):
                self.sim_noisy.discard(words[1])
            else:
                self.sim_noisy.add(words[1])
            self.quiet_changed(now)

    def quiet_changed(self, now):
        quiet = self.sim_silent or self.sim_late or not self.sim_plugged or bool(self.sim_noisy)
        if quiet and self.quiet_since is None:
            self.quiet_since = now
        elif not quiet and self.quiet_since is not None:
            self.quiet_spans.append((self.quiet_since, now))
            self.quiet_since = None

    def wait(self, seconds, condition, pump=True):
        """Retries condition until it holds; the seconds it took, or None after `seconds`."""
        start = time.time()
        while True:
            if pump:
                self.pump()
            try:
                if condition():
                    return time.time() - start
            except OSError:
                pass
            if time.time() - start > seconds:
                return None
            time.sleep(0.03)

    def sleep(self, seconds):
        end = time.time() + seconds
        while time.time() < end:
            self.pump()
            time.sleep(min(0.05, max(0.0, end - time.time())))

    # ---- the program's windows ---------------------------------------------------------------

    def xdotool(self, *arguments):
        try:
            result = subprocess.run(["xdotool", *arguments], capture_output=True, text=True,
                                    timeout=20)
        except subprocess.TimeoutExpired:
            raise Failure(f"xdotool {' '.join(arguments)} got no answer in 20 s")
        return result.stdout.split()

    def find_window(self, pattern, exclude=()):
        program = self.program()
        for window in self.xdotool("search", "--onlyvisible", "--pid", str(program.pid)):
            if int(window) in exclude:
                continue
            caption = self.x.caption(int(window))
            if caption is not None and re.search(pattern, caption):
                return int(window)
        return None

    def wait_window(self, pattern, seconds=15, exclude=()):
        found = []

        def shown():
            window = self.find_window(pattern, exclude)
            if window:
                found.append(window)
            return bool(window)

        if self.wait(seconds, shown) is None:
            raise Failure(f"no window with a caption like /{pattern}/")
        return found[0]

    def window_count(self):
        program = self.program()
        return len(self.xdotool("search", "--onlyvisible", "--pid", str(program.pid)))

    def focus(self, window):
        self.xdotool("windowfocus", "--sync", str(window))

    def menu(self, window, menu_key, item_key):
        """Opens a menu of the menu bar with Alt and its letter, then picks an item by its letter."""
        self.focus(window)
        before = self.window_count()
        self.xdotool("key", menu_key)
        if self.wait(15, lambda: self.window_count() > before) is None:
            raise Failure(f"{menu_key} opened no menu")
        self.xdotool("key", item_key)

    def caption_is(self, window, text):
        return self.x.caption(window) == text

    # ---- phases ------------------------------------------------------------------------------

    def quiet_faults(self):
        return ["delay 0", "stray-every 0", "silent off", "drift off", "flood off", "double 0",
                "echo off"]

    def pick_byte(self, avoid):
        """A fixed temperature that reads differently from everything in `avoid` (texts)."""
        choices = [b for b in FIXED_BYTES if temperature_text(b) not in avoid]
        return self.rng.choice(choices)

    def recent_texts(self, since):
        texts = {temperature_text(b) for t, b in self.sent_temperatures if t >= since}
        if self.last_caption and self.last_caption.startswith("Warmlog "):
            texts.add(self.last_caption[len("Warmlog "):])
        return texts

    def run_phase(self, phase):
        args = self.args
        phase.start = time.time()
        # Not a whole number of ticks, so that phases begin and end anywhere within a tick.
        seconds = args.phase_seconds * self.rng.uniform(0.8, 1.2)
        if phase.kind == "normal":
            byte = self.pick_byte(self.recent_texts(phase.start - 5))
            phase.detail = f"temp-byte {byte} ({temperature_text(byte)})"
            self.control(f"temp-byte {byte}")
            self.sleep(seconds)
        elif phase.kind == "drift":
            low = self.rng.uniform(14, 20)
            high = self.rng.uniform(26, 34)
            period = self.rng.uniform(16, 30)
            phase.detail = f"drift {low:.1f} {high:.1f} {period:.0f}"
            self.control(phase.detail)
            self.sleep(seconds)
        elif phase.kind == "silence":
            phase.detail = "silent on"
            self.control("silent on")
            self.sleep(seconds)
        elif phase.kind == "delay-within":
            delay = self.rng.randint(10, READ_WAIT_MS - 20)
            byte = self.pick_byte(self.recent_texts(phase.start - 5))
            phase.detail = f"delay {delay}, temp-byte {byte}"
            self.control(f"temp-byte {byte}")
            self.control(f"delay {delay}")
            self.sleep(seconds)
        elif phase.kind == "stray-between":
            phase.detail = self.stray_between_ticks(seconds)
        elif phase.kind == "unplug":
            gone = self.rng.uniform(2, max(3, seconds - 2))
            phase.detail = f"unplug for {gone:.1f} s"
            self.control("unplug")
            self.sleep(gone)
            self.control("plug")
        elif phase.kind in ("late", "stray-random"):
            # A drifting temperature: a reading taken from another answer would show.
            phase.detail = (f"delay {self.rng.choice([60, 120, 400])}" if phase.kind == "late"
                            else f"stray-every {self.rng.choice([150, 300, 700, 1500])}")
            self.control(f"drift 15 33 {self.rng.uniform(16, 30):.0f}")
            self.control(phase.detail)
            self.sleep(seconds)
        elif phase.kind == "bursts":
            phase.detail = self.bursts(seconds)
        elif phase.kind == "doubled":
            # Answers 2 ms late, as at 9600 baud, so that a copy can overtake the next answer.
            apart = self.rng.choice([1, 5])
            phase.detail = f"double {apart}"
            self.control(f"drift 15 33 {self.rng.uniform(16, 30):.0f}")
            self.control("delay 2")
            self.control(phase.detail)
            self.sleep(seconds)
        elif phase.kind == "echo":
            phase.detail = "echo on, silent on"
            self.control("silent on")
            self.control("echo on")
            self.sleep(seconds)
        phase.end = time.time()
        self.settle(phase)

    def bursts(self, seconds):
        """Bursts of unasked bytes at several rates, with quiet gaps between them."""
        end = time.time() + seconds
        rates = []
        while time.time() < end:
            rate = self.rng.choice(["flood on", "stray-every 1", "stray-every 10",
                                    "stray-every 50"])
            rates.append(rate.split()[-1])
            self.control(rate)
            self.sleep(min(self.rng.uniform(1, 3), max(0.1, end - time.time())))
            self.control("flood off" if rate == "flood on" else "stray-every 0")
            self.sleep(min(self.rng.uniform(0.5, 2), max(0.1, end - time.time())))
        return "bursts: " + " ".join(rates)

    def stray_between_ticks(self, seconds):
        """Stray bytes in the quiet middle between two measurement ticks, when the program waits
        for no answer."""
        end = time.time() + seconds
        sent = bytes_sent = 0
        last_gap = None
        while time.time() < end:
            self.pump()
            since = time.time() - self.last_rx
            if 0.3 <= since <= 0.55 and last_gap != self.last_rx:
                count = self.rng.randint(1, 4)
                self.control(f"stray {count}")
                last_gap = self.last_rx
                sent += 1
                bytes_sent += count
            time.sleep(0.02)
        return f"{bytes_sent} stray bytes in {sent} gaps between ticks"

    def settle(self, phase):
        """Back to plain answers at a new fixed temperature; the caption must show it soon."""
        avoid = self.recent_texts(phase.start)
        byte = self.pick_byte(avoid)
        for line in self.quiet_faults() + [f"temp-byte {byte}"]:
            self.control(line)
        expected = "Warmlog " + temperature_text(byte)
        took = self.wait(10, lambda: self.caption_is(self.main_window, expected))
        phase.recovery_s = took
        if took is None:
            raise Failure(f"after the phase \"{phase.kind}\" ({phase.detail}) the caption stayed "
                          f"\"{self.last_caption}\" instead of \"{expected}\"")
        if phase.ambiguous:
            # Right for two ticks in a row, then the extremes start anew from here.
            self.sleep(2.2)
            if not self.caption_is(self.main_window, expected):
                raise Failure(f"after \"{phase.kind}\" the caption went back to "
                              f"\"{self.last_caption}\"")
            self.focus(self.main_window)
            self.xdotool("key", "alt+r")
            phase.reset_at = time.time()
            phase.reset_byte = byte
            self.sleep(3.5)

    def cycle(self, number):
        """One round of all phases; the line's faults come early so short runs see them."""
        kinds = [("normal", False, False), ("bursts", False, True), ("doubled", False, True),
                 ("echo", False, True), ("late", False, True), ("drift", False, False),
                 ("silence", False, True), ("stray-random", False, True),
                 ("delay-within", False, False), ("stray-between", False, False),
                 ("unplug", False, True)]
        if number > 0:
            clean = [k for k in kinds if not k[1]]
            self.rng.shuffle(clean)
            ambiguous = [k for k in kinds if k[1]]
            self.rng.shuffle(ambiguous)
            kinds = clean[:2] + ambiguous[:1] + clean[2:4] + ambiguous[1:] + clean[4:]
        return [Phase(kind, ambiguous, quiet) for kind, ambiguous, quiet in kinds]

    # ---- the run -----------------------------------------------------------------------------

    def run(self):
        args = self.args
        run_seconds = args.minutes * 60
        self.start_xvfb()
        first = self.rng.choice(FIXED_BYTES)
        self.start_devsim(first)
        self.start_warmlog()
        self.main_window = self.wait_window(r"^Warmlog$")
        log(f"main window {self.main_window}")

        if not args.calibrate:
            self.menu(self.main_window, "alt+a", "1")
            expected = "Warmlog " + temperature_text(first)
            if self.wait(15, lambda: self.caption_is(self.main_window, expected)) is None:
                raise Failure(f"choosing \"Com &1\" gave the caption \"{self.last_caption}\", "
                              f"not \"{expected}\"")
            log(f"port chosen: caption \"{expected}\"")

        self.menu(self.main_window, "alt+d", "l")
        self.log_window = self.wait_window(r"^Logdatei$")
        self.focus(self.log_window)
        self.xdotool("key", "alt+l")
        if self.wait(15, lambda: "Messung l" in (self.x.caption(self.log_window) or "")) is None:
            raise Failure("\"&Log starten\" did not start the log")
        self.log_started = time.time()
        log("log started at one second")

        end = self.log_started + run_seconds
        if args.calibrate:
            self.sleep(run_seconds)
        number = 0
        # A phase needs its own time plus up to about ten seconds to recover and reset.
        while not args.calibrate and time.time() + args.phase_seconds + 10 < end:
            for phase in self.cycle(number):
                if time.time() + args.phase_seconds + 10 >= end:
                    break
                self.run_phase(phase)
                self.phases.append(phase)
                log(f"phase {len(self.phases)}: {phase.kind} ({phase.detail}); right again "
                    f"after {phase.recovery_s:.2f} s" + (", reset" if phase.reset_at else ""))
            number += 1
        self.sleep(1.5)
        self.rss_end = (time.time(), self.vm_rss(self.program().pid))
        self.log_stopped = time.time()
        self.save_log()
        self.sleep(1)
        if not self.program_alive(self.program()):
            raise Failure("the program ended after saving")
        status = self.stop("warmlog")
        log(f"program stopped (status {status})")
        self.stop("devsim")
        self.read_devsim_log(time.time())

    def save_log(self):
        self.focus(self.log_window)
        self.xdotool("key", "alt+t")
        if self.wait(15, lambda: "beendet" in (self.x.caption(self.log_window) or "")) is None:
            raise Failure("\"Log s&toppen\" did not stop the log")
        self.focus(self.log_window)
        self.xdotool("key", "alt+s")
        dialog = self.wait_window(r"^Log Datei anlegen$")
        self.focus(dialog)
        # The name box has no access key; it lies at the frame's 120, 4440 twips, 16, 304 pixels
        # into the window with the frame's offset.
        self.xdotool("mousemove", "--window", str(dialog), "100", "313", "click", "1")
        self.sleep(0.3)
        self.xdotool("type", "--delay", "30", "soak")
        self.xdotool("key", "alt+e")
        question = self.wait_window(r"^Warmlog$", exclude=(self.main_window,))
        self.focus(question)
        self.xdotool("key", "alt+n")
        self.saved = os.path.join(self.save_dir, "soak.txt")
        if self.wait(15, lambda: os.path.getsize(self.saved) > 0) is None:
            raise Failure(f"no file {self.saved} after saving ({os.listdir(self.save_dir)})")
        self.sleep(1)
        log(f"log saved: {self.saved}, {os.path.getsize(self.saved)} bytes")

    # ---- checks ------------------------------------------------------------------------------

    def fail(self, text):
        self.failures.append(text)
        print(f"FAIL: {text}", flush=True)

    def figure(self, text):
        self.figures.append(text)
        print(f"  {text}", flush=True)

    def records(self):
        """The saved file's records, each with the absolute time it was taken."""
        with open(self.saved, "rb") as f:
            data = f.read()
        temperature = rb"(?:-?(?:[1-9][0-9]*(?:\.[1-9])?|\.[1-9])|0) \xb0C"
        field = rb"(" + temperature + rb"|-{17})"
        record = re.compile(rb"([0-2][0-9]):([0-5][0-9]):([0-5][0-9])\t" + field + rb"\t" +
                            field + rb"\t" + field + rb"\r\n")
        position = 0
        parsed = []
        bad = []
        base = time.localtime(self.log_started)
        day_start = time.mktime((base.tm_year, base.tm_mon, base.tm_mday, 0, 0, 0, 0, 0, -1))
        previous = None
        while position < len(data):
            match = record.match(data, position)
            if not match or int(match.group(1)) > 23:
                end = data.find(b"\n", position)
                end = len(data) if end < 0 else end + 1
                # One more line end after the text is allowed once, at the very end.
                if data[position:] != b"\r\n":
                    bad.append(data[position:end])
                position = end
                continue
            seconds = int(match.group(1)) * 3600 + int(match.group(2)) * 60 + int(match.group(3))
            taken = day_start + seconds
            while previous is not None and taken < previous - 3600:
                taken += 86400  # past midnight
            previous = taken
            fields = [match.group(i).decode("cp1252") for i in (4, 5, 6)]
            parsed.append((taken, fields, match.end() - match.start()))
            position = match.end()
        return data, parsed, bad

    def check(self):
        print("=== figures")
        program_figures = self.check_records()
        if not self.args.calibrate:
            self.check_phases()
            self.check_captions()
        self.check_memory(program_figures)

    def check_records(self):
        data, records, bad = self.records()
        logged_s = self.log_stopped - self.log_started
        degrees = data.count(b"\xb0")
        utf8 = data.count(b"\xc2\xb0")
        self.figure(f"log file: {len(data)} bytes, {len(records)} records over {logged_s:.0f} s "
                    f"of recording; Windows-1252: 0xB0 {degrees} times, UTF-8 degree signs "
                    f"{utf8}")
        if utf8:
            self.fail("the log holds UTF-8")
        if bad:
            self.fail(f"{len(bad)} lines not in the record format, first: {bad[0]!r}")
        if not records:
            self.fail("the log holds no record")
            return {"records": records}
        if len(records) < logged_s - 3:
            self.fail(f"only {len(records)} records in {logged_s:.0f} s at one a second")
        gaps = [b[0] - a[0] for a, b in zip(records, records[1:])]
        longest = max(gaps, default=0)
        self.figure(f"longest time between two records: {longest:.0f} s")
        if longest > 3:
            self.fail(f"the log stood still for {longest:.0f} s")
        if self.args.calibrate:
            return {"records": records}

        # Which records lie wholly in a checked stretch: from a reset (or the start) to the next
        # ambiguous phase. Each record copies readings up to about 1.5 s older than its second.
        ambiguous = [(p.start, p.reset_at, p.end) for p in self.phases if p.ambiguous]
        checked = bad_extreme = bad_current = unanswered = 0
        examples = []
        resets_seen = resets_total = 0
        for phase in self.phases:
            if phase.reset_at:
                resets_total += 1
                window = [r for r in records
                          if phase.reset_at + 1 <= r[0] - 0 and r[0] + 1 <= phase.reset_at + 3.5]
                text = temperature_text(phase.reset_byte)
                if any(r[1] == [text, text, text] for r in window):
                    resets_seen += 1
        for taken, fields, _ in records:
            low, high = taken - 2.5, taken + 1.0
            if any(start - 0.5 <= high and low <= reset for start, reset, _ in ambiguous):
                continue
            # The extremes start from the reset, which copied a reading taken after the
            # ambiguous phase ended.
            since = max((end for _, reset, end in ambiguous if reset <= low), default=0)
            # The simulator's lines are stamped when this script read them, a little late.
            sent = {temperature_text(b) for t, b in self.sent_temperatures
                    if since <= t <= high + 1}
            recent = {temperature_text(b) for t, b in self.sent_temperatures
                      if low <= t <= high + 1}
            quiet = any(s <= high and low <= e for s, e in self.quiet_spans) or (
                self.quiet_since is not None and self.quiet_since <= high)
            checked += 1
            current, minimum, maximum = fields
            # "0 °C" is no reading, never a false one: a busy machine can push an answer past the
            # read wait. Only too many of them while the device answers are a fault.
            if current == NO_VALUE and not quiet:
                unanswered += 1
            elif not (current in recent or (quiet and current == NO_VALUE) or
                      (current == HYPHENS and taken <= self.log_started + 2)):
                bad_current += 1
                examples.append(f"{time.strftime('%H:%M:%S', time.localtime(taken))} current "
                                f"{current!r}, sent then: {sorted(recent)}")
            for value in (minimum, maximum):
                if value != HYPHENS and value not in sent:
                    bad_extreme += 1
                    examples.append(f"{time.strftime('%H:%M:%S', time.localtime(taken))} "
                                    f"min/max {value!r} never sent")
        self.figure(f"records in or after clean phases checked: {checked}; current field not "
                    f"sent: {bad_current}; minimum or maximum not sent: {bad_extreme}")
        self.figure(f"resets seen in the log (minimum = maximum = current right after): "
                    f"{resets_seen} of {resets_total}")
        self.figure(f"records without a reading while the device answered: {unanswered}")
        if unanswered > checked // 10:
            self.fail(f"{unanswered} of {checked} records lack a reading while the device answered")
        if bad_current or bad_extreme:
            self.fail(f"{bad_current + bad_extreme} wrong fields, first: " +
                      "; ".join(examples[:5]))
        if resets_seen < resets_total:
            self.fail(f"only {resets_seen} of {resets_total} resets show in the log")
        if self.unexplained_tx:
            self.fail(f"{self.unexplained_tx} bytes in the simulator's log matched no command "
                      "(this script's bookkeeping)")
        return {"records": records}

    def check_phases(self):
        by_kind = collections.defaultdict(list)
        for phase in self.phases:
            by_kind[phase.kind].append(phase.recovery_s)
        self.figure(f"phases: {len(self.phases)} in {len(set(by_kind))} kinds; right again after "
                    "(seconds, worst of each kind):")
        for kind, times in by_kind.items():
            self.figure(f"    {kind:14s} x{len(times):3d}  worst {max(times):.2f}  "
                        f"mean {sum(times) / len(times):.2f}")
        worst = max((p.recovery_s for p in self.phases), default=0)
        if worst > RECOVERY_LIMIT_S:
            slow = [p for p in self.phases if p.recovery_s > RECOVERY_LIMIT_S]
            self.fail(f"{len(slow)} phases took longer than {RECOVERY_LIMIT_S:.0f} s to read "
                      f"right again, e.g. {slow[0].kind} ({slow[0].detail}): "
                      f"{slow[0].recovery_s:.2f} s")
        replugs = by_kind.get("unplug", [])
        self.figure(f"terminal pulled out and back {len(replugs)} times; readings resumed each "
                    f"time without choosing the port again (worst {max(replugs, default=0):.2f} "
                    "s after it came back)")
        kinds = {"normal", "drift", "silence", "delay-within", "stray-between", "unplug", "late",
                 "stray-random"}
        missing = kinds - set(by_kind)
        if missing:
            self.fail(f"phases never run: {', '.join(sorted(missing))} (run longer)")

    def check_captions(self):
        changes = len(self.captions)
        longest = 0.0
        for phase in self.phases:
            if phase.kind != "drift":
                continue
            times = [phase.start] + [t for t, _ in self.captions
                                     if phase.start <= t <= phase.end] + [phase.end]
            longest = max(longest, max(b - a for a, b in zip(times, times[1:])))
        self.figure(f"caption changes: {changes}; longest stretch without a change while the "
                    f"temperature drifted: {longest:.1f} s")
        if longest > 8:
            self.fail(f"the caption stood still for {longest:.1f} s while the temperature drifted")

    def check_memory(self, program_figures):
        if not self.rss:
            self.fail("no memory figures")
            return
        after_minute = next(((t, kb) for t, kb in self.rss if t >= self.log_started + 60), None)
        end_t, end_kb = self.rss_end
        if after_minute is None or end_kb is None:
            self.figure("memory: run shorter than two minutes, not judged")
            return
        minute_t, minute_kb = after_minute
        records = program_figures["records"]
        new_records = sum(1 for t, _, _ in records if minute_t < t <= end_t)
        new_bytes = sum(size for t, _, size in records if minute_t < t <= end_t)
        growth_kb = end_kb - minute_kb
        peak = max(kb for _, kb in self.rss)
        self.figure(f"memory (VmRSS): {minute_kb} kB after the first minute, {end_kb} kB at the "
                    f"end, peak {peak} kB; growth {growth_kb:+d} kB while the log grew by "
                    f"{new_records} records, {new_bytes} bytes")
        if self.args.calibrate:
            if new_records > 0:
                self.figure(f"calibration: {growth_kb * 1024 / new_records:.0f} bytes of memory "
                            f"per record of {new_bytes / new_records:.0f} bytes")
            return
        # A record costs the log's document a block of its own besides its characters, so the
        # share is counted per record.
        log_share_kb = self.args.log_factor * new_records / 1024
        beyond = growth_kb - log_share_kb
        self.figure(f"log text's share estimated at {log_share_kb:.0f} kB "
                    f"({self.args.log_factor:g} bytes per record); growth beyond it "
                    f"{beyond:+.0f} kB = {100 * beyond / minute_kb:+.1f} % (limit +10 %)")
        if beyond > 0.10 * minute_kb:
            self.fail(f"memory grew by {beyond:.0f} kB beyond the log text")


class Failure(Exception):
    pass


def interrupted(signum, frame):
    raise KeyboardInterrupt


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--warmlog", required=True, help="the built program")
    parser.add_argument("--devsim", required=True, help="the built device simulator")
    parser.add_argument("--minutes", type=float, default=3, help="time of recording")
    parser.add_argument("--phase-seconds", type=float, default=12, help="length of a phase")
    parser.add_argument("--seed", type=int, default=None, help="for the same phases again")
    parser.add_argument("--locale", default="de_DE.UTF-8", help="the program's LC_ALL")
    parser.add_argument("--log-factor", type=float, default=DEFAULT_LOG_FACTOR,
                        help="bytes of memory per log record (--calibrate measures it)")
    parser.add_argument("--keep", help="copy the saved log and the other logs here")
    parser.add_argument("--calibrate", action="store_true",
                        help="no port, no phases: the log's own memory only")
    args = parser.parse_args()
    if args.seed is None:
        args.seed = random.SystemRandom().randrange(1 << 31)
    # The program runs in the folder its log is saved to.
    args.warmlog = os.path.abspath(args.warmlog)
    args.devsim = os.path.abspath(args.devsim)
    for path in (args.warmlog, args.devsim):
        if not os.access(path, os.X_OK):
            print(f"soak.py: {path} is not an executable", file=sys.stderr)
            return 2

    soak = Soak(args)
    # SIGTERM must still clean up like Ctrl+C.
    signal.signal(signal.SIGTERM, interrupted)
    log(f"soak run: {args.minutes:g} minutes, phases of {args.phase_seconds:g} s, seed "
        f"{args.seed}, locale {args.locale}, files in {soak.tmp}")
    status = 1
    try:
        soak.run()
        soak.check()
        status = 1 if soak.failures else 0
    except SetupError as error:
        print(f"soak.py: {error}", file=sys.stderr)
        status = 2
    except Failure as error:
        soak.fail(str(error))
        status = 1
    except KeyboardInterrupt:
        print("soak.py: interrupted", file=sys.stderr)
        status = 130
    except Exception:
        traceback.print_exc()
    finally:
        soak.cleanup()
        if status != 0:
            for name in ("warmlog", "devsim"):
                soak.dump(name)
        if args.keep:
            os.makedirs(args.keep, exist_ok=True)
            for name in os.listdir(soak.tmp):
                path = os.path.join(soak.tmp, name)
                if os.path.isfile(path):
                    shutil.copy(path, args.keep)
            for name in os.listdir(soak.save_dir):
                shutil.copy(os.path.join(soak.save_dir, name), args.keep)
        if status in (0, 130) or args.keep:
            shutil.rmtree(soak.tmp, ignore_errors=True)
        else:
            print(f"soak.py: files kept in {soak.tmp}", file=sys.stderr)
    print("=== soak run " + ("passed" if status == 0 else "FAILED"), flush=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
