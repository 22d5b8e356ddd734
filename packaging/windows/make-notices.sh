#!/usr/bin/env bash
# Writes resources/NOTICES.txt, the licence notices that go onto every disc
# beside Vidorun.exe: Vidorun's own, and those of each library built into
# Vidorun.exe (libarchive, the MinGW-w64 runtime with its number conversion
# from gdtoa, winpthreads), and of the Unicode data Vidorun's letter-case
# tables come from, with their texts taken from the sources and Debian's
# copyright files. Run it again when the Windows build takes in another
# library or another version; tests/windows/notices.cmake checks, on every
# Windows build, that each library found in Vidorun.exe's link is named
# here, and only those.
#   packaging/windows/make-notices.sh [LIBARCHIVE_PREFIX] > resources/NOTICES.txt
# LIBARCHIVE_PREFIX is the Windows libarchive that scripts/windows-libarchive.sh
# built (its folder, which that script prints); by default that script is asked.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
archive=${1:-$("$here/scripts/windows-libarchive.sh")}
archive_version=$(dpkg-query -W -f='${source:Version}' libarchive-dev)
mingw_copyright=/usr/share/doc/mingw-w64-x86-64-dev/copyright

rule() { printf '\n%s\n%s\n\n' "$1" "$(printf '%*s' "${#1}" '' | tr ' ' '-')"; }
text() { sed 's/\r$//' "$1"; }
# The text of one "License: NAME" paragraph of a Debian copyright file: the
# lines indented below it, "." standing for an empty line.
licence() {
  awk -v name="$2" '$0 == "License: " name {p=1; next} p&&/^ /{print; next} p{exit}' "$1" \
    | sed 's/^ //; s/^\.$//'
}

cat <<TEXT
Licence notices for Vidorun.exe
===============================

Vidorun.exe, on this disc, is Vidorun 4.0 for Windows, the movie menu that
starts from the disc. It is one program file: its windows are Windows' own,
and besides Vidorun's own code it contains the libraries listed below, as
they were built for it. Their licences ask that these notices go with it.
Nothing here limits what you may do with the movies on this disc; those
belong to whoever made them.
TEXT

rule "Vidorun"
echo "Vidorun is free software under the MIT licence:"
echo
text "$here/LICENSE"

rule "libarchive $archive_version (disc images; BSD licence)"
text "$archive/share/doc/libarchive/COPYING"

rule "The MinGW-w64 runtime (mingw-w64 project)"
cat <<'TEXT'
Vidorun.exe is built with Debian's MinGW-w64 compilers, whose start-up code,
C runtime additions and POSIX thread library (winpthreads) are linked into it.

Copyright (c) 2009-2016 the mingw-w64 project. Zope Public License 2.1:
TEXT
licence "$mingw_copyright" ZPL-2.1
echo
echo "* gdtoa (reading and writing numbers), by David M. Gay"
echo
echo "The runtime's conversions between numbers and text come from gdtoa."
echo "Copyright (C) 1997-2001 Lucent Technologies:"
echo
licence "$mingw_copyright" Lucent
echo
echo "Copyright (C) 1998, 2000 Lucent Technologies; 2004, 2005 David M. Gay:"
echo
licence "$mingw_copyright" David-Gay
echo
echo "winpthreads: Copyright (c) 2011-2016 mingw-w64 project, under the MIT (Expat) licence:"
# The licence's text is the "License: expat" paragraph whose lines follow it
# indented.
awk '/^License: expat$/{getline line; if (line ~ /^ /) {print line; p=1}; next}
     p&&/^ /{print; next} p{exit}' "$mingw_copyright" | sed 's/^ //; s/^\.$//'
echo
echo "The GCC runtime (libgcc, libstdc++) is linked in under the GCC Runtime"
echo "Library Exception, which puts no conditions on programs built with it."

rule "Unicode Character Database (letter case)"
cat <<'TEXT'
Vidorun's tables of upper and lower case letters, by which it compares
names as Windows does, are made from the Unicode Character Database.

UNICODE, INC. LICENSE AGREEMENT - DATA FILES AND SOFTWARE

See Terms of Use for definitions of Unicode Inc.'s
Data Files and Software.

NOTICE TO USER: Carefully read the following legal agreement.
BY DOWNLOADING, INSTALLING, COPYING OR OTHERWISE USING UNICODE INC.'S
DATA FILES ("DATA FILES"), AND/OR SOFTWARE ("SOFTWARE"),
YOU UNEQUIVOCALLY ACCEPT, AND AGREE TO BE BOUND BY, ALL OF THE
TERMS AND CONDITIONS OF THIS AGREEMENT.
IF YOU DO NOT AGREE, DO NOT DOWNLOAD, INSTALL, COPY, DISTRIBUTE OR USE
THE DATA FILES OR SOFTWARE.

COPYRIGHT AND PERMISSION NOTICE

Copyright © 1991-2020 Unicode, Inc. All rights reserved.
Distributed under the Terms of Use in https://www.unicode.org/copyright.html.

Permission is hereby granted, free of charge, to any person obtaining
a copy of the Unicode data files and any associated documentation
(the "Data Files") or Unicode software and any associated documentation
(the "Software") to deal in the Data Files or Software
without restriction, including without limitation the rights to use,
copy, modify, merge, publish, distribute, and/or sell copies of
the Data Files or Software, and to permit persons to whom the Data Files
or Software are furnished to do so, provided that either
(a) this copyright and permission notice appear with all copies
of the Data Files or Software, or
(b) this copyright and permission notice appear in associated
Documentation.

THE DATA FILES AND SOFTWARE ARE PROVIDED "AS IS", WITHOUT WARRANTY OF
ANY KIND, EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE
WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE AND
NONINFRINGEMENT OF THIRD PARTY RIGHTS.
IN NO EVENT SHALL THE COPYRIGHT HOLDER OR HOLDERS INCLUDED IN THIS
NOTICE BE LIABLE FOR ANY CLAIM, OR ANY SPECIAL INDIRECT OR CONSEQUENTIAL
DAMAGES, OR ANY DAMAGES WHATSOEVER RESULTING FROM LOSS OF USE,
DATA OR PROFITS, WHETHER IN AN ACTION OF CONTRACT, NEGLIGENCE OR OTHER
TORTIOUS ACTION, ARISING OUT OF OR IN CONNECTION WITH THE USE OR
PERFORMANCE OF THE DATA FILES OR SOFTWARE.

Except as contained in this notice, the name of a copyright holder
shall not be used in advertising or otherwise to promote the sale,
use or other dealings in these Data Files or Software without prior
written authorization of the copyright holder.
TEXT
