#!/usr/bin/env bash
# Builds the libraries Vidorun.exe is linked with: a static qtbase for
# 64-bit Windows, cross-built with Debian's mingw-w64 from Debian's own
# qt6-base source, of the same version as the Qt installed on this machine
# (whose moc, rcc and uic the cross build uses), and beside it a static
# libarchive from Debian's own libarchive source, for the disc images.
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

# The source package's version: a binary rebuild (+b1) has no source of its own.
qt_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
libarchive_version=$(dpkg-query -W -f='${source:Version}' libarchive-dev)
cxx=x86_64-w64-mingw32-g++-posix
cc=x86_64-w64-mingw32-gcc-posix

# Everything Vidorun does not use is left out: no OpenGL, D-Bus, ICU,
# network, SQL, XML, printing, concurrency module, and the widgets no window
# of ours shows. Qt Test stays, for the test suite built for Windows.
# Debian's source lacks the tablet header wintab.h, hence no tablet events.
# Direct2D stays on: without it Qt 6.4.2 leaves the DirectWrite font
# database out of QtGui while the Windows platform plugin still calls it,
# and no program links. Windows draws text with DirectWrite, so FreeType
# goes; so do the MIME database, PDF, animated pictures, window effects, the
# PPM and XBM formats, shared memory and system semaphores, and the undo
# framework. bench/README.md says what each step saved.
configure_options=(
  -release -static -static-runtime -optimize-size
  -nomake examples -nomake tests
  -no-opengl -no-dbus -no-icu -no-feature-vulkan
  -no-feature-sql -no-feature-network -no-feature-xml -no-feature-printsupport -no-feature-concurrent
  -no-feature-tabletevent
  -no-feature-graphicsview -no-feature-graphicseffect -no-feature-style-stylesheet
  -no-feature-textodfwriter -no-feature-textmarkdownreader -no-feature-textmarkdownwriter
  -no-feature-mdiarea -no-feature-calendarwidget -no-feature-datetimeedit
  -no-feature-fontdialog -no-feature-colordialog -no-feature-wizard -no-feature-lcdnumber
  -no-feature-dial -no-feature-keysequenceedit -no-feature-splashscreen -no-feature-errormessage
  -no-feature-columnview -no-feature-syntaxhighlighter
  -no-freetype -no-feature-mimetype -no-feature-pdf -no-feature-movie -no-feature-effects
  -no-feature-imageformat_ppm -no-feature-imageformat_xbm
  -no-feature-sharedmemory -no-feature-systemsemaphore
  -no-feature-undocommand -no-feature-undostack -no-feature-undogroup -no-feature-undoview
  -qt-zlib -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-pcre -qt-doubleconversion
)
# Every function and object in a section of its own, so that the program's
# link drops what it never reaches.
# PCRE2's just-in-time compiler is left out: the program's few patterns are
# short and matched rarely.
section_flags="-ffunction-sections -fdata-sections"
c_flags="$section_flags -DPCRE2_DISABLE_JIT"

# libarchive, only the library, with nothing but what the ISO 9660 writer
# and reader need: no compression or crypto libraries, no tools or tests.
libarchive_options=(
  -DENABLE_OPENSSL=OFF -DENABLE_MBEDTLS=OFF -DENABLE_NETTLE=OFF -DENABLE_CNG=OFF -DENABLE_LIBB2=OFF
  -DENABLE_LZ4=OFF -DENABLE_LZO=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_ZLIB=OFF -DENABLE_BZip2=OFF
  -DENABLE_LIBXML2=OFF -DENABLE_EXPAT=OFF -DENABLE_PCREPOSIX=OFF -DENABLE_LIBGCC=OFF
  -DENABLE_TAR=OFF -DENABLE_CPIO=OFF -DENABLE_CAT=OFF -DENABLE_XATTR=OFF -DENABLE_ACL=OFF -DENABLE_ICONV=OFF
  -DENABLE_TEST=OFF -DENABLE_WERROR=OFF -DCMAKE_BUILD_TYPE=MinSizeRel
)

key=$( { echo "$qt_version $libarchive_version"; $cxx --version | head -1;
         printf '%s\n' "${configure_options[@]}" "$c_flags" "${libarchive_options[@]}";
         sed -n '/^# toolchain:/,/^# end of toolchain/p' "$0"; } | sha256sum | cut -c1-12)
if [ "${1:-}" = --key ]; then echo "$key"; exit 0; fi

cache=${XDG_CACHE_HOME:-$HOME/.cache}/vidorun
prefix=$cache/qt-${qt_version%%+*}-$key
# Two builds at once (make windows in two trees) would remove each other's
# work: the second waits for the first and then takes its result.
mkdir -p "$cache"
exec 9>"$cache/.lock-$key"
if ! flock -n 9; then
  echo "Windows Qt: another build of it is under way; waiting for it" >&2
  flock 9
fi
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
  mkdir -p "$work/$1" && cd "$work/$1"
  apt-get source --only-source "$1=$2"
}
step source fetch_source qt6-base "$qt_version"
src=$(find "$work/qt6-base" -mindepth 1 -maxdepth 1 -type d | head -1)
[ -n "$src" ] || { echo "Windows Qt: no source folder in $work/qt6-base" >&2; exit 1; }

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
    -DCMAKE_C_FLAGS="$c_flags" -DCMAKE_CXX_FLAGS="$section_flags"
}
step configure configure_qt
step build cmake --build "$work/build" --parallel "$(nproc)"
step install cmake --install "$work/build"
qt_minutes=$(( (SECONDS - started + 30) / 60 ))

step libarchive-source fetch_source libarchive "$libarchive_version"
archive_src=$(find "$work/libarchive" -mindepth 1 -maxdepth 1 -type d | head -1)
build_libarchive() {
  cmake -S "$archive_src" -B "$work/libarchive-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/mingw-w64.cmake" -DCMAKE_C_FLAGS="$section_flags" \
    "${libarchive_options[@]}"
  cmake --build "$work/libarchive-build" --target archive_static --parallel "$(nproc)"
  # Only the static library, under the name CMake's FindLibArchive looks for.
  install -D -m 644 "$work/libarchive-build/libarchive/libarchive_static.a" "$prefix/lib/libarchive.a"
  install -D -m 644 -t "$prefix/include" "$archive_src/libarchive/archive.h" "$archive_src/libarchive/archive_entry.h"
  install -D -m 644 "$archive_src/COPYING" "$prefix/share/doc/libarchive/COPYING"
}
step libarchive build_libarchive

# What each object took to build, for bench/README.md.
mkdir -p "$prefix/share/vidorun"
cp "$work/build/.ninja_log" "$prefix/share/vidorun/qt.ninja_log"
echo "$qt_minutes" > "$prefix/share/vidorun/qt-build-minutes"
cp "$work/mingw-w64.cmake" "$prefix/mingw-w64.cmake"
touch "$prefix/.complete"
rm -rf "$work"
echo "Windows Qt and libarchive: built in $(( (SECONDS - started) / 60 )) min (Qt $qt_minutes), $(du -sh "$prefix" | cut -f1) in $prefix" >&2
echo "$prefix"
