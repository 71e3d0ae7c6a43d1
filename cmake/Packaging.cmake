# Installs the program with its desktop entry, icon and AppStream metadata in the standard places, and packs the
# same tree into a .deb (`cpack -G DEB` in the build folder).
include(GNUInstallDirs)

set(KELVRAST_APP_ID org.example.kelvrast)
set(KELVRAST_DATA_DIR ${PROJECT_SOURCE_DIR}/data)

install(TARGETS kelvrast RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KELVRAST_DATA_DIR}/${KELVRAST_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KELVRAST_DATA_DIR}/${KELVRAST_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${KELVRAST_DATA_DIR}/${KELVRAST_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

include(${CMAKE_CURRENT_LIST_DIR}/PackageDescription.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Besides the shared libraries: Qt's window-system plugins, which libqt6gui6 only recommends, and the metric
# equivalent of Arial, the font of the two large boxes. CPack adds the shared-library dependencies to these.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
# Lets the program run as a native Wayland client; without it Qt falls back to X11 through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_GENERATOR DEB)
include(CPack)
