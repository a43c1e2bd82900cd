# Debian packages with CPack (scripts/package-deb.sh): the install components become terrix-cli and
# terrix; dpkg-shlibdeps finds the libraries each needs, and terrix needs the terrix-cli of its own version.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME terrix)
set(CPACK_PACKAGE_VENDOR "ORVA GmbH")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL ${TERRIX_HOMEPAGE})
set(CPACK_PACKAGE_CONTACT ${TERRIX_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL cli)
if(TERRIX_BUILD_GUI)
    list(APPEND CPACK_COMPONENTS_ALL gui)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TERRIX_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SOURCE terrix)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME terrix-cli)
# The maintainer scripts tell systemd of the units, restart running services on an upgrade and stop them on
# removal, as dh_installsystemd's would; deb-systemd-helper and deb-systemd-invoke come from
# init-system-helpers.
set(CPACK_DEBIAN_CLI_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/postinst
    ${PROJECT_SOURCE_DIR}/packaging/prerm ${PROJECT_SOURCE_DIR}/packaging/postrm)
set(CPACK_DEBIAN_CLI_PACKAGE_DEPENDS "init-system-helpers (>= 1.54~)")
set(CPACK_COMPONENT_CLI_DESCRIPTION "maintain the sensor modules of an NKP-Bus from the command line
terrix-cli scans the NKP-Bus behind one RS232 port or USB serial adapter,
resolves address collisions by serial number, renumbers modules, measures
once or in a loop and stores every value per module, exports the values as
CSV, and reads and programs calibrations, offsets and application
parameters.

The package also holds terrix-sim, a simulated bus on a pseudo-terminal, and
the services terrix-logger, which runs the measuring loop on a headless
logger, and terrix-collect@, which collects the records a fleet of loggers
publishes (installed, not enabled).")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME terrix)
set(CPACK_DEBIAN_GUI_PACKAGE_SECTION electronics)
set(CPACK_COMPONENT_GUI_DEPENDS cli)
# Qt's own German texts (standard buttons, line-edit menus, file dialogs); without them those stay English.
set(CPACK_DEBIAN_GUI_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_COMPONENT_GUI_DESCRIPTION "maintain the sensor modules of an NKP-Bus (desktop program)
Terrix scans the NKP-Bus behind one RS232 port or USB serial adapter,
resolves address collisions by serial number, renumbers modules, measures
and stores values, lists, plots and exports them, and reads and programs
calibrations, offsets and application parameters of moisture probes,
multiplexers and XV modules. The program speaks English and German.")

include(CPack)
