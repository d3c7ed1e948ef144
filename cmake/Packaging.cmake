# make package: a Debian package of everything the install() rules put in place. The runtime dependencies are
# read from the installed programs and modules by dpkg-shlibdeps, so the Qt 6 libraries they link come along.
include(GNUInstallDirs)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quellmark/examples
        FILES_MATCHING PATTERN "*.vq3")

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "quellmark")
set(CPACK_PACKAGE_VENDOR "Quellmark")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration program for VQ-3 and VQ-3+ packet-radio units")
set(CPACK_PACKAGE_CONTACT "Quellmark maintainers <quellmark@localhost>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "hamradio")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_PACKAGE_DESCRIPTION
    "quellmark reads, edits and writes the configuration of a VQ-3 unit over a serial line; vq3 does the same \
from the command line and scripts, and simulates a unit for trying the program without one.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# vq3 loads its link and report modules with dlopen: their libraries are declared from the modules themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${CMAKE_BINARY_DIR}/src/cli")
# The platform plug-ins Qt loads at run time are not seen by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
include(CPack)
