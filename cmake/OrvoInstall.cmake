# What `make install` puts where (GNUInstallDirs and ORVO_APP_ID come from
# the top level, before the subsystems, so the data directory's place can be
# compiled in), and the Debian package built from the same rules.

set(ORVO_DIST_DIR ${CMAKE_SOURCE_DIR}/dist)

install(TARGETS orvo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET orvo-browser)
    install(TARGETS orvo-browser RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The assets that seed a user's data directory (see ShippedDataDirectory);
# the templates keep their modes, a shell script stays executable.
install(DIRECTORY ${ORVO_SOURCE_DATA_DIR}/images ${ORVO_SOURCE_DATA_DIR}/help
                  "${ORVO_SOURCE_DATA_DIR}/File types"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/orvo-browser
        USE_SOURCE_PERMISSIONS)

install(FILES ${ORVO_DIST_DIR}/${ORVO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORVO_DIST_DIR}/${ORVO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ORVO_DIST_DIR}/orvo-browser-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME orvo-browser.xml)

file(GLOB orvo_icon_pngs ${ORVO_SOURCE_DATA_DIR}/icons/orvo-browser-*.png)
foreach(png IN LISTS orvo_icon_pngs)
    string(REGEX MATCH "-([0-9]+)\\.png$" _ ${png})
    set(size ${CMAKE_MATCH_1})
    install(FILES ${png}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${ORVO_APP_ID}.png)
endforeach()
install(FILES ${ORVO_SOURCE_DATA_DIR}/icons/orvo-browser.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${ORVO_APP_ID}.svg)

# make package: a .deb of the tree above. dpkg-shlibdeps names the
# libraries' packages; the rest are what the program loads or starts at run
# time: the file-type database for its icons by type, Qt's SVG plugins for
# the desktop's icon themes, GStreamer's decoders for the media viewer,
# xdg-open for opening files with other programs. The desktop's caches (menu,
# file types, icons) follow the package through the triggers of those
# packages; Wayland sessions get their native Qt plugin when it is there.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvo-browser)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvo Browser developers")
set(CPACK_PACKAGE_CONTACT "Orvo Browser developers <orvo-browser@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "file manager with several windows and a comment on every file")
# The synopsis comes from the summary; these lines are the long text.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Orvo Browser shows several browse windows side by side in one main window.
Every file and directory can carry a free-text comment that follows it
through every copy and move the program makes. It copies, moves and
deletes in the background, counts directory sizes, searches by names,
text, dates and sizes, keeps file lists as documents and has quick
viewers for pictures, text and media. The companion command-line tool
orvo reaches the comments, lists and options from a shell.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "shared-mime-info, libqt6svg6, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, hicolor-icon-theme, qt6-wayland")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
