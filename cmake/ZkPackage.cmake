# The Debian package (CPack): `bash scripts/package.sh`, or `cpack` in a
# build folder. It holds what `cmake --install` installs, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zkestrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The zKestrel team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Task manager with a resident pop-up mode for small screens")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "zKestrel shows the running tasks (bring to front, quit, kill, priority, details), "
  "up to twenty favourite applications to start, and a CPU, RAM and swap monitor "
  "with history graphs, in one 240x320 window. Resident (zKestrel -daemon, or the "
  "systemd user unit zkestrel.service) it pops its window up when started again or "
  "on a message over the D-Bus session bus. Comes with qcop, a command-line client "
  "of its message bus.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The zKestrel team <zkestrel@users.noreply.example.org>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are those of the programs' shared libraries
# (dpkg-shlibdeps); the session bus is only needed by the resident mode,
# Qt's Wayland platform only on a Wayland desktop without Xwayland.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "dbus-user-session | dbus-x11, qt6-wayland")

include(CPack)
