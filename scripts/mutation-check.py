#!/usr/bin/env python3
"""Plant one small fault at a time in the program's code and see whether the tests notice.

    scripts/mutation-check.py build [files...] [--budget MIN] [--every K|auto] [--list]

The build directory must be a configured Debug build of this checkout. Each mutant is written,
rebuilt with ninja, and the tests without the e2e label are run (the end-to-end runs take minutes
each). A mutant is killed when a test fails or times out; one that does not compile is counted
apart and left out of the score. The source file is restored after every mutant, also on Ctrl+C.
The mutants and their order depend on the sources only, so two runs on the same code compare.
Most of the time goes into relinking the tests: a build configured with
-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld links them several times faster.
"""
import argparse
import glob
import json
import math
import os
import re
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_FILES = ["src/device/*.cpp", "src/main/mainwindow.cpp", "src/logging/*.cpp"]
NICE = ["nice", "-n", "10"]

# Lines that only report to the developer or cannot run in a correct program.
UNREACHABLE = re.compile(
    r"\b(qDebug|qInfo|qWarning|qCritical|qFatal|Q_ASSERT\w*|Q_UNREACHABLE|Q_UNUSED)\b")
# Code for other systems is not compiled here, so no test could catch a fault in it.
HOST_OS = {"Q_OS_UNIX", "Q_OS_LINUX"}
PLATFORM_IF = re.compile(r"#\s*(ifdef|ifndef)\s+(Q_OS_\w+)")
STRING = re.compile(r'"(?:\\.|[^"\\])*"')
RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
ARITHMETIC = {"+": "-", "-": "+", "*": "/", "/": "*", "+=": "-=", "-=": "+="}
LOGICAL = {"&&": "||", "||": "&&"}
# Operators stand between blanks here; templates, pointers and -> never do.
BINARY = re.compile(r"(?<= )(<=|>=|==|!=|\+=|-=|&&|\|\||[<>+\-*/])(?= )")
NOT = re.compile(r"(?<![\w)\]])!(?!=)")
NUMBER = re.compile(r"(?<![\w.'])(\d+)(?![\w.'])")
RETURN_BOOL = re.compile(r"\breturn (true|false);")
# The object names given to widgets are no text the user sees: "(parent, "Name", ...".
OBJECT_NAME = re.compile(r'(\(\w+, |setObjectName\(\w*\(?)"[A-Za-z_]\w*"')
CALL_START = re.compile(r"(?:emit |Q_EMIT )?[A-Za-z_][^\s(]*\(")
KEYWORDS = ("return", "delete", "throw", "if", "for", "while", "switch", "case", "sizeof")


def split_code(lines):
    """Yield (number, line, masked) with comments blanked and string contents masked."""
    in_block = False
    for number, line in enumerate(lines, 1):
        masked, i = [], 0
        while i < len(line):
            two = line[i:i + 2]
            if in_block:
                if two == "*/":
                    in_block, i = False, i + 2
                    masked.append("  ")
                else:
                    masked.append(" ")
                    i += 1
            elif two == "//":
                masked.append(" " * (len(line) - i))
                break
            elif two == "/*":
                in_block, i = True, i + 2
                masked.append("  ")
            elif line[i] in "\"'":
                end = i + 1
                while end < len(line) and line[end] != line[i]:
                    end += 2 if line[end] == "\\" else 1
                end = min(end, len(line) - 1)
                masked.append(line[i] + "_" * (end - i - 1) + line[end])
                i = end + 1
            else:
                masked.append(line[i])
                i += 1
        yield number, line, "".join(masked).rstrip("\n")


def changed_char(text):
    """The position and replacement of the first letter or digit not part of an escape."""
    for i, c in enumerate(text):
        if c.isascii() and c.isalnum() and (i == 0 or text[i - 1] != "\\"):
            if c.isdigit():
                return i, str((int(c) + 1) % 10)
            base = "a" if c.islower() else "A"
            return i, chr(ord(base) + (ord(c) - ord(base) + 1) % 26)
    return None


