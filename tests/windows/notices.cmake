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
  "libarchive.a|libarchive "
  "libmingwex.a|The MinGW-w64 runtime"
  "lib64_libmingwex_a-gdtoa.o|* gdtoa"
  "libpthread.a|winpthreads:"
  "unicode.cpp.obj|Unicode Character Database"
  # Not in the program; should one come in, its notice must too.
  "libz.a|* zlib"
  "libjpeg|* libjpeg"
  "libpng|* libpng"
  "libharfbuzz|* HarfBuzz"
  "libfreetype|* FreeType"
  "libQt6|* Qt"
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
