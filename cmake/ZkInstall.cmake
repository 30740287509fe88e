# What `cmake --install` puts where (GNUInstallDirs; any prefix, DESTDIR):
#
#   <libexecdir>/zkestrel/   the program, its pictures (img/, panel/) and the
#                            about icon: it loads them from its own folder;
#                            zk-desktop, the desktop services, beside it
#   <bindir>/zKestrel        the launcher on PATH (dist/zKestrel.in)
#   <bindir>/qcop            the bus tool
#   lib/systemd/user/        zkestrel.service, the resident in the session,
#                            and zkestrel-desktop.service, the desktop services
#   <datadir>/applications/  zkestrel.desktop, the window
#   <datadir>/doc/zkestrel/  copyright, in Debian's machine-readable form
#
# The language resources are inside the program. The simulated phone, the
# tests and their helpers are not installed.
include(GNUInstallDirs)

set(ZK_INSTALL_APPDIR "${CMAKE_INSTALL_LIBEXECDIR}/zkestrel" CACHE STRING
    "Folder of the program and its pictures, relative to the prefix")
set(ZK_INSTALL_USERUNITDIR "lib/systemd/user" CACHE STRING
    "Folder of the systemd user unit, relative to the prefix")

install(TARGETS zKestrel zk-desktop RUNTIME DESTINATION ${ZK_INSTALL_APPDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/img ${CMAKE_SOURCE_DIR}/panel
        DESTINATION ${ZK_INSTALL_APPDIR}
        FILES_MATCHING PATTERN "*.png")
install(FILES ${zk_about_icons} DESTINATION ${ZK_INSTALL_APPDIR})
install(TARGETS qcop RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/dist/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zkestrel)

# The launcher knows the program's folder relative to its own, so it holds
# for any prefix and under DESTDIR.
file(RELATIVE_PATH ZK_APPDIR_FROM_BINDIR
     "/${CMAKE_INSTALL_BINDIR}" "/${ZK_INSTALL_APPDIR}")
configure_file(${CMAKE_SOURCE_DIR}/dist/zKestrel.in ${CMAKE_BINARY_DIR}/dist/zKestrel @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/dist/zKestrel DESTINATION ${CMAKE_INSTALL_BINDIR})

# The unit and the desktop entry name the launcher by its full path, which
# is known when installing: `cmake --install --prefix` may move it.
install(CODE "
  set(zk_prefix \"\${CMAKE_INSTALL_PREFIX}\")
  set(ZK_FULL_BINDIR \"\${zk_prefix}/${CMAKE_INSTALL_BINDIR}\")
  set(ZK_FULL_APPDIR \"\${zk_prefix}/${ZK_INSTALL_APPDIR}\")
  string(RANDOM LENGTH 12 zk_tag)
  set(zk_out \"${CMAKE_BINARY_DIR}/dist/install-\${zk_tag}\")
  configure_file(\"${CMAKE_SOURCE_DIR}/dist/zkestrel.service.in\" \"\${zk_out}/zkestrel.service\" @ONLY)
  configure_file(\"${CMAKE_SOURCE_DIR}/dist/zkestrel-desktop.service.in\" \"\${zk_out}/zkestrel-desktop.service\" @ONLY)
  configure_file(\"${CMAKE_SOURCE_DIR}/dist/zkestrel.desktop.in\" \"\${zk_out}/zkestrel.desktop\" @ONLY)
  file(INSTALL DESTINATION \"\${zk_prefix}/${ZK_INSTALL_USERUNITDIR}\" TYPE FILE
       FILES \"\${zk_out}/zkestrel.service\" \"\${zk_out}/zkestrel-desktop.service\")
  file(INSTALL DESTINATION \"\${zk_prefix}/${CMAKE_INSTALL_DATADIR}/applications\" TYPE FILE
       FILES \"\${zk_out}/zkestrel.desktop\")
  file(REMOVE_RECURSE \"\${zk_out}\")
")
