# What `cmake --install` puts on a desktop system: the program, brptool and the
# demo-data tool, the program's menu entry and icon, and the saved-report file
# type, opened by `brptool view`.
include(GNUInstallDirs)
install(TARGETS pedidos brptool pedidos-demo-db RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(_desktop ${PROJECT_SOURCE_DIR}/resources/desktop)
install(FILES ${_desktop}/pedidos.desktop ${_desktop}/brptool-view.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_desktop}/pedidos-brp.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${_desktop}/pedidos.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(_size 16 24 32 48 64 128 256)
  install(FILES ${_desktop}/pedidos-${_size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
          RENAME pedidos.png)
endforeach()

# Refresh the desktop's caches when installing into the system's own prefix;
# a staged install (DESTDIR) leaves that to the package manager.
install(CODE [[
  if(NOT DEFINED ENV{DESTDIR} OR "$ENV{DESTDIR}" STREQUAL "")
    find_program(_update_mime update-mime-database)
    find_program(_update_desktop update-desktop-database)
    if(_update_mime)
      execute_process(COMMAND ${_update_mime} "${CMAKE_INSTALL_PREFIX}/share/mime" OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(_update_desktop)
      execute_process(COMMAND ${_update_desktop} "${CMAKE_INSTALL_PREFIX}/share/applications" OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
]])
