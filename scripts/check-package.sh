#!/usr/bin/env bash
# Builds the Debian package (Release, in build-package/, without tests and benchmarks), installs it
# on this machine with apt-get, validates the installed desktop entry and AppStream metadata, and
# starts the installed /usr/bin/warmlog in a virtual X server until it shows a reading from the
# device simulator. The package stays installed; `apt-get remove warmlog` takes it away again.
#
# Runs as root (or through sudo), like scripts/install-deps.sh; meant for CI's throwaway machine.
#
#   WARMLOG_JOBS=N   parallel compile jobs (default: number of processors)
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
build=$root/build-package
jobs=${WARMLOG_JOBS:-$(nproc)}

fail() {
    echo "check-package.sh: FAIL: $*" >&2
    exit 1
}

as_root() {
    if [[ $EUID -eq 0 ]]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo -- "$@"
    else
        fail "installing the package needs root"
    fi
}

for tool in cpack dpkg-deb dpkg-shlibdeps file desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null ||
        fail "$tool is missing (scripts/install-deps.sh --test installs it)"
done

version=$(sed -n 's/^project(warmlog VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || fail "no version in CMakeLists.txt"
app_id=org.example.warmlog

echo "--- build and pack warmlog $version"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DWARMLOG_WERROR=ON \
    -DWARMLOG_BUILD_TESTS=OFF -DWARMLOG_BUILD_BENCH=OFF
cmake --build "$build" -j "$jobs"
rm -f "$build"/warmlog_*.deb
(cd "$build" && cpack -G DEB)
deb=$build/warmlog_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "cpack made no $deb"

echo "--- contents of ${deb##*/}"
dpkg-deb --field "$deb"
contents=$(dpkg-deb --contents "$deb" | awk '{ print $NF }' | sed 's|^\./|/|')
printf '%s\n' "$contents" | grep -v '/$'
# Only the program and what a desktop needs of it.
if printf '%s\n' "$contents" | grep -E 'devsim|grabwindow|/tst_|bench'; then
    fail "the package carries the simulator, a test or a benchmark"
fi
depends=$(dpkg-deb --field "$deb" Depends)
depends_on() {
    [[ ", $depends," == *", $1 "* || ", $depends," == *", $1,"* ]]
}
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6; do
    depends_on "$library" || fail "Depends lacks $library (dpkg-shlibdeps did not run?): $depends"
done
# Qt loads its X11 platform plugin at run time, out of dpkg-shlibdeps' sight; the package that
# carries it (on Debian 12 libqt6gui6) must still be a dependency.
plugin=$(dpkg -S '*/qt6/plugins/platforms/libqxcb.so' | cut -d: -f1 | head -n 1)
if [[ -z $plugin ]] || ! depends_on "$plugin"; then
    fail "Depends lacks ${plugin:-the package of the xcb platform plugin}: $depends"
fi
echo "Qt's xcb platform plugin comes with $plugin, a dependency"

echo "--- install"
# --reinstall, so a package of the same version installed before is replaced by this build.
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --reinstall "$deb"
[[ $(dpkg-query -W -f='${Version}' warmlog) == "$version" ]] ||
    fail "warmlog $version is not installed"

echo "--- installed files"
desktop=/usr/share/applications/$app_id.desktop
metainfo=/usr/share/metainfo/$app_id.metainfo.xml
for file in /usr/bin/warmlog "$desktop" "$metainfo"; do
    [[ -f $file ]] || fail "$file is not installed"
done
for icon in resources/icons/hicolor/*/apps/warmlog.png; do
    installed=/usr/share/icons/${icon#resources/icons/}
    cmp -s "$icon" "$installed" || fail "$installed is missing or differs from $icon"
done
# The desktop entry starts "warmlog" through PATH.
[[ $(command -v warmlog) == /usr/bin/warmlog ]] ||
    fail "warmlog on PATH is $(command -v warmlog), not the installed /usr/bin/warmlog"
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
echo "desktop-file-validate $desktop: ok"
echo "appstreamcli validate --no-net $metainfo:"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"
grep -q "<release version=\"$version\"" "$metainfo" || fail "$metainfo has no release $version"
# The package's own tree, where the validator also finds the desktop entry the metadata launches.
tree=$build/package-tree
rm -rf "$tree"
dpkg-deb --extract "$deb" "$tree"
echo "appstreamcli validate-tree --no-net (the package's files):"
appstreamcli validate-tree --no-net "$tree" || fail "appstreamcli validate-tree ${deb##*/}"

echo "--- start the installed program"
# The simulator comes from the same build; only the program under test is the installed one.
export E2E_WARMLOG=/usr/bin/warmlog
export E2E_DEVSIM=$build/tools/warmlog-devsim
export E2E_OUTPUT_DIR=$build E2E_GRAB=$build/tests/e2e/warmlog-grabwindow
source "$root/tests/e2e/e2elib.sh"

e2e_start_xvfb
e2e_start_devsim --temp-byte 128
e2e_start_warmlog
main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Warmlog$' | head -n 1) ||
    e2e_fail "the installed program showed no window \"Warmlog\""
e2e_log "window $main"
e2e_running warmlog || e2e_fail "the installed program ended"

# Anschluss > Com 1: the caption then carries the simulator's temperature.
e2e_choose_com1 "$main" "25.1 °C"
e2e_screenshot "$main" package_main_window

status=0
e2e_stop warmlog || status=$?
# The program has no handler for SIGTERM, so it ends with that signal's status 143 and without the
# shutdown question; one that hangs gets SIGKILL (137) instead.
[[ $status -eq 0 || $status -eq 143 ]] || e2e_fail "the installed program ended with status $status"
echo "=== package warmlog $version: built, installed, validated and started"
