# Installs the program the way a Linux desktop expects it (cmake --install, and the Debian
# package built from the same rules): the executable in bin, the desktop entry, the icon in
# the hicolor theme and the AppStream metainfo under share. The help page and the sounds stay
# compiled into the executable.
include(GNUInstallDirs)

set(PORTIQA_LINUX_DIR ${CMAKE_SOURCE_DIR}/resources/linux)
set(PORTIQA_ICON_DIR ${CMAKE_SOURCE_DIR}/resources/appicon)

string(REGEX REPLACE "/+$" "" PORTIQA_HOMEPAGE_BASE "${PORTIQA_HOMEPAGE}")
set(PORTIQA_SCREENSHOT_URL "${PORTIQA_HOMEPAGE_BASE}/screenshots/main-window.png")
set(PORTIQA_METAINFO ${PORTIQA_GENERATED_DIR}/${PORTIQA_APP_ID}.metainfo.xml)
configure_file(${PORTIQA_LINUX_DIR}/${PORTIQA_APP_ID}.metainfo.xml.in ${PORTIQA_METAINFO} @ONLY)

install(TARGETS portiqa RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PORTIQA_LINUX_DIR}/${PORTIQA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PORTIQA_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PORTIQA_ICON_DIR}/portiqa.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${PORTIQA_APP_ID}.svg)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PORTIQA_ICON_DIR}/portiqa-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${PORTIQA_APP_ID}.png)
endforeach()

# The Debian package: cpack -G DEB in a build folder (scripts/package.sh does it all).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME portiqa)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Portiqa")
set(CPACK_PACKAGE_CONTACT ${PORTIQA_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "make standard ID headshots of an exact pixel size")
set(CPACK_PACKAGE_DESCRIPTION
    "Portiqa zooms a photo under a capture frame of an exact pixel size (358 x 441, 295 x 413, ...) and saves the framed pixels as a JPEG no larger than a size limit in KB, or as BMP, GIF or PNG. Batch cropping of a folder with resumable progress, webcam quick-shoot, naming by sequence, time, prefix or a spreadsheet roster cell, quarter turns and a small paint editor come around that core.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Portiqa <${PORTIQA_CONTACT}>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PORTIQA_HOMEPAGE})
# The libraries the executable links come from dpkg-shlibdeps; what it loads at run time is
# named here: Qt's X11 platform plugin, a font with the Chinese texts, the face detector's
# cascades and its landmark model, and Qt's Chinese catalogues.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, fonts-wqy-microhei, opencv-data, libdlib-data, qt6-translations-l10n, fonts-hanazono")
# xdg-open opens the help page and home page in the desktop's browser (without it the program
# shows the help itself); GStreamer's good plugins drive common webcams.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, gstreamer1.0-plugins-good")
include(CPack)
