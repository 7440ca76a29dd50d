# Read by CPack for each generator of the Linux build: the tarball holds the bundle component
# alone; the Debian package keeps the plain install.
if(CPACK_GENERATOR STREQUAL "TXZ")
  set(CPACK_PACKAGE_FILE_NAME velquin-${CPACK_PACKAGE_VERSION}-linux-x86_64)
  set(CPACK_PACKAGING_INSTALL_PREFIX /)
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_VELQUIN_BUILD_DIR};Velquin;bundle;/")
endif()
