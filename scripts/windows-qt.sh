#!/usr/bin/env bash
# Builds the Qt that Vidorun.exe is linked with: a static qtbase for 64-bit
# Windows, cross-built with Debian's mingw-w64 from Debian's own qt6-base
# source, of the same version as the Qt installed on this machine (whose
# moc, rcc and uic the cross build uses).
#
#   scripts/windows-qt.sh          builds it unless the cache has it; prints its folder
#   scripts/windows-qt.sh --key    prints the cache key only
#
# The result lives outside the source tree, in
# ${XDG_CACHE_HOME:-~/.cache}/vidorun/qt-<version>-<key>/, keyed by the Qt
# version, the compiler and every configure option, and is built once per
# machine. A build that fails says which step failed and where its log is,
# and leaves nothing that a later run would take as finished.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

"$here/install-deps.sh" windows >&2

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
cxx=x86_64-w64-mingw32-g++-posix
cc=x86_64-w64-mingw32-gcc-posix

# Everything Vidorun does not use is left out: no OpenGL, D-Bus, ICU,
# network, SQL, XML, printing, concurrency module, and the widgets no window
# of ours shows. Qt Test stays, for the test suite built for Windows.
# Debian's source lacks the tablet header wintab.h, hence no tablet events.
# Direct2D stays on: without it Qt 6.4.2 leaves the DirectWrite font
# database out of QtGui while the Windows platform plugin still calls it,
# and no program links.
configure_options=(
  -release -static -static-runtime -optimize-size
  -no-pch -nomake examples -nomake tests
  -no-opengl -no-dbus -no-icu -no-feature-vulkan
  -no-feature-sql -no-feature-network -no-feature-xml -no-feature-printsupport -no-feature-concurrent
  -no-feature-tabletevent
  -no-feature-graphicsview -no-feature-graphicseffect -no-feature-style-stylesheet
  -no-feature-textodfwriter -no-feature-textmarkdownreader -no-feature-textmarkdownwriter
  -no-feature-mdiarea -no-feature-calendarwidget -no-feature-datetimeedit
  -no-feature-fontdialog -no-feature-colordialog -no-feature-wizard -no-feature-lcdnumber
  -no-feature-dial -no-feature-keysequenceedit -no-feature-splashscreen -no-feature-errormessage
  -no-feature-columnview -no-feature-syntaxhighlighter
  -qt-zlib -qt-libpng -qt-libjpeg -qt-freetype -qt-harfbuzz -qt-pcre -qt-doubleconversion
)
# Every function and object in a section of its own, so that the program's
# link drops what it never reaches.
section_flags="-ffunction-sections -fdata-sections"

key=$( { echo "$qt_version"; $cxx --version | head -1; printf '%s\n' "${configure_options[@]}" "$section_flags";
         sed -n '/^# toolchain:/,/^# end of toolchain/p' "$0"; } | sha256sum | cut -c1-12)
if [ "${1:-}" = --key ]; then echo "$key"; exit 0; fi

cache=${XDG_CACHE_HOME:-$HOME/.cache}/vidorun
prefix=$cache/qt-${qt_version%%+*}-$key
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work=$cache/work-$key
logs=$cache/logs-$key
rm -rf "$work" "$prefix" "$logs"
mkdir -p "$work" "$logs"
started=$SECONDS
step() {
  local name=$1; shift
  echo "Windows Qt: $name (log: $logs/$name.log)" >&2
  if ! "$@" >"$logs/$name.log" 2>&1; then
    echo "Windows Qt: the step '$name' failed; its log is $logs/$name.log:" >&2
    tail -n 30 "$logs/$name.log" >&2
    rm -rf "$prefix"
    exit 1
  fi
}

fetch_source() {
  cd "$work"
  apt-get source --only-source "qt6-base=$qt_version"
}
step source fetch_source
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -1)
[ -n "$src" ] || { echo "Windows Qt: no source folder in $work" >&2; exit 1; }

# toolchain:
cat >"$work/mingw-w64.cmake" <<CMAKE
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $cc)
set(CMAKE_CXX_COMPILER $cxx)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
CMAKE
# end of toolchain

configure_qt() {
  mkdir -p "$work/build" && cd "$work/build"
  "$src/configure" -prefix "$prefix" -xplatform win32-g++ -qt-host-path /usr \
    "${configure_options[@]}" -- -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/mingw-w64.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_C_FLAGS="$section_flags" -DCMAKE_CXX_FLAGS="$section_flags"
}
step configure configure_qt
step build cmake --build "$work/build" --parallel "$(nproc)"
step install cmake --install "$work/build"
cp "$work/mingw-w64.cmake" "$prefix/mingw-w64.cmake"
touch "$prefix/.complete"
rm -rf "$work"
echo "Windows Qt: built in $(( (SECONDS - started) / 60 )) min, $(du -sh "$prefix" | cut -f1) in $prefix" >&2
echo "$prefix"
