# Install layout and the Debian package. Included from the top-level CMakeLists.txt after the
# targets exist.
include(GNUInstallDirs)

set(KVADRA_HOMEPAGE "https://kvadra.example.org/" CACHE STRING "The project's web page")
set(KVADRA_REPOSITORY "https://kvadra.example.org/git/kvadra"
    CACHE STRING "The project's public git repository, in a forge that serves raw files")
set(KVADRA_MAINTAINER "Kvadra maintainers <kvadra@example.org>"
    CACHE STRING "Maintainer field of the Debian package")

# A full RELRO binary, as Debian builds its own programs: the dynamic relocations are resolved at
# start-up and then made read-only.
target_link_options(kvadra PRIVATE LINKER:-z,relro LINKER:-z,now)
target_link_options(kvadra-circuit PRIVATE LINKER:-z,relro LINKER:-z,now)

install(TARGETS kvadra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The circuit core, which the program loads on demand (src/circuit/loader.h looks here).
install(TARGETS kvadra-circuit LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/kvadra)
# A stripped install (the package's) also drops the compilers' version notes from the program
# and the circuit module, as Debian's own packages do: the program never reads them.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(binary ${CMAKE_INSTALL_BINDIR}/kvadra
                   ${CMAKE_INSTALL_LIBDIR}/kvadra/$<TARGET_FILE_NAME:kvadra-circuit>)
      set(program \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${binary}\")
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment \"\${program}\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${KVADRA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The file manager opens .cir netlists with the program; shared-mime-info's trigger takes the
# type in when the package is installed.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kvadra-netlist.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

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

# The newest changelog entry is the release: its version must be the project's, and its date is
# the release date the manual page and the AppStream entry carry.
set(kvadra_changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${kvadra_changelog})
file(STRINGS ${kvadra_changelog} kvadra_entry_head LIMIT_COUNT 1)
string(FIND "${kvadra_entry_head}" "kvadra (${PROJECT_VERSION}) " kvadra_entry_at)
if(NOT kvadra_entry_at EQUAL 0)
  message(FATAL_ERROR "packaging/changelog must start with the entry of version "
                      "${PROJECT_VERSION}, the project's version; it starts: ${kvadra_entry_head}")
endif()
file(STRINGS ${kvadra_changelog} kvadra_entry_trailer REGEX "^ -- " LIMIT_COUNT 1)
if(NOT kvadra_entry_trailer MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: no date in its first trailer line: "
                      "${kvadra_entry_trailer}")
endif()
set(kvadra_day ${CMAKE_MATCH_1})
set(kvadra_year ${CMAKE_MATCH_3})
set(kvadra_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND kvadra_months ${CMAKE_MATCH_2} kvadra_month)
if(kvadra_month LESS 0)
  message(FATAL_ERROR "packaging/changelog: no such month: ${CMAKE_MATCH_2}")
endif()
math(EXPR kvadra_month "${kvadra_month} + 1" OUTPUT_FORMAT DECIMAL)
if(kvadra_month LESS 10)
  set(kvadra_month 0${kvadra_month})
endif()
set(KVADRA_RELEASE_DATE ${kvadra_year}-${kvadra_month}-${kvadra_day})

# Debian wants the manual page and the changelog compressed with gzip -9n: no name, no time
# stamp in the header, so the same sources make the same package.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(kvadra_docs ${PROJECT_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/packaging/kvadra.1.in ${kvadra_docs}/kvadra.1 @ONLY)
configure_file(${kvadra_changelog} ${kvadra_docs}/changelog COPYONLY)
set(kvadra_gzipped)
foreach(doc kvadra.1 changelog)
  add_custom_command(
    OUTPUT ${kvadra_docs}/${doc}.gz
    COMMAND ${GZIP_PROGRAM} -9nkf ${doc}
    DEPENDS ${kvadra_docs}/${doc}
    WORKING_DIRECTORY ${kvadra_docs}
    VERBATIM)
  list(APPEND kvadra_gzipped ${kvadra_docs}/${doc}.gz)
endforeach()
add_custom_target(kvadra_gzipped_docs ALL DEPENDS ${kvadra_gzipped})
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${kvadra_docs}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/metainfo.xml.in
               ${kvadra_docs}/${KVADRA_APP_ID}.metainfo.xml @ONLY)

install(FILES ${kvadra_docs}/kvadra.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${kvadra_docs}/copyright ${kvadra_docs}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kvadra)
install(FILES ${kvadra_docs}/${KVADRA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kvadra)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kvadra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kvadra")
set(CPACK_PACKAGE_CONTACT "${KVADRA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "check Z and Y matrices of resistive two-port networks")
set(CPACK_PACKAGE_DESCRIPTION
    "Kvadra lets students of linear circuit theory check their own hand\n\
computations on resistive two-port networks: the Z and Y matrices of fourteen\n\
T and Pi schematics, a five-schematic test, and a helper for laboratory\n\
measurements.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KVADRA_HOMEPAGE})
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
