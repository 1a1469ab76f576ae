# The Debian package, built from the build folder with `cpack -G DEB`.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME relayeur)
set(CPACK_PACKAGE_VENDOR "L'équipe Relayeur")
set(CPACK_PACKAGE_CONTACT "L'équipe Relayeur <equipe@relayeur.github.io>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "live machine information on a character LCD panel")
# The summary is the description's first line; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Relayeur drives a small character LCD panel and shows on it live information:
memory, date and time, network address, hardware sensors, the media player,
SETI@home and Half-Life. A profile of up to 50 pages of four lines with %%
variables says what goes where. Its window, log and messages are in French, or
in English for English-speaking users.
.
The panel is one of:
 - a panel drawn on the screen, in the window or in a terminal;
 - a serial panel with its own controller;
 - an HD44780 module on the parallel port;
 - any panel that LCDd, the LCDproc server, drives;
 - an HD44780 module with a PCF8574 I2C backpack;
 - an HD44780 module on GPIO lines (a Raspberry Pi's header);
 - the module Linux drives itself (/dev/lcd);
 - a Matrix Orbital-compatible module on a USB serial line.
relayeur --detecter finds the panels the machine reaches and writes their settings.
.
The package holds relayeur, relayeur-send (puts a text on a panel line from a
script) and relayeur-sensors (publishes the sensors read through libsensors;
its systemd user service is enabled for every user).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://relayeur.github.io/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own texts and the system's error texts in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libc-l10n")
# relayeur-sensors.service is enabled for every user by the maintainer scripts, with the --user
# option of deb-systemd-helper and deb-systemd-invoke.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "init-system-helpers (>= 1.61~)")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/postinst
  ${CMAKE_CURRENT_LIST_DIR}/debian/prerm ${CMAKE_CURRENT_LIST_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS lm-sensors)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
