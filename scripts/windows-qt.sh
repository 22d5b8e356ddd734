#!/usr/bin/env bash
# Builds the libraries Vidorun.exe is linked with: a static qtbase for
# 64-bit Windows, cross-built with Debian's mingw-w64 from Debian's own
# qt6-base source, of the same version as the Qt installed on this machine
# (whose moc, rcc and uic the cross build uses), and beside it a static
# libarchive from Debian's own libarchive source, for the disc images.
#
#   scripts/windows-qt.sh          builds them unless the cache has them; prints their folder
#   scripts/windows-qt.sh --key    prints the cache key only
#
# The result lives outside the source tree, in
# ${XDG_CACHE_HOME:-~/.cache}/vidorun/qt-<version>-<key>/, keyed by the
# versions, the compiler and every option, and is built once per machine. A
# build that fails or is interrupted says which step stopped and where its
# log is, leaves nothing that a later run would take as finished, and is
# taken up again where it stopped by the next run.
set -euo pipefail

# The whole script is read before any of it runs, so that editing it while
# a build is under way can't change what that build does.
main() {
here=$(cd "$(dirname "$0")" && pwd)

"$here/install-deps.sh" windows >&2

# The source packages' versions: a binary rebuild (+b1) has no source of its own.
qt_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
libarchive_version=$(dpkg-query -W -f='${source:Version}' libarchive-dev)
cxx=x86_64-w64-mingw32-g++-posix
cc=x86_64-w64-mingw32-gcc-posix

# Everything Vidorun.exe does not use is left out: no OpenGL, D-Bus, ICU,
# network, SQL, XML, printing, concurrency module, and the widgets no window
# of ours shows. Qt Test stays, for the test suite built for Windows.
# Debian's source lacks the tablet header wintab.h, hence no tablet events.
# Direct2D stays on: without it Qt 6.4.2 leaves the DirectWrite font
# database out of QtGui while the Windows platform plugin still calls it,
# and no program links (its own platform plugin is not built, see below).
# Windows draws text with its own font engines, so FreeType goes; so do
# the MIME database, PDF, animated pictures, window effects, the PPM, XBM,
# GIF and ICO formats, shared memory, system semaphores, the undo
# framework, the tray icon, the Fusion style, the AVX variants of the
# drawing code (the SSE2 to SSE4 ones stay), Qt's own file dialog with the
# model and completer only it uses (Vidorun.exe shows Windows' own), dock
# widgets, tool bars and boxes, progress bars, the status bar, What's This,
# gestures, HTML and CSS in text (every text the program shows is plain),
# regular expressions (and with them PCRE2), calendars other than the
# Gregorian and Julian ones, time zones other than the system's local time,
# and parsing dates from text. Sliders (which scroll bars, and so every
# list, need), tabs, tree and table views stay: the native style draws them without asking whether
# they are built, and input methods need plugins loaded from files.
# bench/README.md says what each step saved.
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
  -no-feature-imageformat_ppm -no-feature-imageformat_xbm -no-feature-gif -no-feature-ico
  -no-feature-sharedmemory -no-feature-systemsemaphore
  -no-feature-undocommand -no-feature-undostack -no-feature-undogroup -no-feature-undoview
  -no-feature-systemtrayicon -no-feature-style-fusion
  -no-feature-textbrowser -no-feature-fontcombobox -no-feature-treewidget -no-feature-tablewidget
  -no-feature-datawidgetmapper
  -no-feature-avx -no-feature-avx2 -no-feature-avx512f
  -no-feature-filedialog -no-feature-filesystemmodel -no-feature-completer -no-feature-splitter
  -no-feature-dockwidget -no-feature-toolbar -no-feature-toolbox
  -no-feature-progressdialog -no-feature-progressbar -no-feature-statusbar
  -no-feature-whatsthis -no-feature-gestures -no-feature-scroller
  -no-feature-texthtmlparser -no-feature-cssparser
  -no-feature-regularexpression -no-feature-jalalicalendar -no-feature-islamiccivilcalendar
  -no-feature-hijricalendar -no-feature-timezone -no-feature-datetimeparser
  -qt-zlib -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-doubleconversion
  -qt-pcre  # never the system's PCRE2; with regular expressions off, none is built
)
# Every function and object in a section of its own, so that the program's
# link can drop what it never reaches. On Windows this does less than it
# promises: the linker keeps every function's unwind entry (.pdata), and the
# entry keeps its function, so what an object file holds comes in whole once
# anything of it is used (bench/README.md).
section_flags="-ffunction-sections -fdata-sections"
c_flags="$section_flags"

