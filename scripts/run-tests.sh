#!/usr/bin/env bash
# Checks the C++ layout (clang-format), the shell scripts (shellcheck) and which folder of src/
# includes which (check-layers.sh), then builds Warmlog and runs the whole test suite twice: in a
# plain build (build-test/) and in a build with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/). Compiler warnings are errors. Then builds the Debian package and checks it
# unpacked, without installing it (scripts/check-package.sh), runs the soak run and, where the Qt
# for Windows is cached, builds the Windows zip and runs its tests under Wine. Exits non-zero on
# the first failure.
#
#   WARMLOG_JOBS=N       parallel compile jobs (default: number of processors)
#   WARMLOG_CTEST_JOBS=N tests run at the same time (default 2; each test has its own simulator,
#                        and the end-to-end tests their own X server)
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD

jobs=${WARMLOG_JOBS:-$(nproc)}
ctest_jobs=${WARMLOG_CTEST_JOBS:-2}

# A halt on the first sanitizer report makes the test fail instead of scrolling past.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0

# --- Layout and scripts first: they fail in seconds, the builds take minutes.
# The files are found without git: an unpacked release tree has no history, and a fresh machine
# has no git. Build folders and anything hidden are passed over.
project_files() {
    local names=() pattern
    for pattern; do
        names+=(-o -name "$pattern")
    done
    find . \( -name '.?*' -o -path './build*' \) -prune -o -type f \( -false "${names[@]}" \) -print0 |
        sort -z
}
echo "=== clang-format, shellcheck, layers"
# Other versions of clang-format lay the same code out a little differently; the layout is that of
# Debian 12's.
if clang-format --version | grep -q 'version 14\.'; then
    project_files '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
else
    echo "run-tests.sh: $(clang-format --version | head -n 1) is not version 14: layout not checked"
fi
{
    project_files '*.sh'
    [[ ! -f .ci/run ]] || printf '.ci/run\0'
} | xargs -0 shellcheck -x --shell=bash
# Which folder of src/ may include which: the libraries share one include root.
scripts/check-layers.sh

# A configure, build and test preset of CMakePresets.json; further cmake options follow its name.
suite() {
    local preset=$1
    shift
    echo "=== $preset"
    cmake --preset "$preset" "$@"
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$ctest_jobs"
}

suite debug # build-test/
suite asan  # build-asan/

# --- The Debian package: built in build-package/, unpacked there, validated, its installation
# simulated, and started under Xvfb.
echo "=== build-package"
scripts/check-package.sh

# --- Soak run: build-test's program against a simulated device that misbehaves in every way the
# simulator can, for about three minutes (bench/soak/soak.py prints the figures; --minutes 30
# for the long run).
echo "=== soak run (build-test, 3 minutes)"
python3 bench/soak/soak.py --warmlog build-test/src/warmlog \
    --devsim build-test/tools/warmlog-devsim --minutes 3 --locale de_DE.UTF-8

# --- Windows: cross-built and tested under Wine where this machine has built the Qt for it once
# (scripts/build-qt-windows.sh, about 25 minutes); a fresh machine skips it.
qt_windows=${WARMLOG_QT_WINDOWS:-/var/cache/warmlog/qt-6.4.2-mingw}
if [[ -f $qt_windows/warmlog-qt-build.txt ]]; then
    echo "=== build-windows (Qt for Windows in $qt_windows)"
    scripts/install-deps.sh --windows
    scripts/build-windows.sh --test
    windows=", build-windows"
else
    echo "=== build-windows skipped: no Qt for Windows in $qt_windows (scripts/build-qt-windows.sh)"
    windows=
fi

echo "=== all tests passed (build-test, build-asan, build-package, soak run$windows)"
