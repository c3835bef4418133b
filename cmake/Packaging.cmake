# `cpack -G DEB` in the build folder makes an installable Debian package of
# what cmake/Install.cmake installs; dpkg-shlibdeps works out the libraries'
# packages from the programs themselves.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "fabulor-skin-builder")
set(CPACK_PACKAGE_VENDOR "The Fabulor Skin Builder developers")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the skins of the Fabulor gamebook reader")
set(CPACK_PACKAGE_DESCRIPTION
    "Fabulor Skin Builder edits the skins of the Fabulor Reader, a gamebook reader:\n"
    "the window's size or shape, its background picture, and the place, colours,\n"
    "fonts and pictures of each of its components, in a live preview with undo and\n"
    "a skin check. skintool checks, packs and draws skins from the command line,\n"
    "and file managers show skin files as pictures through it.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Fabulor Skin Builder developers <skinbuilder@fabulor.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${FSB_HOMEPAGE_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Polish texts for its own dialogs; the editor works without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

# The licence is already the package's copyright file (cmake/Install.cmake);
# a native package also carries its changelog, compressed as the man pages are.
configure_file(${CMAKE_SOURCE_DIR}/data/changelog.in ${CMAKE_BINARY_DIR}/data/changelog @ONLY)
fsb_gzip(${CMAKE_BINARY_DIR}/data/changelog)
add_custom_target(fsb_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/data/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/data/changelog.gz DESTINATION ${FSB_INSTALL_DOCDIR})

include(CPack)