# libarchive, the library alone, with nothing but what its ISO 9660 writer
# and reader need: no compression or crypto libraries, no tools. Built as a
# static library (LIBARCHIVE_STATIC), so that Vidorun.exe does not export
# its functions. Debian's patches leave Makefile.am newer than the
# Makefile.in made from it (they change only the tests' lists): the
# Makefile.in that comes with the source is used, not remade by automake.
libarchive_cflags="-Os $section_flags -DLIBARCHIVE_STATIC"
libarchive_options=(
  --host=x86_64-w64-mingw32 --disable-shared --enable-static --disable-maintainer-mode
  --without-zlib --without-bz2lib --without-libb2 --without-iconv --without-lz4 --without-zstd
  --without-lzma --without-lzo2 --without-cng --without-openssl --without-nettle --without-mbedtls
  --without-xml2 --without-expat --disable-bsdtar --disable-bsdcpio --disable-bsdcat
  --disable-acl --disable-xattr --disable-posix-regex-lib
)

key=$( { echo "$qt_version $libarchive_version"; $cxx --version | head -1;
         printf '%s\n' "${configure_options[@]}" "$c_flags" "$libarchive_cflags" "${libarchive_options[@]}";
         sed -n '/^# toolchain:/,/^# end of toolchain/p;/^# source changes:/,/^# end of source changes/p' "$0"; } \
       | sha256sum | cut -c1-12)
if [ "${1:-}" = --key ]; then echo "$key"; exit 0; fi

cache=${XDG_CACHE_HOME:-$HOME/.cache}/vidorun
prefix=$cache/qt-${qt_version%%+*}-$key
work=$cache/work-$key
logs=$cache/logs-$key
# Two builds at once (make windows in two trees) would spoil each other's
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

# A build that stopped half-way is taken up again: the sources, the
# configured tree and whatever Ninja finished are kept; only the install
# starts afresh.
rm -rf "$prefix"
mkdir -p "$work" "$logs"
started=$SECONDS
step() {
  local name=$1; shift
  echo "Windows Qt: $name (log: $logs/$name.log)" >&2
  # Run apart and waited for: a function called as an if's condition would
  # go on past a failed command.
  "$@" >"$logs/$name.log" 2>&1 &
  if ! wait $!; then
    echo "Windows Qt: the step '$name' failed; its log is $logs/$name.log:" >&2
    tail -n 30 "$logs/$name.log" >&2
    rm -rf "$prefix"
    exit 1
  fi
}

fetch_source() {
  local package=$1 version=$2
  if [ -f "$work/$package/.fetched" ]; then return 0; fi
  rm -rf "$work/$package" && mkdir -p "$work/$package" && cd "$work/$package"
  apt-get source --only-source "$package=$version"
  touch "$work/$package/.fetched"
}
source_folder() {
  find "$work/$1" -mindepth 1 -maxdepth 1 -type d | head -1
}

step source fetch_source qt6-base "$qt_version"
src=$(source_folder qt6-base)
[ -n "$src" ] || { echo "Windows Qt: no source folder in $work/qt6-base" >&2; exit 1; }

