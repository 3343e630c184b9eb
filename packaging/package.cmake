# The Debian package, built by CPack from the install rules (tools/package.sh).
#
# Its files are only what the install rules put under /usr; it has no
# maintainer scripts, so installing and removing it never touches a rider's
# settings or databases in the home folder.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kolvio)
set(CPACK_PACKAGE_VENDOR Ostrelab)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KOLVIO_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${KOLVIO_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cycling training diary with a Czech interface")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_LIST_DIR}/description.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
# The programs are built with debugging information; the package carries
# them stripped.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link (Qt 6, expat, the C++ runtime) as
# dpkg-shlibdeps finds them. Qt loads its platform plugins at run time, which dpkg-shlibdeps
# cannot see: X11 comes with libqt6gui6, native Wayland with qt6-wayland
# (without it Qt runs through XWayland). Qt's own texts (file dialogs, the
# context menu of a text box) are Czech with qt6-translations-l10n, English
# without it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
