#!/usr/bin/env bash
# Installs from Debian's packages what building, running and testing Warmlog need.
#
#   scripts/install-deps.sh --run         build and run the program (with the device simulator)
#   scripts/install-deps.sh --test        all of --run, plus what the test suite needs (the default)
#   scripts/install-deps.sh --windows     all of --test, plus the Windows cross-build and Wine
#   scripts/install-deps.sh --fresh-root  what scripts/try-fresh-debian.sh needs
#   scripts/install-deps.sh --compare     all of --run, plus Qt Charts for bench/history's comparison
#
# Runs as root (or through sudo). Installs only what is missing, without recommended packages.
set -euo pipefail

usage() {
    sed -n '2,9s/^# \{0,1\}//p' "$0"
}

mode="test"
case "${1:-}" in
--run) mode="run" ;;
--test | "") mode="test" ;;
--fresh-root) mode="fresh-root" ;;
--windows) mode="windows" ;;
--compare) mode="compare" ;;
-h | --help)
    usage
    exit 0
    ;;
*)
    usage >&2
    exit 2
    ;;
esac

# ---------------------------------------------------------------------------------------------
# Package lists. Extend these when a part of the program or of the tests needs another package.
# ---------------------------------------------------------------------------------------------

# Building and running the program and the device simulator.
RUN_PACKAGES=(
    cmake
    ninja-build
    g++
    qt6-base-dev
    qt6-serialport-dev
    qt6-qpa-plugins
    qt6-translations-l10n
    fonts-liberation2
    libgl-dev
    libxcb1-dev # the notification area's end as an X11 event
    fonts-dejavu-core
    xvfb  # the demo without a desktop session: xvfb-run -a scripts/run-demo.sh
    xauth
    imagemagick # its screen as a PNG (README), and the end-to-end tests' screenshots (import)
)

# The test suite on top of the above: the tests run under German settings, the end-to-end
# tests drive the program in a virtual X server, and the package check builds, validates and
# installs the Debian package.
TEST_PACKAGES=(
    locales
    xdotool
    x11-utils
    trayer  # a notification area without a desktop, for the tray icon's end-to-end test
    openbox # a window manager, which restores a minimised window that is raised or activated
    python3 # the same test sets a window's WM_STATE through libX11; the soak run (bench/soak);
    # the recorded series' day file read with its csv module
    mount # a small tmpfs that the recording test fills (as root; skipped otherwise)
    tzdata # the course window's time labels across the switches to and from summer time
    weston      # a Wayland compositor nested in Xvfb, and Qt's Wayland plugin: the program must
    qt6-wayland # still choose X11 there when DISPLAY is set too
    # The Debian package: CPack's dependency computation (dpkg-shlibdeps, file), and the
    # validators of the installed desktop entry and AppStream metadata.
    dpkg-dev
    file
    desktop-file-utils
    appstream
    # The layout of the C++ files and the shell scripts, checked first.
    clang-format
    shellcheck
)

# Trying the README's commands on a fresh Debian root (scripts/try-fresh-debian.sh).
FRESH_ROOT_PACKAGES=(
    mmdebstrap
)

# The Windows build on top of the test suite: the MinGW-w64 cross-compiler, Qt's host tools for
# the Qt that scripts/build-qt-windows.sh builds (it installs these itself, too), Debian's Wine
# to run the Windows programs and tests, and ImageMagick for screenshots of them.
WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix
    binutils-mingw-w64-x86-64
    qt6-base-dev-tools
    perl
    xz-utils
    wine64
    wine
    mmdebstrap # the Debian 13 root with Wine 10 (scripts/wine10-root.sh)
    gcc        # the modem-line shim preloaded into it (tools/wine/modemlines.c)
)

# Only for the comparison of the course window with Qt Charts (bench/history/bench_qtcharts.cpp);
# the program does not use it.
COMPARE_PACKAGES=(
    qt6-charts-dev
    libqt6opengl6-dev # Qt6Charts' CMake files need Qt6OpenGL's, which the package does not pull in
)

# The locales the tests run under, besides C (generated in --test mode); the clock fields are
# checked against the time texts of the other two as well. Under Wine, Polish settings give
# another ANSI code page (Windows-1250) for the log file.
LOCALES=(
    de_DE.UTF-8
    en_US.UTF-8
    fr_FR.UTF-8
    pl_PL.UTF-8
)

# ---------------------------------------------------------------------------------------------

if [[ $EUID -ne 0 ]]; then
    if command -v sudo >/dev/null; then
        exec sudo -- "$0" "--$mode"
    fi
    echo "install-deps.sh: run this as root" >&2
    exit 1
fi

# A fresh machine has no package lists yet; otherwise trust the caller's apt-get update.
if ! compgen -G '/var/lib/apt/lists/*_Packages' >/dev/null; then
    apt-get update
fi
# Liberation Sans Narrow, the main window's readings and captions: a package of its own from
# Debian 13 on, part of fonts-liberation before.
if apt-cache show fonts-liberation-sans-narrow >/dev/null 2>&1; then
    RUN_PACKAGES+=(fonts-liberation-sans-narrow)
else
    RUN_PACKAGES+=(fonts-liberation)
fi

packages=("${RUN_PACKAGES[@]}")
if [[ $mode == fresh-root ]]; then
    packages=("${FRESH_ROOT_PACKAGES[@]}")
elif [[ $mode == compare ]]; then
    packages+=("${COMPARE_PACKAGES[@]}")
elif [[ $mode != run ]]; then
    packages+=("${TEST_PACKAGES[@]}")
fi
if [[ $mode == windows ]]; then
    packages+=("${WINDOWS_PACKAGES[@]}")
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    if [[ $status != installed ]]; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "install-deps.sh: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y --no-install-recommends "${missing[@]}"
else
    echo "install-deps.sh: all packages present"
fi

# Generate the locales non-interactively: uncomment them in /etc/locale.gen, then locale-gen.
if [[ $mode == run || $mode == fresh-root || $mode == compare ]]; then
    exit 0
fi
regenerate=0
for wanted in "${LOCALES[@]}"; do
    # "de_DE.UTF-8" is listed by locale -a as "de_DE.utf8".
    listed=${wanted/%.UTF-8/.utf8}
    if ! locale -a 2>/dev/null | grep -qx "$listed"; then
        if grep -q "^# *$wanted UTF-8" /etc/locale.gen; then
            sed -i "s/^# *\($wanted UTF-8\)/\1/" /etc/locale.gen
        elif ! grep -q "^$wanted UTF-8" /etc/locale.gen; then
            echo "$wanted UTF-8" >>/etc/locale.gen
        fi
        regenerate=1
    fi
done
if ((regenerate)); then
    locale-gen
fi