# source changes:
# Each change keeps what the program does and leaves out code that no
# Vidorun window reaches but that the link can't see past; each is checked,
# so that another Qt version stops here instead of building something else.
patch_source() {
  local file=$src/$1 before
  [ -f "$work/qt6-base/.changed" ] && return 0
  before=$(md5sum <"$file")
  perl -0pi -e "$2" "$file"
  if [ "$(md5sum <"$file")" = "$before" ]; then
    echo "Windows Qt: the source change to $1 no longer applies; the source is fetched afresh next time" >&2
    rm -rf "$work/qt6-base"
    exit 1
  fi
}
# The Direct2D platform plugin, a second Windows platform plugin that
# nothing here uses, is not built (Direct2D itself stays on in QtGui).
patch_source src/plugins/platforms/CMakeLists.txt 's/\n *add_subdirectory\(direct2d\)//'
# The offscreen platform, on which the test suite draws, takes Windows' own
# fonts rather than FreeType's, which Windows does not need.
patch_source src/plugins/platforms/CMakeLists.txt 's/if\(QT_FEATURE_freetype AND NOT ANDROID AND NOT WASM\)\n *add_subdirectory\(offscreen\)/if((QT_FEATURE_freetype OR WIN32) AND NOT ANDROID AND NOT WASM)\n    add_subdirectory(offscreen)/'
patch_source src/plugins/platforms/offscreen/qoffscreenintegration.cpp 's/#include <QtGui\/private\/qfreetypefontdatabase_p.h>/#include <QtGui\/private\/qwindowsfontdatabase_p.h>/; s/(#elif defined\(Q_OS_WIN\)\n *m_fontDatabase.reset\(new )QFreeTypeFontDatabase/$1QWindowsFontDatabase/'
# QWidget's dump of its flags (for QObject::dumpObjectTree) formats through
# a std::stringstream, and double-conversion lower-cases through
# std::locale::classic(): either alone brings the C++ library's whole
# locale machinery, some 0.5 MB, into every program. The same text, without.
patch_source src/widgets/kernel/qwidget.cpp 's/std::stringstream s;.*?flags \+= s\.str\(\);/const auto signedText = [](int v) { return (v < 0 ? std::string() : std::string("+")) + std::to_string(v); };\n        flags += "<" + std::to_string(q->width()) + "x" + std::to_string(q->height()) + signedText(q->x()) + signedText(q->y()) + ">";/s'
patch_source src/3rdparty/double-conversion/double-conversion/string-to-double.cc 's/static const std::ctype<char>& cType =\s*std::use_facet<std::ctype<char> >\(std::locale::classic\(\)\);\s*return cType.tolower\(ch\);/return (ch >= \x27A\x27 \&\& ch <= \x27Z\x27) ? char(ch - \x27A\x27 + \x27a\x27) : ch;/s'
# No Direct3D 11 renderer: widgets paint in software, and only a widget
# that asks for a 3D surface (none of ours) would start one (0.1 MB).
patch_source src/gui/rhi/qrhi.cpp 's/(case D3D11:\n)#ifdef Q_OS_WIN/$1#if 0 \/\/ no Direct3D 11 renderer in this build/'
# The styles' 128-pixel pictures (0.23 MB): no window of ours shows a
# standard icon that large; QIcon scales the 32-pixel ones should one ask.
patch_source src/widgets/CMakeLists.txt 's/\n *"styles\/images\/[a-z_-]*-128\.png"//g'
# Qt 6.4.2 looks for PCRE2 even with regular expressions switched off, and
# stops when it finds none.
patch_source src/corelib/CMakeLists.txt 's/\n(qt_find_package\(WrapPCRE2 PROVIDED_TARGETS WrapPCRE2::WrapPCRE2\))/\nif(QT_FEATURE_regularexpression)\n    $1\nendif()/'
# QUuid's name-based UUIDs (versions 3 and 5) hash with MD5 and SHA-1. Every
# program has QUuid (the meta-type system streams it) and, as the linker
# takes an object file whole, every hash of QCryptographicHash with it
# (0.2 MB). The two functions move to an object file of their own, which
# only a program that makes such UUIDs takes in.
patch_source src/corelib/plugin/quuid.cpp 's/\nstatic QUuid createFromName\(.*?\n}\n//s'
patch_source src/corelib/plugin/quuid.cpp 's/\n#ifndef QT_BOOTSTRAPPED\nQUuid QUuid::createUuidV3\(.*?\n}\n#endif\n\nQUuid QUuid::createUuidV5\(.*?\n}\n//s'
patch_source src/corelib/CMakeLists.txt 's/(plugin\/quuid\.cpp plugin\/quuid\.h)/$1 plugin\/quuid_namebased.cpp/'
cat >"$src/src/corelib/plugin/quuid_namebased.cpp" <<'CPP'
// Copyright (C) 2020 The Qt Company Ltd.
// SPDX-License-Identifier: LicenseRef-Qt-Commercial OR LGPL-3.0-only OR GPL-2.0-only OR GPL-3.0-only
// Moved out of quuid.cpp unchanged, so that QUuid does not bring the hashes.

#include "quuid.h"

