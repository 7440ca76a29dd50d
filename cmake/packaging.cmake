# The packages a player downloads, made by CPack (`cpack --preset windows-zip` or `linux-deb`):
# velquin-<version>-windows.zip from the 32-bit build with the 64-bit build's exe beside it, and
# from the Linux build velquin_<version>_amd64.deb and the portable bundle
# velquin-<version>-linux-x86_64.tar.xz (`cpack --preset linux-bundle`, see bundle.cmake).
set(CPACK_PACKAGE_NAME velquin)
set(CPACK_PACKAGE_VENDOR "The Velquin developers")
set(CPACK_PACKAGE_CONTACT "The Velquin developers <${VELQUIN_CONTACT}>")
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_THREADS 0)

if(WIN32)
  install(TARGETS velquin RUNTIME DESTINATION . COMPONENT program)
  # Only the 32-bit build makes the zip; the 64-bit build gives it its exe.
  set(VELQUIN_ZIP_WIN64_BUILD "" CACHE PATH "The 64-bit Windows build whose exe goes into the zip")
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4 OR NOT VELQUIN_ZIP_WIN64_BUILD)
    return()
  endif()
  # Notepad on older Windows shows a file with Unix line ends as one long line.
  configure_file(app/README.txt.in README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(LICENSE LICENSE @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt ${CMAKE_CURRENT_BINARY_DIR}/LICENSE
    DESTINATION . COMPONENT documents)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME velquin-${PROJECT_VERSION}-windows)
  set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};Velquin;ALL;/"
    "${VELQUIN_ZIP_WIN64_BUILD};Velquin;program;/wine64")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
  # CPack puts the project's DESCRIPTION above this as the synopsis.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Velquin edits what the game DF:TFD's own screens won't let a player set
freely in its player file plyr.sav: the five character names, with any
character of the game's code page, and the ten chat macros on SHIFT+F1 to
SHIFT+F10.

It finds the game by itself in the player's Wine, Steam Proton, Lutris or
Bottles prefix, and patches names and macros back in place, byte by byte,
touching no other byte of the file.")
  # The bundle is its own install component, in a folder named like the archive.
  set(CPACK_VELQUIN_BUILD_DIR ${CMAKE_BINARY_DIR})
  set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/bundle_cpack.cmake)
endif()
include(CPack)
