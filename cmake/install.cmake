# Install layout and the Debian package. Included from the top-level CMakeLists.txt after the
# targets exist.
include(GNUInstallDirs)

install(TARGETS kvadra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kvadra.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The theme icons are drawn by the program's own icon code at build time, so the menu entry and
# the windows can never show two different designs.
set(KVADRA_ICON_SIZES 16 22 24 32 48 64 128 256)
set(kvadra_icon_root ${PROJECT_BINARY_DIR}/icons/hicolor)
set(kvadra_icon_files)
foreach(size IN LISTS KVADRA_ICON_SIZES)
  list(APPEND kvadra_icon_files ${kvadra_icon_root}/${size}x${size}/apps/kvadra.png)
endforeach()
add_custom_command(
  OUTPUT ${kvadra_icon_files}
  # Leak reports from Qt's own start-up would fail a sanitizer build for no fault of ours.
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:kvadra_icons> ${kvadra_icon_root} ${KVADRA_ICON_SIZES}
  DEPENDS kvadra_icons
  COMMENT "Drawing the theme icons"
  VERBATIM)
add_custom_target(kvadra_theme_icons ALL DEPENDS ${kvadra_icon_files})
foreach(size IN LISTS KVADRA_ICON_SIZES)
  install(FILES ${kvadra_icon_root}/${size}x${size}/apps/kvadra.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvadra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kvadra")
set(KVADRA_MAINTAINER "Kvadra maintainers <kvadra@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${KVADRA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "check Z and Y matrices of resistive two-port networks")
set(CPACK_PACKAGE_DESCRIPTION
    "Kvadra lets students of linear circuit theory check their own hand\n\
computations on resistive two-port networks: the Z and Y matrices of fourteen\n\
T and Pi schematics, a five-schematic test, and a helper for laboratory\n\
measurements.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the Qt and C++ libraries the binary links, with their versions. The xcb
# platform plugin ships in libqt6gui6, so it comes along. The font is the face the window layouts
# are measured in; it is loaded by name at run time, which no library scan can see.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
include(CPack)
