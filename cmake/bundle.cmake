# The portable bundle's folder, as the install component `bundle` (made by
# `cpack --preset linux-bundle` into velquin-<version>-linux-x86_64.tar.xz): the program, Qt and
# what else it loads in lib/, Qt's platform plugins in plugins/ (found through qt.conf), the
# desktop entry, icons and metainfo in share/, the licences, and README.txt. Plain installs and
# the Debian package leave it out.
set(bundle COMPONENT bundle EXCLUDE_FROM_ALL)
# X11 and Wayland, typing with dead keys and compose sequences, and what a Wayland window needs
# to be shown and decorated.
set(VELQUIN_BUNDLE_PLUGINS
  platforms/libqxcb.so
  platforms/libqwayland-generic.so
  wayland-shell-integration/libxdg-shell.so
  wayland-decoration-client/libbradient.so
  platforminputcontexts/libcomposeplatforminputcontextplugin.so)

install(TARGETS velquin RUNTIME DESTINATION . ${bundle})
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/bundle/README.txt.in bundle/README.txt @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/bundle/README.txt ${CMAKE_CURRENT_SOURCE_DIR}/bundle/qt.conf
  ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . ${bundle})
install(FILES ${VELQUIN_DESKTOP} DESTINATION share/applications ${bundle})
install(FILES ${VELQUIN_METAINFO} DESTINATION share/metainfo ${bundle})
install(FILES ${VELQUIN_APP_ID}.svg DESTINATION share/icons/hicolor/scalable/apps ${bundle})
foreach(size 48 256)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}/${VELQUIN_APP_ID}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps ${bundle})
endforeach()
install(CODE "execute_process(COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/bundle/bundle_libraries.sh
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\" ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}
    ${VELQUIN_BUNDLE_PLUGINS} COMMAND_ERROR_IS_FATAL ANY)" ${bundle})
