# What `cmake --install` puts where, and the Debian package `make package`
# builds from it:
#   bin/tobbin, bin/tobbin-cli                the programs (games/ in the package)
#   share/tobbin/{tbg,tlg,img,wav,help}       the read-only data, found by the
#   share/tobbin/*.sox                        programs as ../share/tobbin
#   share/applications, share/metainfo,       the desktop entry, its metainfo
#   share/icons/hicolor/<n>x<n>/apps          and the icon
#   share/man/man6                            the manual pages
# Test programs and build tools are never installed.
include(GNUInstallDirs)

set(TOBBIN_DATA_DESTINATION "${CMAKE_INSTALL_DATADIR}/tobbin")

install(TARGETS tobbin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TOBBIN_BUILD_GUI)
  install(TARGETS tobbin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The games, languages and help come from the sources (the staged folder of a
# build may hold a developer's own games and records); the pictures and the
# sounds are drawn at build time into the staged folder.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/tbg ${PROJECT_SOURCE_DIR}/data/tlg
                  ${PROJECT_SOURCE_DIR}/data/help
        DESTINATION ${TOBBIN_DATA_DESTINATION}
        PATTERN ".*" EXCLUDE)
file(GLOB TOBBIN_SHIPPED_SOLUTIONS "${PROJECT_SOURCE_DIR}/data/solutions/*.sox")
install(FILES ${TOBBIN_SHIPPED_SOLUTIONS} DESTINATION ${TOBBIN_DATA_DESTINATION})
if(TOBBIN_BUILD_GUI)
  install(DIRECTORY ${TOBBIN_PROGRAM_FOLDER}/img ${TOBBIN_PROGRAM_FOLDER}/wav
          DESTINATION ${TOBBIN_DATA_DESTINATION}
          PATTERN "*.tmp" EXCLUDE)

  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${TOBBIN_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/${TOBBIN_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY ${TOBBIN_ICONS_FOLDER}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor
          FILES_MATCHING PATTERN "*.png")
endif()

# Manual pages, compressed as Debian wants them (gzip -9n: no name, no time).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(TOBBIN_MAN_PAGES)
foreach(page tobbin.6 tobbin-cli.6)
  set(out "${CMAKE_BINARY_DIR}/man/${page}.gz")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP_PROGRAM} -9nc ${PROJECT_SOURCE_DIR}/data/man/${page} > ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/man/${page}
    COMMENT "Compressing the manual page ${page}")
  list(APPEND TOBBIN_MAN_PAGES ${out})
endforeach()
add_custom_target(tobbin_man ALL DEPENDS ${TOBBIN_MAN_PAGES})
if(TOBBIN_BUILD_GUI)
  install(FILES ${TOBBIN_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
else()
  install(FILES ${CMAKE_BINARY_DIR}/man/tobbin-cli.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endif()

# The package's copyright file and changelog (Debian policy 12.5, 12.7).
set(TOBBIN_CHANGELOG "${CMAKE_BINARY_DIR}/changelog.gz")
add_custom_command(
  OUTPUT ${TOBBIN_CHANGELOG}
  COMMAND ${GZIP_PROGRAM} -9nc ${PROJECT_SOURCE_DIR}/data/debian/changelog > ${TOBBIN_CHANGELOG}
  DEPENDS ${PROJECT_SOURCE_DIR}/data/debian/changelog
  COMMENT "Compressing the package changelog")
add_custom_target(tobbin_changelog ALL DEPENDS ${TOBBIN_CHANGELOG})
install(FILES ${PROJECT_SOURCE_DIR}/data/debian/copyright ${TOBBIN_CHANGELOG}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tobbin)

# The Debian package. Its dependencies come from the libraries the programs
# really link (dpkg-shlibdeps, from dpkg-dev).
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "tobbin")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Tobbin authors <tobbin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "puzzle game of digging, eating and dodging falling stones")
# The summary is the synopsis line; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tobbin is a single-player puzzle game: steer the hero through levels of\n"
    "31 x 18 cells, dig grass, eat every piece of food, and mind the stones,\n"
    "boxes and bombs that fall, roll, fill boxes, explode and crush him.\n"
    "The game keeps every player's records (best solutions, a player log, a\n"
    "hall of champions, author statistics) and has a level editor.\n"
    "tobbin-cli plays, solves and checks levels on the command line.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tobbin.github.io/")
set(CPACK_DEBIAN_COMPRESSION_TYPE "xz")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_PACKAGE_FILE_NAME_HINT "")
include(CPack)