#include "qcryptographichash.h"

QT_BEGIN_NAMESPACE

static QUuid createFromName(const QUuid &ns, const QByteArray &baseData, QCryptographicHash::Algorithm algorithm, int version)
{
    QCryptographicHash hash(algorithm);
    hash.addData(ns.toRfc4122());
    hash.addData(baseData);
    QByteArrayView hashResult = hash.resultView();
    Q_ASSERT(hashResult.size() >= 16);
    hashResult.truncate(16); // Sha1 will be too long

    QUuid result = QUuid::fromRfc4122(hashResult);

    result.data3 &= 0x0FFF;
    result.data3 |= (version << 12);
    result.data4[0] &= 0x3F;
    result.data4[0] |= 0x80;

    return result;
}

QUuid QUuid::createUuidV3(const QUuid &ns, const QByteArray &baseData)
{
    return createFromName(ns, baseData, QCryptographicHash::Md5, 3);
}

QUuid QUuid::createUuidV5(const QUuid &ns, const QByteArray &baseData)
{
    return createFromName(ns, baseData, QCryptographicHash::Sha1, 5);
}

QT_END_NAMESPACE
CPP
# end of source changes
touch "$work/qt6-base/.changed"

# Where Qt 6.4.2 itself does not build with the features above
# switched off: a header that relies on another one for QHash, and the
# native style and a file of removed functions, which use tool bars without
# asking whether they are built. These only let the build through: the key
# leaves them out, as no build of these options succeeds without them.
fix_source() {
  local file=$src/$1
  grep -qF -- "$3" "$file" && return 0
  perl -0pi -e "$2" "$file"
  grep -qF -- "$3" "$file" || { echo "Windows Qt: the build fix to $1 no longer applies" >&2; exit 1; }
}
fix_source src/widgets/styles/qcommonstyle_p.h \
  's/(#include "qstyleanimation_p.h"\n)/$1#include <QtCore\/qhash.h>\n/' '#include <QtCore/qhash.h>'
fix_source src/plugins/styles/windowsvista/qwindowsvistastyle.cpp \
  's/\n(    case CE_ToolBar:\n.*?\n        break;\n)(#if QT_CONFIG\(dockwidget\))/\n#if QT_CONFIG(toolbar)\n$1#endif \/\/ QT_CONFIG(toolbar)\n$2/s' \
  '#endif // QT_CONFIG(toolbar)'
fix_source src/widgets/compat/removed_api.cpp \
  's/\n#include "qtoolbar.h"\n(.*?)\n(#include "qmenubar.h")/\n#if QT_CONFIG(toolbar)\n#include "qtoolbar.h"\n$1\n#endif \/\/ toolbar\n$2/s' '#endif // toolbar'

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
  if [ -f "$work/build/build.ninja" ]; then return 0; fi
  rm -rf "$work/build" && mkdir -p "$work/build" && cd "$work/build"
  "$src/configure" -prefix "$prefix" -xplatform win32-g++ -qt-host-path /usr \
    "${configure_options[@]}" -- -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/mingw-w64.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_C_FLAGS="$c_flags" -DCMAKE_CXX_FLAGS="$section_flags"
}
step configure configure_qt
# Ninja goes on past a failed object, so one run shows every failure.
step build cmake --build "$work/build" --parallel "$(nproc)" -- -k 0
step install cmake --install "$work/build"
qt_minutes=$(( (SECONDS - started + 30) / 60 ))

# libarchive with its own configure script, as Debian builds it.
build_libarchive() {
  local archive_src
  archive_src=$(source_folder libarchive)
  rm -rf "$work/libarchive-build" && mkdir -p "$work/libarchive-build" && cd "$work/libarchive-build"
  "$archive_src/configure" CC="$cc" CFLAGS="$libarchive_cflags" "${libarchive_options[@]}"
  make -j "$(nproc)" libarchive.la
  install -D -m 644 .libs/libarchive.a "$prefix/lib/libarchive.a"
  install -D -m 644 -t "$prefix/include" "$archive_src/libarchive/archive.h" "$archive_src/libarchive/archive_entry.h"
  install -D -m 644 "$archive_src/COPYING" "$prefix/share/doc/libarchive/COPYING"
}
step libarchive-source fetch_source libarchive "$libarchive_version"
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
}

main "$@"