def mutants_of(path):
    """The mutants of one file: (line number, column, old text, new text, description)."""
    with open(path, encoding="utf-8") as f:
        lines = f.readlines()
    previous, live = ";", []  # live: per open #if, whether this build compiles its lines
    for number, line, code in split_code(lines):
        stripped = code.strip()
        directive = PLATFORM_IF.match(stripped)
        if directive:
            live.append((directive.group(2) in HOST_OS) == (directive.group(1) == "ifdef"))
        elif stripped.startswith("#if"):
            live.append(True)
        elif stripped.startswith("#else") and live:
            live[-1] = not live[-1]
        elif stripped.startswith("#endif") and live:
            live.pop()
        if not stripped or stripped.startswith("#") or UNREACHABLE.search(code) or not all(live):
            continue
        for m in BINARY.finditer(code):
            op = m.group(1)
            new = RELATIONAL.get(op) or ARITHMETIC.get(op) or LOGICAL[op]
            yield number, m.start(), op, new, f"{op} -> {new}"
        for m in NOT.finditer(code):
            yield number, m.start(), "!", "", "!x -> x"
        for m in NUMBER.finditer(code):
            n = int(m.group(1))
            new = {0: "1", 1: "0"}.get(n, str(n + 1))
            if "twips" in code:  # one twip is a fifteenth of a pixel: move by a whole pixel
                new = str(n + 15)
            yield number, m.start(), m.group(1), new, f"{n} -> {new}"
        for m in RETURN_BOOL.finditer(code):
            new = "false" if m.group(1) == "true" else "true"
            yield number, m.start(1), m.group(1), new, f"return {m.group(1)} -> {new}"
        for m in STRING.finditer(line):
            literal = m.group(0)
            if code[m.start()] != '"' or literal.startswith('":/'):
                continue
            if any(o.end() == m.end() for o in OBJECT_NAME.finditer(line)):
                continue
            change = changed_char(literal[1:-1])
            if change:
                col = m.start() + 1 + change[0]
                what = f"text {literal} -> {change[1]!r} at {change[0]}"
                yield number, col, line[col], change[1], what
        # A whole call statement on its own line, after a finished statement or a condition.
        if (CALL_START.match(stripped) and stripped.endswith(");")
                and stripped.count("(") == stripped.count(")")
                and not stripped.startswith(KEYWORDS) and previous[-1] in ";{}):"):
            col = code.index(stripped)
            old = line[col:col + len(stripped)]
            yield number, col, old, "{}", f"remove {old[:60]}"
        previous = stripped if not stripped.startswith("else") else ";"


def run(cmd, timeout=None, **kwargs):
    """Run in a process group of its own so that a timeout takes the test binaries with it."""
    proc = subprocess.Popen(NICE + cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            start_new_session=True, **kwargs)
    try:
        out, _ = proc.communicate(timeout=timeout)
        return proc.returncode, out.decode(errors="replace")
    except BaseException:
        os.killpg(proc.pid, signal.SIGKILL)
        proc.wait()
        raise


def test_targets(build, ctest_args):
    """The executables the selected tests run, so that ninja builds no more than these."""
    _, out = run(["ctest", "--test-dir", build, "--show-only=json-v1"] + ctest_args)
    programs = {t["command"][0] for t in json.loads(out)["tests"] if t.get("command")}
    return sorted(os.path.basename(p) for p in programs if p.startswith(build + os.sep))


