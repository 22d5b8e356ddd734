# Writes OUTPUT, a C++ source that defines a function answering the bytes of
# each file, as resources/disc_files.h declares them:
#   cmake -DOUTPUT=disc_files.cpp -DFUNCTIONS="licenceNotices;autorunScript"
#         -DFILES="NOTICES.txt;autorun.sh" -P embed_files.cmake
cmake_minimum_required(VERSION 3.25)

set(text "// Made by resources/embed_files.cmake from the files named below; do not edit.\n")
string(APPEND text "#include \"resources/disc_files.h\"\n\nnamespace vidorun {\n")
foreach(function file IN ZIP_LISTS FUNCTIONS FILES)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR bytes "${digits} / 2")
  # Sixteen bytes a line.
  string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," hex "${hex}")
  get_filename_component(name "${file}" NAME)
  string(APPEND text "\n// ${name}\nstd::string_view ${function}()\n{\n    static const char bytes[] = {\n${hex}'\\0'};\n")
  string(APPEND text "    return std::string_view(bytes, ${bytes});\n}\n")
endforeach()
string(APPEND text "\n}  // namespace vidorun\n")

# Rewritten only when the bytes change, so that nothing is rebuilt for nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${text}")
