# SPDX-License-Identifier: MIT
# Installation and the Debian package.
#
# Installed layout (below the prefix):
#   bin/tesselle                       the program
#   lib/<triplet>/tesselle/tesselle-print.so
#                                      its print module, loaded at the first
#                                      Print…, found at ../lib/<triplet>/tesselle/
#   share/tesselle/                    its data, found by the program at
#                                      ../share/tesselle/ from its executable
#     swf/*.svg                        the intro, the palette and the buttons
#     fonts.conf                       the font configuration it loads
#     card5327.csv                     the card: every swatch with its page,
#                                      row, code and colour
#   share/applications/, share/metainfo/, share/icons/hicolor/
#                                      desktop entry, AppStream data, icons
#   share/man/man1/tesselle.1.gz       the manual page
#   share/doc/tesselle/                copyright and the Debian changelog
#
# The package: `cpack -G DEB` in the build folder.

include(GNUInstallDirs)

set(TESSELLE_APP_ID org.tesselle.Tesselle)
set(TESSELLE_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(TESSELLE_DATA_DESTINATION ${CMAKE_INSTALL_DATADIR}/tesselle)
# The package revision: the Debian version is <project version>-<revision>.
set(TESSELLE_DEBIAN_REVISION 1)

# Folders an install creates are 0755 at most (a umask of 002 does not make
# them group-writable); a stricter umask still applies, as for any install.
# Files get install()'s own modes: 0644, and 0755 for the program.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The release named in the packaging files must be the project's version:
# a version bump without a changelog entry and a metainfo release stops the
# configuration here instead of shipping a package that contradicts itself.
file(STRINGS ${TESSELLE_PACKAGING_DIR}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^tesselle \\(${PROJECT_VERSION}-${TESSELLE_DEBIAN_REVISION}\\) ")
  message(FATAL_ERROR "packaging/changelog: the first entry must be for "
    "${PROJECT_VERSION}-${TESSELLE_DEBIAN_REVISION}, found: ${changelog_head}")
endif()
file(READ ${TESSELLE_PACKAGING_DIR}/${TESSELLE_APP_ID}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<releases>[ \t\r\n]*<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "packaging/${TESSELLE_APP_ID}.metainfo.xml: the first release "
    "must be version ${PROJECT_VERSION}")
endif()
unset(metainfo)

# The program and its data.
install(TARGETS tesselle RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES
    ${PROJECT_SOURCE_DIR}/swf/addtb.svg
    ${PROJECT_SOURCE_DIR}/swf/borit.svg
    ${PROJECT_SOURCE_DIR}/swf/del.svg
    ${PROJECT_SOURCE_DIR}/swf/kor.svg
    ${PROJECT_SOURCE_DIR}/swf/n.svg
    ${PROJECT_SOURCE_DIR}/swf/p.svg
  DESTINATION ${TESSELLE_DATA_DESTINATION}/swf)
install(FILES
    ${PROJECT_SOURCE_DIR}/data/fonts.conf
    ${PROJECT_SOURCE_DIR}/data/card5327.csv
  DESTINATION ${TESSELLE_DATA_DESTINATION})

# Desktop integration.
install(FILES ${TESSELLE_PACKAGING_DIR}/${TESSELLE_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TESSELLE_PACKAGING_DIR}/${TESSELLE_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The icons are required: the packaging_files target below depends on them,
# so a missing one stops the build, not only the install.
set(TESSELLE_ARTWORK_DIR ${PROJECT_SOURCE_DIR}/src/platform/artwork)
set(TESSELLE_ICONS ${TESSELLE_ARTWORK_DIR}/icon.svg)
foreach(size 16 32 48 128 256)
  install(FILES ${TESSELLE_ARTWORK_DIR}/icon-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${TESSELLE_APP_ID}.png)
  list(APPEND TESSELLE_ICONS ${TESSELLE_ARTWORK_DIR}/icon-${size}.png)
endforeach()
install(FILES ${TESSELLE_ARTWORK_DIR}/icon.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${TESSELLE_APP_ID}.svg)

# The manual page is written by help2man from the program's own --help and
# --version, so that it lists every option --help does, in the same words;
# packaging/tesselle.h2m adds what --help does not say. help2man runs the
# program in its own --locale, C unless told, whatever the environment says:
# told UTF-8, "ΔE00" stays itself.
set(TESSELLE_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)
find_program(TESSELLE_HELP2MAN help2man REQUIRED)
add_custom_command(OUTPUT ${TESSELLE_PACKAGING_OUT}/generated/tesselle.1
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESSELLE_PACKAGING_OUT}/generated
  COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8
    ${TESSELLE_HELP2MAN} --locale=C.UTF-8 --no-info --section=1 --include=${TESSELLE_PACKAGING_DIR}/tesselle.h2m
    --output=${TESSELLE_PACKAGING_OUT}/generated/tesselle.1 $<TARGET_FILE:tesselle>
  DEPENDS tesselle ${TESSELLE_PACKAGING_DIR}/tesselle.h2m
  COMMENT "Writing the manual page from tesselle --help" VERBATIM)

# The manual page and the Debian changelog, compressed at build time as
# Debian wants them: gzip -9 with no name and no time stamp, so the bytes
# depend on the text only.
set(TESSELLE_GZIPPED)
foreach(pair
    "${TESSELLE_PACKAGING_OUT}/generated/tesselle.1|tesselle.1"
    "${TESSELLE_PACKAGING_DIR}/changelog|changelog.Debian")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 input)
  list(GET pair 1 installed_name)
  set(output ${TESSELLE_PACKAGING_OUT}/${installed_name})
  add_custom_command(OUTPUT ${output}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${input} ${output}
    COMMAND gzip -9nf ${output}
    DEPENDS ${input}
    COMMENT "Compressing ${installed_name}" VERBATIM)
  list(APPEND TESSELLE_GZIPPED ${output}.gz)
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${TESSELLE_GZIPPED} ${TESSELLE_ICONS})

install(FILES ${TESSELLE_PACKAGING_OUT}/tesselle.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES
    ${TESSELLE_PACKAGING_DIR}/copyright
    ${TESSELLE_PACKAGING_OUT}/changelog.Debian.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tesselle)
set(CPACK_PACKAGE_VENDOR "The Tesselle developers")
set(CPACK_PACKAGE_CONTACT "Tesselle developers <tesselle@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Browse a colour card and keep a collection of colours")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The package's folders are 0755 whatever the umask of the one who builds it.
set(CPACK_PRE_BUILD_SCRIPTS ${TESSELLE_PACKAGING_DIR}/staging-permissions.cmake)

set(CPACK_DEBIAN_PACKAGE_NAME tesselle)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TESSELLE_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tesselle developers <tesselle@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The extended description; CPack puts the summary above it as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tesselle 5327 shows one printed colour card in a single small window.
Each page of the card is a column of colour swatches: page through them,
select a swatch, or find a colour by typing its code, such as K8.04.43.
A palette wheel of 24 hue sectors jumps to a group of hues, and chosen
colours are kept in a personal collection stored in an SQLite database
in the user's data folder.")
# The libraries the program links (Qt, SQLite, fontconfig, xcb, Little CMS) are found by
# dpkg-shlibdeps; the fonts it draws with, named in its fonts.conf, are not.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libgs-common: Ghostscript's default_cmyk.icc, through which CMYK palettes are read.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, libgs-common")

include(CPack)
