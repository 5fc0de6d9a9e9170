#!/usr/bin/env bash
# Runs a Windows program of the Windows build under Wine, with Qt's and MinGW's DLLs on its path;
# ctest calls it for every test of build-windows/.
#
#   scripts/wine-run.sh PROGRAM [ARGUMENTS...]
#   scripts/wine-run.sh --init     creates the Wine prefix when missing, no COM port mapped
#   scripts/wine-run.sh --pin-com1 DEVICE   COM1 leads to DEVICE, no other COM port is mapped
#
# Environment: WINEPREFIX (default build-windows/wine), WARMLOG_QT_WINDOWS (the Qt for Windows,
# default /var/cache/warmlog/qt-6.4.2-mingw).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
qt=${WARMLOG_QT_WINDOWS:-/var/cache/warmlog/qt-6.4.2-mingw}
export WINEPREFIX=${WINEPREFIX:-$root/build-windows/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# No offer to install .NET or the HTML engine, which would wait for a click, and no desktop menu
# entries for files the tests make.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=d}

windows_path() {
    local path=$1
    echo "Z:${path//\//\\}"
}

# pin_ports [COM1_TARGET]: every COM port Wine could map to one of the machine's serial devices
# is mapped to nothing, so that no test reaches a real device; COM1 to COM1_TARGET if given.
pin_ports() {
    local file n
    file=$(mktemp "${TMPDIR:-/tmp}/warmlog-ports.XXXXXX.reg")
    {
        printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\n'
        for n in {1..64}; do
            printf '"COM%d"=""\n' "$n"
        done
        [[ -z ${1:-} ]] || printf '"COM1"="%s"\n' "$1"
    } >"$file"
    wine regedit /S "$(windows_path "$file")" >/dev/null 2>&1
    rm -f -- "$file"
    wineserver --kill 2>/dev/null || true
    wineserver --wait
    rm -f -- "$WINEPREFIX"/dosdevices/com*
}

if [[ ${1:-} == --init ]]; then
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        mkdir -p -- "$WINEPREFIX"
        wine wineboot --init >/dev/null 2>&1
        wineserver --wait
    fi
    pin_ports
    exit 0
fi
if [[ ${1:-} == --pin-com1 ]]; then
    pin_ports "$2"
    exit 0
fi
(($#)) || {
    sed -n '2,10s/^# \{0,1\}//p' "$0" >&2
    exit 2
}

mingw=x86_64-w64-mingw32-g++-posix
dirs=("$qt/bin" "$(dirname "$($mingw -print-file-name=libstdc++-6.dll)")"
    "$(dirname "$($mingw -print-file-name=libwinpthread-1.dll)")")
path=
for dir in "${dirs[@]}"; do
    path+="$(windows_path "$(realpath -- "$dir")");"
done
export WINEPATH=$path
# Wine hands no QT_ variable to Windows programs; Qt takes the platform from the command line too,
# where a program has windows.
if [[ -n ${QT_QPA_PLATFORM:-} && $(x86_64-w64-mingw32-objdump -p "$1") == *'DLL Name: Qt6Gui.dll'* ]]
then
    set -- "$@" -platform "$QT_QPA_PLATFORM"
fi
if [[ $(basename -- "$1") != tst_*.exe ]]; then
    exec wine "$@"
fi
# A Qt test under Wine writes its report to the console only, never to a pipe or a file given as
# standard output; told to write it to a file, it does.
report=$(mktemp "${TMPDIR:-/tmp}/warmlog-wine-test.XXXXXX")
trap 'rm -f -- "$report"' EXIT
status=0
wine "$@" -o "$(windows_path "$report"),txt" || status=$?
cat -- "$report"
exit "$status"
