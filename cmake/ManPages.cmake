# Manual pages: kept as scdoc text in docs/man (NAME.1.scd), turned into roff
# at build time (build/man/NAME.1) and compressed for installing (NAME.1.gz).
# Without scdoc the pages are not built, and neither installed nor packaged.
find_program(SCDOC_EXECUTABLE scdoc)
find_program(GZIP_EXECUTABLE gzip)
set(BRP_MAN_DIR ${PROJECT_BINARY_DIR}/man)
set(BRP_MAN_PAGES pedidos.1 brptool.1 pedidos-demo-db.1 pedidos-listagem.1)
if(SCDOC_EXECUTABLE AND GZIP_EXECUTABLE)
  set(_man_outputs)
  foreach(_page ${BRP_MAN_PAGES})
    set(_src ${PROJECT_SOURCE_DIR}/docs/man/${_page}.scd)
    set(_out ${BRP_MAN_DIR}/${_page})
    # -n: no name or time stamp in the archive, so builds are reproducible.
    add_custom_command(OUTPUT ${_out} ${_out}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${BRP_MAN_DIR}
      COMMAND sh -c "\"$0\" < \"$1\" > \"$2\" && \"$3\" -9n -c \"$2\" > \"$2.gz\""
              ${SCDOC_EXECUTABLE} ${_src} ${_out} ${GZIP_EXECUTABLE}
      DEPENDS ${_src}
      COMMENT "Manual page ${_page}"
      VERBATIM)
    list(APPEND _man_outputs ${_out})
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${_man_outputs})
  set(BRP_MAN_PAGES_BUILT ON)
else()
  message(STATUS "scdoc not found: the manual pages are not built (scripts/install-deps.sh installs it)")
  set(BRP_MAN_PAGES_BUILT OFF)
endif()
