#!/usr/bin/env bash
# Builds the Debian package (Release, in build-package/, without tests and benchmarks) and checks it
# without installing it: unpacks it into build-package/package-tree, validates the desktop entry and
# AppStream metadata there, lets apt-get simulate its installation so its dependencies must
# resolve, and starts the unpacked program in a virtual X server until it shows a reading from the
# device simulator. The machine's installed software stays as it was.
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

for tool in cpack dpkg-deb dpkg-shlibdeps file desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null ||
        fail "$tool is missing (scripts/install-deps.sh --test installs it)"
done

version=$(sed -n 's/^project(warmlog VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || fail "no version in CMakeLists.txt"
app_id=org.example.warmlog

echo "--- build and pack warmlog $version"
# The preset builds into $build.
cmake --preset package
cmake --build --preset package -j "$jobs"
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
# Debian 13 renamed some libraries for its 64-bit time_t (libqt6core6 became libqt6core6t64).
depends_on() {
    local name
    for name in "$1" "${1}t64"; do
        [[ ", $depends," == *", $name "* || ", $depends," == *", $name,"* ]] && return 0
    done
    return 1
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

echo "--- would apt-get install it?"
# A simulation needs no root and changes nothing, but still fails when a dependency is unknown.
simulation=$(apt-get install --simulate --no-install-recommends "$deb" 2>&1) ||
    fail "apt-get cannot install ${deb##*/}: $simulation"
printf '%s\n' "$simulation" | grep '^Inst ' || true
printf '%s\n' "$simulation" | grep -q "^Inst warmlog " || fail "apt-get would not install warmlog"

echo "--- unpacked files"
tree=$build/package-tree
rm -rf "$tree"
dpkg-deb --extract "$deb" "$tree"
desktop=$tree/usr/share/applications/$app_id.desktop
metainfo=$tree/usr/share/metainfo/$app_id.metainfo.xml
for file in "$tree/usr/bin/warmlog" "$desktop" "$metainfo"; do
    [[ -f $file ]] || fail "the package has no ${file#"$tree"}"
done
for icon in resources/icons/hicolor/*/apps/warmlog.png; do
    packed=$tree/usr/share/icons/${icon#resources/icons/}
    cmp -s "$icon" "$packed" || fail "${packed#"$tree"} is missing or differs from $icon"
done
# The desktop entry starts "warmlog" through PATH, so it must lie in /usr/bin.
grep -qx 'Exec=warmlog' "$desktop" || fail "the desktop entry does not start warmlog"
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
echo "desktop-file-validate $desktop: ok"
echo "appstreamcli validate --no-net $metainfo:"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"
grep -q "<release version=\"$version\"" "$metainfo" || fail "$metainfo has no release $version"
# The validator also finds here the desktop entry the metadata launches.
echo "appstreamcli validate-tree --no-net (the package's files):"
appstreamcli validate-tree --no-net "$tree" || fail "appstreamcli validate-tree ${deb##*/}"

echo "--- start the unpacked program"
# The simulator comes from the same build; only the program under test is the packed one, which
# finds the Qt libraries it depends on where the system has them.
export E2E_WARMLOG=$tree/usr/bin/warmlog
export E2E_DEVSIM=$build/tools/warmlog-devsim
export E2E_OUTPUT_DIR=$build
source "$root/tests/e2e/e2elib.sh"

e2e_start_xvfb
e2e_start_devsim --temp-byte 128
e2e_start_warmlog
main=$(timeout 30 xdotool search --sync --onlyvisible --name '^Warmlog$' | head -n 1) ||
    e2e_fail "the unpacked program showed no window \"Warmlog\""
echo "window $main"
e2e_running warmlog || e2e_fail "the unpacked program ended"

# Anschluss > Com 1: the caption then carries the simulator's temperature.
e2e_choose_com1 "$main" "25.1 °C"

status=0
e2e_stop warmlog || status=$?
# The program has no handler for SIGTERM, so it ends with that signal's status 143 and without the
# shutdown question; one that hangs gets SIGKILL (137) instead.
[[ $status -eq 0 || $status -eq 143 ]] || e2e_fail "the unpacked program ended with status $status"
echo "=== package warmlog $version: built, validated and started unpacked"
