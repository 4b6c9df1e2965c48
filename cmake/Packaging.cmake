# `make package`: a Debian package of the installed files, tarvelion_<version>_<arch>.deb, with its
# run-time dependencies worked out by dpkg-shlibdeps.

# Debian wants a copyright file and a compressed changelog beside the package's documentation.
set(TARVELION_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/tarvelion)
set(changelog_gz ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/resources/debian/changelog > ${changelog_gz}
  DEPENDS ${PROJECT_SOURCE_DIR}/resources/debian/changelog VERBATIM)
add_custom_target(tarvelion_changelog ALL DEPENDS ${changelog_gz})
install(FILES ${changelog_gz} ${PROJECT_SOURCE_DIR}/resources/debian/copyright DESTINATION ${TARVELION_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvelion)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tarvelion maintainers <maintainers@tarvelion.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "plotter for real functions of one variable")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Tarvelion draws explicit, polar, parametric and implicit curves, the regions\n\
where inequalities hold and the chord of a curve, from functions typed in a\n\
small expression language. A calculator console evaluates scalars and vectors,\n\
and the whole state is kept in .tvl documents. The package also holds\n\
tarvelion-console, the console's language on a terminal.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Wayland platform is a plugin that no library links to: without it a Wayland session runs the
# program through XWayland only.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
