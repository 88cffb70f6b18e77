# The Debian package, built by CPack from the install rules:
#
#   cmake --preset package && cmake --build --preset package && cpack --preset package
#
# (`make package` does this.) The package holds what the install rules name
# and nothing else: the two programs, the delivered files, the menu entry,
# the icon and the manual pages. Its dependencies are read from the
# programs' shared libraries by dpkg-shlibdeps.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME longhand)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Longhand")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "exact calculator for decimal numbers of any length")
# The long description below the summary; CPack indents it and marks the
# empty line between the paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Longhand adds, subtracts, multiplies and divides decimal numbers of any
length and computes powers, factorials, permutations, combinations and
products of runs of whole numbers, exact to the last digit. A quotient that
does not end is cut off, never rounded.

The package holds the desktop program longhand and its command-line twin
longhand-calc.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(LONGHAND_PACKAGE_MAINTAINER "Longhand maintainers <longhand@localhost>"
  CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LONGHAND_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# longhand_VERSION_ARCH.deb, the architecture from dpkg.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening the help text hands it to the desktop's opener when there is one.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xdg-utils")

include(CPack)
