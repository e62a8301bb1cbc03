# What `cmake --install` (and the Debian package) puts on a desktop system: the
# programs with their manual pages, the program's menu entry, icon and AppStream
# description, and the saved-report file type, opened by `brptool view`.
include(GNUInstallDirs)
# Folders as a system wants them, whatever the installer's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Every program that this build makes, with its manual page when there is one.
set(_programs)
foreach(_program pedidos brptool pedidos-demo-db pedidos-listagem)
  if(TARGET ${_program})
    list(APPEND _programs ${_program})
    # OPTIONAL: a build of the programs alone (scripts/run.sh) has no pages.
    if(BRP_MAN_PAGES_BUILT)
      install(FILES ${BRP_MAN_DIR}/${_program}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 OPTIONAL)
    endif()
  endif()
endforeach()
install(TARGETS ${_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

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

# What software centres show; the screenshots are those of docs/ where the
# repository's documentation is published.
set(BRP_DOCS_URL "https://pedidos.example/docs" CACHE STRING "Where the repository's docs/ folder is published")
configure_file(${_desktop}/org.example.pedidos.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/org.example.pedidos.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/org.example.pedidos.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The README, the copyright and the change log (compressed, as Debian keeps it;
# made when configuring, so that installing after a partial build finds it).
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog ${PROJECT_BINARY_DIR}/changelog COPYONLY)
execute_process(COMMAND gzip -9n -f ${PROJECT_BINARY_DIR}/changelog RESULT_VARIABLE _gzip)
if(_gzip)
  message(FATAL_ERROR "gzip failed on the change log")
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/cmake/debian/copyright
              ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pedidos)

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
