#!/usr/bin/env bash
# Cross-builds Warmlog and its tests for 64-bit Windows against the Qt that
# scripts/build-qt-windows.sh caches, and packs build-windows/warmlog-VERSION-windows-x64.zip:
# warmlog.exe with the DLLs, plugins and German Qt translations it needs.
#
#   scripts/build-windows.sh [--test]
#
# --test also runs the unit tests under Debian 12's Wine 8 (offscreen, under C, German, US English
# and Polish settings) and, in a Debian 13 root with Wine 10 (scripts/wine10-root.sh, built
# once), the zip's warmlog.exe reading the simulated device (tests/e2e/wine_device.sh).
# Environment: WARMLOG_QT_WINDOWS (the cache, default /var/cache/warmlog/qt-6.4.2-mingw),
# WARMLOG_JOBS (parallel compile jobs).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
qt=${WARMLOG_QT_WINDOWS:-/var/cache/warmlog/qt-6.4.2-mingw}
build=$root/build-windows
jobs=${WARMLOG_JOBS:-$(nproc)}
readonly MINGW=x86_64-w64-mingw32

say() {
    echo "build-windows.sh: $*"
}

case "${1:-}" in
--test) run_tests=1 ;;
"") run_tests=0 ;;
*)
    sed -n '2,12s/^# \{0,1\}//p' "$0" >&2
    exit 2
    ;;
esac
if [[ ! -f $qt/warmlog-qt-build.txt ]]; then
    say "no Qt for Windows in $qt: scripts/build-qt-windows.sh builds it (about 25 minutes)" >&2
    exit 1
fi

# The preset takes Qt's toolchain file from here, and builds into $build.
export WARMLOG_QT_WINDOWS=$qt
cmake --preset windows
cmake --build --preset windows -j "$jobs"

# --- The zip: what warmlog.exe and its plugins import, found in Qt's and MinGW's folders ------
version=$(sed -n 's/^project(warmlog VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=warmlog-$version-windows-x64
stage=$build/$name
rm -rf -- "$stage" "$build/$name.zip"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations"
cp "$build/warmlog.exe" "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp /usr/share/qt6/translations/qtbase_de.qm "$stage/translations/"
cp LICENSE "$stage/LICENSE.txt"
# The faces the windows are laid out for (SIL Open Font License), which Windows does not have;
# warmlog adds those the system lacks.
mkdir -p "$stage/fonts"
for face in LiberationSans-Regular LiberationSansNarrow-Regular; do
    font=$(find /usr/share/fonts/truetype -name "$face.ttf" -print -quit)
    [[ -n $font ]] || {
        say "no $face.ttf in /usr/share/fonts/truetype (install-deps.sh --windows)" >&2
        exit 1
    }
    cp "$font" "$stage/fonts/"
done
copyright=$(find /usr/share/doc/fonts-liberation2 /usr/share/doc/fonts-liberation -name copyright \
    -print -quit 2>/dev/null)
cp "$copyright" "$stage/fonts/LICENSE-Liberation.txt"
search=("$qt/bin" "$(dirname "$($MINGW-g++-posix -print-file-name=libstdc++-6.dll)")"
    "$(dirname "$($MINGW-g++-posix -print-file-name=libwinpthread-1.dll)")")
pending=("$stage/warmlog.exe" "$stage/platforms/qwindows.dll" "$stage/styles/qwindowsvistastyle.dll")
while ((${#pending[@]})); do
    file=${pending[0]}
    pending=("${pending[@]:1}")
    while read -r dll; do
        [[ ! -e $stage/$dll ]] || continue
        for dir in "${search[@]}"; do
            if [[ -f $dir/$dll ]]; then
                cp "$dir/$dll" "$stage/"
                pending+=("$stage/$dll")
                break
            fi
        done
    done < <($MINGW-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
done
$MINGW-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
(cd "$build" && cmake -E tar cf "$name.zip" --format=zip "$name")
say "$build/$name.zip: $(find "$stage" -type f | wc -l) files, $(du -k "$build/$name.zip" | cut -f1) KB"

((run_tests)) || exit 0

# --- Under Wine ---------------------------------------------------------------------------------
export WINEPREFIX=$build/wine WINEDEBUG=-all
"$root/scripts/wine-run.sh" --init
# Offscreen, Qt on Windows takes its fonts from the folder fonts of its libraries: DejaVu only, as
# a Windows machine has no Liberation faces. Those come as the zip brings them, from the folder
# fonts beside the test programs.
mkdir -p "$qt/lib/fonts"
rm -f "$qt/lib/fonts"/*.ttf
ln -sf /usr/share/fonts/truetype/dejavu/*.ttf "$qt/lib/fonts/"
rm -rf "$build/fonts"
cp -r "$stage/fonts" "$build/fonts"
# One at a time: Wine keeps the regional settings in the prefix's registry, where each program
# that starts writes those of its own locale.
ctest --preset windows
# The simulator is a Linux program on a pseudo-terminal, built for this machine ($build-devsim).
cmake --preset windows-devsim >/dev/null
cmake --build --preset windows-devsim
rm -rf -- "$build/unpacked"
mkdir -p "$build/unpacked"
(cd "$build/unpacked" && cmake -E tar xf "$build/$name.zip")

# Wine 10 reads the device where Wine 8 cannot: in a Debian 13 root, built once per machine.
echo "=== e2e under Wine 10: wine_device.sh, on the unpacked zip"
"$root/scripts/wine10-root.sh"
gcc -shared -fPIC -O2 -Wall -Wextra -Werror -o "$build-devsim/libwarmlog-modemlines.so" \
    tools/wine/modemlines.c -ldl
WINE_ZIP_DIR=$build/unpacked/$name E2E_DEVSIM=$build-devsim/tools/warmlog-devsim \
    E2E_MODEMLINES=$build-devsim/libwarmlog-modemlines.so E2E_OUTPUT_DIR=$build E2E_DOCS_DIR=$root/docs \
    "$root/scripts/wine10-run.sh" bash tests/e2e/wine_device.sh
