#!/usr/bin/env bash
# Runs a Windows program of the Windows build under Wine, with Qt's and MinGW's DLLs on its path;
# ctest calls it for every test of build-windows/.
#
#   scripts/wine-run.sh PROGRAM [ARGUMENTS...]
#   scripts/wine-run.sh --init     creates the Wine prefix when missing
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

if [[ ${1:-} == --init ]]; then
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        mkdir -p -- "$WINEPREFIX"
        wine wineboot --init >/dev/null 2>&1
        wineserver --wait
    fi
    exit 0
fi
(($#)) || {
    sed -n '2,9s/^# \{0,1\}//p' "$0" >&2
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
