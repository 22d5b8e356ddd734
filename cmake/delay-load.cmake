# Import libraries whose DLL Windows loads at the first call into it rather
# than before the program starts: the DLLs that only a command needs (the
# file dialogs, starting a program, the CD tray) then cost nothing until the
# window is up. Made with the toolchain's dlltool from the functions named
# here; mingw-w64's runtime carries the loader (__delayLoadHelper2).
#   vidorun_delay_load(TARGET DLL FUNCTION...)
find_program(VIDORUN_DLLTOOL NAMES x86_64-w64-mingw32-dlltool dlltool REQUIRED)

function(vidorun_delay_load target dll)
  set(def ${CMAKE_BINARY_DIR}/delay-load/${dll}.def)
  set(library ${CMAKE_BINARY_DIR}/delay-load/lib${dll}-delay.a)
  list(JOIN ARGN "\n" exports)
  file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
  add_custom_command(OUTPUT ${library}
    COMMAND ${VIDORUN_DLLTOOL} --input-def ${def} --output-delaylib ${library}
    DEPENDS ${def}
    COMMENT "Making the delay-load import library of ${dll}.dll")
  add_custom_target(${dll}_delay_load DEPENDS ${library})
  add_dependencies(${target} ${dll}_delay_load)
  target_link_libraries(${target} PRIVATE ${library})
endfunction()
