# The Debian package: `cmake --build build --target package` (or `cpack -G DEB`
# in the build folder) writes tarnlist_<version>_<arch>.deb there. The version
# is the project's, as --version and the About box show it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnlist)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarnlist developers")
set(CPACK_PACKAGE_CONTACT "Tarnlist developers <tarnlist@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "print formatted listings of Clarion source code")
set(CPACK_PACKAGE_DESCRIPTION [[
Tarnlist prints listings of Clarion source files or of a whole project (a
PROGRAM file and every file it names). It finds the units, the WINDOW, REPORT
and APPLICATION structures and the embed points, and prints the source with
coloured tokens, in one to ten columns a page, with headers, footers and unit
rules, to a printer or into PDF files.

It runs as a desktop program and from the command line.]])
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps adds the libraries the program links; the default printout
# fonts are asked for as Courier New, which fontconfig maps to Liberation Mono,
# with DejaVu as the fallback; xdg-utils opens the help page and edited files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/debian/postinst ${PROJECT_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# Only binary packages: the sources are the repository.
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
