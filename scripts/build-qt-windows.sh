#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows (MinGW-w64): Core, Gui, Widgets, Test and Serial Port, once
# per machine, into a cache folder outside the repository. Later runs find it and stop at once.
#
#   scripts/build-qt-windows.sh [CACHE]
#
# CACHE defaults to $WARMLOG_QT_WINDOWS, else /var/cache/warmlog/qt-6.4.2-mingw. The build runs
# in a temporary folder next to CACHE and is moved into place only when complete, so a broken
# run leaves no half cache. It installs the packages it needs and, for `apt-get source`, adds a
# deb-src entry for the mirror the binary packages come from (needs root, or sudo).
#
# What it fetches: the packages below and, with `apt-get source`, Debian's source package
# qt6-base of the installed version. Qt Serial Port comes from the release tarball in
# third_party/qtserialport/ (its SHA-256 is checked). Nothing else comes from outside.
#
# Environment: JOBS (parallel compile jobs, default 2), NICE (niceness of the compile, default
# 19), WARMLOG_QTSERIALPORT_TARBALL (another copy of the same Qt Serial Port tarball).
# It takes about 25 to 35 minutes on 2 cores.
set -euo pipefail

readonly QT_VERSION=6.4.2
readonly SERIALPORT_TARBALL_NAME=qtserialport-everywhere-src-${QT_VERSION}.tar.xz
readonly SERIALPORT_SHA256=682626d3ae07074df0f707dab880f1eab1c133a04d5bed688a3ec63af305ae89
readonly SOURCES_FILE=/etc/apt/sources.list.d/warmlog-src.sources
readonly STAMP_NAME=warmlog-qt-build.txt
readonly HOST_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
readonly PACKAGES=(
    g++-mingw-w64-x86-64-posix
    binutils-mingw-w64-x86-64
    qt6-base-dev
    qt6-base-dev-tools
    cmake
    ninja-build
    perl
    dpkg-dev
    xz-utils
)

say() {
    echo "build-qt-windows.sh: $*"
}

die() {
    say "$*" >&2
    exit 1
}

as_root() {
    if ((EUID == 0)); then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo -- "$@"
    else
        die "needs root for: $*"
    fi
}

case "${1:-}" in
-h | --help)
    sed -n '2,19s/^# \{0,1\}//p' "$0"
    exit 0
    ;;