def build_and_test(build, targets, ctest_args, timeout):
    """'built' plus whether all tests passed, or 'build failed'."""
    code, _ = run(["ninja", "-C", build, "-j2"] + targets)
    if code != 0:
        return "build failed"
    try:
        code, _ = run(["ctest", "--test-dir", build, "-j2", "--stop-on-failure"] + ctest_args,
                        timeout=timeout)
    except subprocess.TimeoutExpired:
        return "timeout"
    return "survived" if code == 0 else "killed"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("build", help="configured Debug build directory")
    parser.add_argument("files", nargs="*", help="sources to mutate (default: %(default)s)",
                        default=DEFAULT_FILES)
    parser.add_argument("--budget", type=float, default=60, help="minutes for the mutants")
    parser.add_argument("--every", default="1", help="run every k-th mutant, or 'auto' to fit")
    parser.add_argument("--offset", type=int, default=0, help="start the sample at this index")
    parser.add_argument("--test-timeout", type=float, help="seconds per mutant (default 3x clean)")
    parser.add_argument("--ctest", default="-LE e2e", help="test selection (default %(default)s)")
    parser.add_argument("--list", action="store_true", help="only list the mutants")
    args = parser.parse_args()

    build = os.path.abspath(args.build)
    # A file for another system (name_win.cpp) is not built here, so no test could catch a fault.
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        compiled = {os.path.realpath(entry["file"]) for entry in json.load(f)}
    files = sorted({os.path.relpath(p, ROOT) for pattern in args.files
                    for p in glob.glob(os.path.join(ROOT, pattern))
                    if os.path.realpath(p) in compiled})
    mutants = [(f, *m) for f in files for m in mutants_of(os.path.join(ROOT, f))]
    if args.list:
        for i, (f, line, col, old, new, what) in enumerate(mutants):
            print(f"{i:4} {f}:{line}:{col + 1} {what}")
        return 0

    ctest_args = args.ctest.split()
    targets = test_targets(build, ctest_args)
    start = time.monotonic()
    os.utime(os.path.join(ROOT, files[0]))  # time a rebuild of one file as a mutant needs it
    if build_and_test(build, targets, ctest_args, None) != "survived":
        sys.exit("The tests fail without any mutant: fix that first.")
    clean = time.monotonic() - start
    timeout = args.test_timeout or 3 * clean + 10
    every = (max(1, math.ceil(len(mutants) * clean / (args.budget * 60)))
             if args.every == "auto" else int(args.every))
    sample = list(enumerate(mutants))[args.offset::every]
    print(f"{len(mutants)} mutants, running {len(sample)} (every {every}); a clean run takes "
          f"{clean:.0f} s; tests: ctest {args.ctest}; timeout {timeout:.0f} s", flush=True)

    results, deadline = [], start + args.budget * 60
    # Both end the run through the finally below, also when started in the background.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("terminated"))
    signal.signal(signal.SIGINT, signal.default_int_handler)
    for i, (f, line, col, old, new, what) in sample:
        if time.monotonic() > deadline:
            print(f"Budget used up after {len(results)} mutants.")
            break
        path = os.path.join(ROOT, f)
        with open(path, encoding="utf-8") as src:
            original = src.read()
        lines = original.splitlines(keepends=True)
        text = lines[line - 1]
        assert text[col:col + len(old)] == old, (f, line, old)
        lines[line - 1] = text[:col] + new + text[col + len(old):]
        began = time.monotonic()
        try:
            with open(path, "w", encoding="utf-8") as out:
                out.write("".join(lines))
            outcome = build_and_test(build, targets, ctest_args, timeout)
        finally:
            with open(path, "w", encoding="utf-8") as out:
                out.write(original)
        results.append((f, line, what, outcome))
        print(f"[{len(results)}/{len(sample)}] #{i} {f}:{line} {what}: {outcome} "
              f"({time.monotonic() - began:.0f} s)", flush=True)
    run(["ninja", "-C", build, "-j2"] + targets)  # leave the build matching the sources

    print(f"\n{'file':32} {'mutants':>7} {'killed':>6} {'timeout':>7} {'survived':>8} "
          f"{'no build':>8} {'score':>6}")
    for name in files + ["total"]:
        rows = [r for r in results if name in ("total", r[0])]
        count = {k: sum(r[3] == k for r in rows)
                 for k in ("killed", "timeout", "survived", "build failed")}
        scored = count["killed"] + count["timeout"] + count["survived"]
        score = f"{100 * (scored - count['survived']) / scored:.1f}%" if scored else "-"
        print(f"{name:32} {len(rows):7} {count['killed']:6} {count['timeout']:7} "
              f"{count['survived']:8} {count['build failed']:8} {score:>6}")
    print(f"\nRun time {(time.monotonic() - start) / 60:.1f} min. Survivors:")
    for f, line, what, outcome in results:
        if outcome == "survived":
            print(f"  {f}:{line}: {what}")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit("interrupted; the sources are as they were")
