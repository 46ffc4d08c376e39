# The Debian package: "cpack -G DEB" in the build folder makes tolvane_VERSION_ARCH.deb
# from what "cmake --install" puts under /usr. Library dependencies come from the
# binaries (dpkg-shlibdeps); the services the programs talk to over D-Bus, and the
# opener behind "Help", are recommended, since the programs run without them.
include(GNUInstallDirs)

set(TV_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tolvane)
set(TV_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(
  OUTPUT ${TV_CHANGELOG_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND sh -c "gzip -9n < '${CMAKE_SOURCE_DIR}/packaging/changelog' > '${TV_CHANGELOG_GZ}'"
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the changelog"
  VERBATIM)
add_custom_target(tv_changelog ALL DEPENDS ${TV_CHANGELOG_GZ})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${TV_CHANGELOG_GZ} DESTINATION ${TV_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Tolvane developers <tolvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "battery monitor for the notification area")
# Debian shows the description in 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Tolvane shows the battery percentage, the power source, a five-step charge
rating, a segmented charge bar and its own estimates of battery life and of the
time to a full charge in the notification area, and warns at 5 % or less. Its
menu offers standby, hibernation, start at login and the power schemes.

Vantrel manages power schemes: screen, disk, standby and hibernation time-outs
and the processor policy, on mains and on battery. The package also holds the
console tools reg, powercfg, battery-sim, progressbar-render and scenario, and
the manual.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's platform plugins are only loaded at run time, so the binaries do not show them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "systemd, power-profiles-daemon, upower, udisks2, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
