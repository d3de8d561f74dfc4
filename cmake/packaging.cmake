# Install rules and packages: a .deb for Linux, a ZIP for Windows.
# Everything ours is in the Runtime component, and only that component is
# packaged, so test helpers stay out even if they gain install rules.
include(GNUInstallDirs)

if(WIN32)
  install(TARGETS tolvarin RUNTIME DESTINATION . COMPONENT Runtime)
  # Generated rather than committed so that git's line-end conversion
  # cannot turn the example's CR LF into the bare LF the program rejects.
  foreach(name Tolvarin.ini README.txt)
    configure_file(packaging/windows/${name}.in
                   ${CMAKE_CURRENT_BINARY_DIR}/packaging/${name}
                   @ONLY NEWLINE_STYLE CRLF)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/${name}
            DESTINATION . COMPONENT Runtime)
  endforeach()
else()
  install(TARGETS tolvarin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
          COMPONENT Runtime)
  install(FILES man/tolvarin.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
          COMPONENT Runtime)
endif()

set(CPACK_PACKAGE_NAME tolvarin)
# CPack's default would keep only three parts of the version.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tolvarin developers")
set(CPACK_PACKAGE_CONTACT "Tolvarin developers <tolvarin@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "delayed launcher: counts down, then starts a program")
# Set here so that no generic template text ends up in a package.
set(CPACK_PACKAGE_DESCRIPTION
    "Tolvarin reads a four-line settings file, Tolvarin.ini, from the current
directory: a delay in seconds, a program, its parameters and a directory to
start it in. It counts the delay down one line per second on the console and
then starts the program directly, or hands a document or web address to
xdg-open. Its typical use is shutting a machine down after a delay.")
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Runtime;/")
set(CPACK_STRIP_FILES ON)
# Keeps build trees and the repository out of "cpack --config CPackSourceConfig.cmake".
set(CPACK_SOURCE_IGNORE_FILES "/[.]git/" "/build/" "__pycache__")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
endif()

include(CPack)
