# Checks the licence notices against what Vidorun.exe really contains: every
# third-party library whose code the linker placed in the program (read from
# its linker map) is named in NOTICES.txt, and every library named there is
# in the program.
#   cmake -DMAP=Vidorun.map -DNOTICES=resources/NOTICES.txt -P notices.cmake

file(READ "${MAP}" map)
string(FIND "${map}" "Linker script and memory map" placed_from)
if(placed_from EQUAL -1)
  message(FATAL_ERROR "${MAP} is no GNU linker map")
endif()
# Only what was placed: the list of sections the link dropped comes first.
string(SUBSTRING "${map}" ${placed_from} -1 placed)
file(READ "${NOTICES}" notices)

# What in the map shows a library | the heading its notice has
set(libraries
  "libQt6BundledHarfbuzz.a|* HarfBuzz"
  "libQt6BundledLibjpeg.a|* libjpeg-turbo"
  "libQt6BundledLibpng.a|* libpng"
  "libQt6BundledZLIB.a|* zlib"
  "libQt6BundledPcre2.a|* PCRE2"
  "fast-dtoa.cc.obj|* double-conversion"
  "qcborstreamreader.cpp.obj|* TinyCBOR"
  "qeasingcurve.cpp.obj|* Easing equations"
  "qgrayraster.c.obj|* Anti-aliasing rasterizer from FreeType 2"
  "qimagescale.cpp.obj|* Smooth scaling algorithm"
  "qregion.cpp.obj|* X Server region code"
  "qlocale.cpp.obj|* Unicode Character Database"
  "qhash.cpp.obj|* SipHash"
  "libarchive.a|libarchive "
  "libmingwex.a|The MinGW-w64 runtime"
  "libpthread.a|winpthreads:"
  # Left out of the build; should one come back, its notice must too.
  "libQt6BundledFreetype.a|* FreeType "
  "qcryptographichash.cpp.obj|* Secure Hash Algorithm"
  "libQt6BundledLibb2.a|* BLAKE2"
)
set(problems "")
foreach(entry IN LISTS libraries)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 sign)
  list(GET parts 1 heading)
  string(FIND "${placed}" "${sign}" in_program)
  string(FIND "${notices}" "${heading}" in_notices)
  if(NOT in_program EQUAL -1 AND in_notices EQUAL -1)
    string(APPEND problems "\n  Vidorun.exe holds ${sign}, but NOTICES.txt has no '${heading}'")
  elseif(in_program EQUAL -1 AND NOT in_notices EQUAL -1)
    string(APPEND problems "\n  NOTICES.txt names '${heading}', but Vidorun.exe holds no ${sign}")
  endif()
endforeach()
if(problems)
  message(FATAL_ERROR "The licence notices don't match the program (packaging/windows/make-notices.sh writes them):${problems}")
endif()
message(STATUS "NOTICES.txt names each library Vidorun.exe holds, and only those")
