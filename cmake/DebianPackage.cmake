# The .deb: cpack -G DEB in the build folder makes rulecast_VERSION_amd64.deb. Its Depends come from
# dpkg-shlibdeps on the program alone, so that a server that only converts needs libxml2 and no
# Qt; the dialog's module adds Qt as a recommendation (cmake/DebianDepends.cmake).
set(RULECAST_MAINTAINER "Rulecast <rulecast@example.org>" CACHE STRING "The .deb's maintainer")

# Debian keeps manual pages and the changelog compressed, without a time stamp in them.
set(man_page ${PROJECT_BINARY_DIR}/rulecast.1.gz)
add_custom_command(OUTPUT ${man_page}
  COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/doc/rulecast.1 > ${man_page}
  DEPENDS doc/rulecast.1)
set(changelog ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
  DEPENDS packaging/changelog)
add_custom_target(rulecast_docs ALL DEPENDS ${man_page} ${changelog})

install(FILES ${man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${changelog} packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rulecast)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rulecast)
set(CPACK_PACKAGE_VENDOR Rulecast)
set(CPACK_PACKAGE_CONTACT "${RULECAST_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert knowledge-base rule files into Visual Basic projects")
# CPack puts the summary above this, as the synopsis, and indents every line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Rulecast reads .pxkbx rule files (rules, methods, demons, events, filters
and sorts) and writes a Visual Basic 6 project for each, ready to open and
build on Windows. Two arguments, a rule-file pattern and a target folder,
convert without a window; without arguments, or with --dialog FILE, it opens
a dialog, which needs Qt 6.")
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/DebianDepends.cmake)
# What cmake/DebianDepends.cmake runs dpkg-shlibdeps on: the build's own files, which are the ones
# installed.
set(CPACK_RULECAST_PROGRAM ${PROJECT_BINARY_DIR}/rulecast)
if(TARGET rulecast-qt)
  set(CPACK_RULECAST_DIALOG_MODULE ${PROJECT_BINARY_DIR}/librulecast-qt.so)
endif()
include(CPack)
