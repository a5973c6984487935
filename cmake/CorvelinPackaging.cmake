# The Debian package: `cpack -G DEB` in a build tree (a Release build) makes corvelinscope_<version>_<arch>.deb.
# It installs under /usr; its dependencies come from dpkg-shlibdeps (Qt, netCDF, the mzML library, ...).
# The settings: a shared file /var/lib/corvelinscope/settings.ini that every user may write (per-user values
# sit in sections named after the login), named by /usr/bin/config.ini. The bundled readers' registration, which
# the install writes into the staged bin/settings.ini, becomes the script /usr/share/corvelinscope/register-readers
# that the package's postinst runs at every install and upgrade (see cmake/debian/).
set(CPACK_PACKAGE_NAME corvelinscope)
set(CPACK_PACKAGE_VENDOR "Felsmark Labs")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "GC-MS chromatogram library search")
set(CPACK_PACKAGE_DESCRIPTION
    "Identifies a GC-MS sample by comparing its whole chromatogram, peak by peak, with a library of reference\n"
    "chromatograms: desktop program, headless batch program and reader modules for ANDI/AIA netCDF, JCAMP-DX,\n"
    "AMDIS ELU, mzML/mzXML, peak tables and NIST MSP spectra.")
set(CPACK_PACKAGE_CONTACT "Corvelinscope maintainers <corvelinscope@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/debian/postinst ${CMAKE_SOURCE_DIR}/cmake/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/debian/StageSettings.cmake)
set(CPACK_GENERATOR DEB)
include(CPack)