esac
(($# <= 1)) || die "usage: $0 [CACHE]"

cache=${1:-${WARMLOG_QT_WINDOWS:-/var/cache/warmlog/qt-${QT_VERSION}-mingw}}
cache=$(realpath -m -- "$cache")
if [[ -f $cache/$STAMP_NAME ]]; then
    echo "build-qt-windows.sh: Qt ${QT_VERSION} for Windows is cached in $cache"
    exit 0
fi
[[ ! -e $cache ]] || die "$cache exists but holds no complete build; remove it first"

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
toolchain=$repo/cmake/mingw-w64-x86_64.cmake
[[ -f $toolchain ]] || die "missing $toolchain"
jobs=${JOBS:-2}
niceness=${NICE:-19}
started=$(date +%s)

# --- Packages --------------------------------------------------------------------------------
missing=()
for package in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [[ $status == installed ]] || missing+=("$package")
done
if ((${#missing[@]})); then
    say "installing ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y \
        --no-install-recommends "${missing[@]}"
fi
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
[[ $host_version == "${QT_VERSION}"* ]] ||
    die "the host tools must be Qt ${QT_VERSION}, qt6-base-dev is $host_version"

# --- Source entry for the mirror the host Qt came from ---------------------------------------
# `apt-cache policy` names the archive of the installed version, e.g.
# "500 http://deb.debian.org/debian bookworm/main amd64 Packages".
if [[ ! -f $SOURCES_FILE ]]; then
    read -r uri dist < <(apt-cache policy qt6-base-dev |
        awk '$1 ~ /^[0-9]+$/ && $2 ~ /^[a-z]+:\/\// && $NF == "Packages" { print $2, $3; exit }')
    [[ -n ${uri:-} && $dist == */* ]] || die "cannot tell which mirror serves qt6-base-dev"
    suite=${dist%%/*}
    component=${dist#*/}
    say "adding deb-src $uri $suite $component in $SOURCES_FILE"
    entry="Types: deb-src
URIs: $uri
Suites: $suite
Components: $component"
    keyring=/usr/share/keyrings/debian-archive-keyring.gpg
    [[ ! -f $keyring ]] || entry+=$'\n'"Signed-By: $keyring"
    printf '%s\n' "$entry" | as_root tee "$SOURCES_FILE" >/dev/null
    # Only the new entry is fetched; the other lists stay as they are (no clean-up).
    as_root apt-get -o DPkg::Lock::Timeout=900 -o Dir::Etc::SourceList="$SOURCES_FILE" \
        -o Dir::Etc::SourceParts=- -o APT::Get::List-Cleanup=0 update
fi

# --- Work folder next to the cache, so the finished build is moved by a rename ----------------
parent=$(dirname -- "$cache")
if [[ ! -d $parent ]]; then
    as_root mkdir -p -- "$parent"
fi
if [[ ! -w $parent ]]; then
    as_root chown "$(id -u):$(id -g)" -- "$parent"
fi
exec 9>"$parent/.$(basename -- "$cache").lock"
flock -n 9 || die "another run is building $cache"
work=$(mktemp -d "$parent/.$(basename -- "$cache").XXXXXX")
trap 'rm -rf -- "$work"' EXIT
stage=$work/qt
mkdir -p "$work/src"

# --- qtbase from Debian's source package ------------------------------------------------------
say "fetching the source of qt6-base"
(cd "$work/src" && apt-get source qt6-base="$host_version")
qtbase=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' -print -quit)
[[ -n $qtbase ]] || die "apt-get source qt6-base gave no source folder"

# Without OpenGL the Windows platform plugin must not ask whether GL is the software one.
window_cpp=$qtbase/src/plugins/platforms/windows/qwindowswindow.cpp
grep -q 'isSoftwareGl' "$window_cpp" || die "unexpected $window_cpp: no isSoftwareGl()"
sed -i '/^static inline bool isSoftwareGl()$/,/^#if QT_CONFIG(dynamicgl)$/{
s/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/
}' "$window_cpp"
grep -q '^#if QT_CONFIG(dynamicgl) && QT_CONFIG(opengl)$' "$window_cpp" ||
    die "could not guard isSoftwareGl() in $window_cpp"

# --- Qt Serial Port: the release tarball kept in the repository -------------------------------
# Debian's mirrors list the qt6-serialport source package but do not always serve its files.
tarball=${WARMLOG_QTSERIALPORT_TARBALL:-$repo/third_party/qtserialport/$SERIALPORT_TARBALL_NAME}
[[ -f $tarball ]] || die "missing $tarball"
say "using $tarball"
echo "$SERIALPORT_SHA256  $tarball" | sha256sum --check --quiet ||
    die "$tarball does not have the expected sha256 $SERIALPORT_SHA256"
tar -xJf "$tarball" -C "$work/src"
serialport=$work/src/${SERIALPORT_TARBALL_NAME%.tar.xz}

# --- Building ----------------------------------------------------------------------------------
qtbase_configure=(
    cmake -G Ninja -S "$qtbase" -B "$work/build-qtbase"
    -DCMAKE_TOOLCHAIN_FILE="$toolchain"
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX="$stage"
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR="$HOST_CMAKE_DIR"
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DFEATURE_gui=ON
    -DFEATURE_widgets=ON
    -DFEATURE_testlib=ON
    -DFEATURE_sql=OFF
    -DFEATURE_network=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_opengl=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF
    # Debian's source drops the wintab headers tablet events are built from.
    -DFEATURE_tabletevent=OFF
)
say "configuring qtbase: ${qtbase_configure[*]}"
"${qtbase_configure[@]}"
say "building qtbase with $jobs jobs at niceness $niceness"
nice -n "$niceness" cmake --build "$work/build-qtbase" --parallel "$jobs"
cmake --install "$work/build-qtbase"

mkdir -p "$work/build-serialport"
serialport_configure=("$stage/bin/qt-configure-module" "$serialport")
say "configuring qtserialport: ${serialport_configure[*]}"
(cd "$work/build-serialport" && "${serialport_configure[@]}")
nice -n "$niceness" cmake --build "$work/build-serialport" --parallel "$jobs"
cmake --install "$work/build-serialport"

# --- Into place --------------------------------------------------------------------------------
# The toolchain file travels with the cache, so the cache does not depend on this checkout.
cp -- "$toolchain" "$stage/lib/cmake/Qt6/$(basename -- "$toolchain")"
sed -i "s|\"$toolchain\"|\"\${CMAKE_CURRENT_LIST_DIR}/$(basename -- "$toolchain")\"|g" \
    "$stage/lib/cmake/Qt6/qt.toolchain.cmake"
seconds=$(($(date +%s) - started))
{
    echo "Qt ${QT_VERSION} for Windows x86_64 (MinGW-w64), built $(date -u +%FT%TZ) in ${seconds} s"
    echo "qtbase: Debian source qt6-base $host_version"
    echo "qtbase configure: ${qtbase_configure[*]}"
    echo "qtserialport: $(basename -- "$tarball")"
    echo "qtserialport configure: ${serialport_configure[*]}"
} >"$stage/$STAMP_NAME"
mv -T -- "$stage" "$cache"
say "Qt ${QT_VERSION} for Windows is in $cache ($((seconds / 60)) min $((seconds % 60)) s)"
