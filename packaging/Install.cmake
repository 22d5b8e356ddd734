# Where `cmake --install` puts Vidorun, and the Debian package CPack makes of it.
# Included from the top CMakeLists.txt after the vidorun target exists.
include(GNUInstallDirs)

set(VIDORUN_APP_ID example.vidorun.Vidorun)
set(_linux ${CMAKE_CURRENT_LIST_DIR}/linux)
set(_pictures ${PROJECT_SOURCE_DIR}/resources)

install(TARGETS vidorun RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(UNIX AND NOT APPLE)
  install(FILES ${_linux}/vidorun.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${_linux}/${VIDORUN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${_pictures}/vidorun.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
  install(FILES ${_pictures}/vidorun-128.png RENAME vidorun.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vidorun RENAME copyright)

  # The manual page and the changelog, compressed as Debian keeps them: gzip
  # -9 without a name or time stamp, so that every build gives the same bytes.
  set(_docs ${CMAKE_CURRENT_BINARY_DIR}/packaging)
  add_custom_command(OUTPUT ${_docs}/vidorun.1.gz ${_docs}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_docs}
    COMMAND ${CMAKE_COMMAND} -E copy ${_linux}/vidorun.1 ${_linux}/changelog ${_docs}
    COMMAND gzip -9nf ${_docs}/vidorun.1 ${_docs}/changelog
    DEPENDS ${_linux}/vidorun.1 ${_linux}/changelog
    VERBATIM)
  add_custom_target(vidorun_linux_docs DEPENDS ${_docs}/vidorun.1.gz ${_docs}/changelog.gz)
  add_dependencies(vidorun vidorun_linux_docs)
  install(FILES ${_docs}/vidorun.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${_docs}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vidorun)

  # The Vidorun.exe that vidorun --publish puts on every disc, from the
  # Windows build (`make package` builds it first). The same file serves
  # every architecture, so it goes under share/.
  set(VIDORUN_WINDOWS_PROGRAM "" CACHE FILEPATH
    "The Vidorun.exe the installed program puts on the discs it publishes; installed when it is there")
  if(VIDORUN_WINDOWS_PROGRAM)
    install(FILES ${VIDORUN_WINDOWS_PROGRAM} DESTINATION ${CMAKE_INSTALL_DATADIR}/vidorun OPTIONAL)
  endif()
endif()

# Debian package: `make package`, or `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vidorun)
set(CPACK_PACKAGE_VENDOR "The Vidorun developers")
set(CPACK_PACKAGE_CONTACT "The Vidorun developers <dev@vidorun.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns a disc of AVI movies into a self-starting movie menu")
set(CPACK_PACKAGE_DESCRIPTION
  "The author lists the movies on a CD, folder or USB stick with their titles\n"
  "and disc labels, a cover picture and optional installers, and writes them as\n"
  "Autorun.inf on the disc's root. The viewer starts Vidorun from the disc,\n"
  "picks a title and plays it in the system's own player.")
list(JOIN CPACK_PACKAGE_DESCRIPTION "" CPACK_PACKAGE_DESCRIPTION)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Vidorun developers <dev@vidorun.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps adds the Qt 6, C++ and C libraries the program links to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program asks for Windows' fonts; fontconfig maps them to Liberation Sans
# and Liberation Mono, which keep the window's layout.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# Movies open in the desktop's own player through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
# No maintainer scripts: dpkg's file triggers keep the desktop's caches
# current when the package is installed or removed. desktop-file-utils
# watches share/applications and rebuilds mimeinfo.cache, where GIO looks
# up the applications for a disc's type (x-content/win32-software for
# Vidorun's menu entry); hicolor-icon-theme refreshes the icon cache.
# The package brings no MIME type of its own, so shared-mime-info's
# trigger has nothing to do.

include(CPack)
