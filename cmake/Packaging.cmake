# Install rules and the Debian package: the program, its two simulators, the
# desktop entry, the icon theme's pictures and the AppStream metainfo, each in
# the place desktops look for it.
include(GNUInstallDirs)

set(MIVLO_APP_ID org.mivlo.Mivlo)

install(TARGETS mivlo-chartsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/${MIVLO_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${MIVLO_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon is drawn by the program's own code, so the desktop shows the same
# picture as the window's title bar.
set(MIVLO_ICON_DIR ${PROJECT_BINARY_DIR}/icons/hicolor)
set(MIVLO_ICON_FILES)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND MIVLO_ICON_FILES ${MIVLO_ICON_DIR}/${size}x${size}/apps/${MIVLO_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${MIVLO_ICON_FILES}
  # A sanitizer build's leak report at exit, or a race inside Qt's own image
  # threads that ThreadSanitizer cannot see through, must not fail the build.
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp
          $<TARGET_FILE:mivlo-icon> ${MIVLO_ICON_DIR} ${MIVLO_APP_ID}
  DEPENDS mivlo-icon
  COMMENT "Drawing the icon for the icon theme")
add_custom_target(mivlo_icons ALL DEPENDS ${MIVLO_ICON_FILES})
install(DIRECTORY ${MIVLO_ICON_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mivlo)
set(CPACK_PACKAGE_VENDOR "M.I.V.LO.")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "M.I.V.LO. reads a serial mouse whose counters are driven by the axes of an\n"
    "equatorial mount and shows where the telescope points, in equatorial and\n"
    "horizontal coordinates. It syncs on stars, guides the polar alignment and\n"
    "keeps Cartes du Ciel in step. Includes mivlo-mountsim and mivlo-chartsim,\n"
    "a simulated mount and Cartes du Ciel, to try it without either.")
list(JOIN CPACK_PACKAGE_DESCRIPTION "" CPACK_PACKAGE_DESCRIPTION)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "M.I.V.LO. developers")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# Debian's Qt 6 runtime; the t64 names are those of the releases after the
# 64-bit time transition. qt6-qpa-plugins brings the desktop platform plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.2) | libqt6core6t64, libqt6gui6 (>= 6.2) | libqt6gui6t64, \
libqt6widgets6 (>= 6.2) | libqt6widgets6t64, qt6-qpa-plugins, libc6, libstdc++6")
include(CPack)
