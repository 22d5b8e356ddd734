#!/usr/bin/env bash
# Writes resources/NOTICES.txt, the licence notices that go onto every disc
# beside Vidorun.exe: Vidorun's own, Qt's, and those of each library built
# into Vidorun.exe, with their texts taken from Debian's own sources and
# copyright files. Run it again when the Windows build takes in another
# library or another version; tests/windows/notices.cmake checks, on every
# Windows build, that each library found in Vidorun.exe's link is named here.
#   packaging/windows/make-notices.sh QT_SOURCE LIBARCHIVE_SOURCE > resources/NOTICES.txt
# QT_SOURCE and LIBARCHIVE_SOURCE are `apt-get source qt6-base` and
# `apt-get source libarchive` folders of the versions scripts/windows-qt.sh builds.
set -euo pipefail
qt=$1/src
archive=$2
here=$(cd "$(dirname "$0")/../.." && pwd)
qt_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
archive_version=$(dpkg-query -W -f='${source:Version}' libarchive-dev)

rule() { printf '\n%s\n%s\n\n' "$1" "$(printf '%*s' "${#1}" '' | tr ' ' '-')"; }
text() { sed 's/\r$//' "$1"; }

cat <<TEXT
Licence notices for Vidorun.exe
===============================

Vidorun.exe, on this disc, is Vidorun 4.0 for Windows, the movie menu that
starts from the disc. It is one program file: besides Vidorun's own code it
contains the Qt libraries, linked statically, and the libraries listed
below, as they were built for it. Their licences ask that these notices go
with it. Nothing here limits what you may do with the movies on this disc;
those belong to whoever made them.
TEXT

rule "Vidorun"
echo "Vidorun is free software under the MIT licence:"
echo
text "$here/LICENSE"

rule "Qt $qt_version (GNU Lesser General Public License, version 3)"
cat <<TEXT
Vidorun.exe contains QtCore, QtGui and QtWidgets of Qt ${qt_version%%+*}, with the
Windows platform plugin, the Windows Vista style and the JPEG image plugin,
linked statically. Qt is copyright (C) The Qt Company Ltd. and other
contributors, and is used here under the GNU Lesser General Public License,
version 3 (LGPL-3), whose text follows at the end of this file together with
the GNU General Public License, version 3, which it builds on.

The source code of this Qt is Debian's source package qt6-base, version
$qt_version: on Debian 12, "apt-get source qt6-base=$qt_version";
Debian keeps every version of it in its snapshot archive. Vidorun's build
changes a few lines of it and switches parts of it off; the changes and the
options are in Vidorun's source, in scripts/windows-qt.sh, which fetches,
changes and builds it.

You may change Qt and use your changed Qt with Vidorun: build it with that
script (or with your own changes added to it) and link Vidorun.exe against
it again; "make windows" in Vidorun's source does both on Debian. Vidorun's
source code, free under the MIT licence above, can be had from whoever gave
you this disc, as can Vidorun.exe's build instructions
(docs/BUILDING-WINDOWS.md in that source).
TEXT

rule "Libraries built into Qt"
cat <<TEXT
This software is based in part on the work of the Independent JPEG Group.

Portions of this software are copyright (C) The FreeType Project
(www.freetype.org). All rights reserved. (Qt's anti-aliasing rasterizer
comes from FreeType 2; FreeType itself is not in Vidorun.exe.)
TEXT

library() {  # NAME VERSION FILE...
  local name=$1 version=$2 file
  shift 2
  printf '\n* %s %s\n\n' "$name" "$version"
  for file in "$@"; do text "$file"; echo; done
}
library "HarfBuzz (text shaping)" 4.2.1 "$qt/3rdparty/harfbuzz-ng/COPYING"
library "libjpeg-turbo (JPEG reading)" 2.1.4 "$qt/3rdparty/libjpeg/LICENSE" "$qt/3rdparty/libjpeg/ijg-license.txt"
library "libpng (PNG pictures)" 1.6.39 "$qt/3rdparty/libpng/LICENSE"
library "zlib (compression)" 1.2.13 "$qt/3rdparty/zlib/LICENSE"
library "double-conversion (numbers)" 3.2.0 "$qt/3rdparty/double-conversion/LICENSE"
library "TinyCBOR (CBOR data)" 0.6.0 "$qt/3rdparty/tinycbor/LICENSE"
library "Easing equations by Robert Penner (animations)" "" "$qt/3rdparty/easing/LICENSE"
library "Anti-aliasing rasterizer from FreeType 2 (the FreeType Project License)" "" "$qt/3rdparty/freetype/docs/FTL.TXT"
library "Smooth scaling algorithm (imlib2)" "" "$qt/gui/painting/QIMAGETRANSFORM_LICENSE.txt"
library "X Server region code" "" "$qt/gui/painting/XCONSORTIUM_LICENSE.txt"
library "Unicode Character Database and Common Locale Data Repository" "" "$qt/corelib/text/UNICODE_LICENSE.txt"
printf '\n* SipHash (hashing), by Jean-Philippe Aumasson and Daniel J. Bernstein\n\n'
echo "Dedicated to the public domain under Creative Commons Zero v1.0 Universal."

rule "libarchive $archive_version (disc images; BSD licence)"
text "$archive/COPYING"

rule "The MinGW-w64 runtime (mingw-w64 project)"
cat <<'TEXT'
Vidorun.exe is built with Debian's MinGW-w64 compilers, whose start-up code,
C runtime additions and POSIX thread library (winpthreads) are linked into it.

Copyright (c) 2009-2016 the mingw-w64 project. Zope Public License 2.1:
TEXT
awk '/^Files: \*$/{f=1} f&&/^License: ZPL-2.1/{p=1; next} p&&/^Files:/{exit} p' \
  /usr/share/doc/mingw-w64-x86-64-dev/copyright | sed 's/^ //; s/^\.$//'
echo
echo "winpthreads: Copyright (c) 2011-2016 mingw-w64 project, under the MIT (Expat) licence:"
# The licence's text is the "License: expat" paragraph whose lines follow it
# indented.
awk '/^License: expat$/{getline line; if (line ~ /^ /) {print line; p=1}; next}
     p&&/^ /{print; next} p{exit}' /usr/share/doc/mingw-w64-x86-64-dev/copyright | sed 's/^ //; s/^\.$//'
echo
echo "The GCC runtime (libgcc, libstdc++) is linked in under the GCC Runtime"
echo "Library Exception, which puts no conditions on programs built with it."

rule "GNU Lesser General Public License, version 3"
text /usr/share/common-licenses/LGPL-3
rule "GNU General Public License, version 3"
text /usr/share/common-licenses/GPL-3
