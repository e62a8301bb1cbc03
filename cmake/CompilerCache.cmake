# Compiles through ccache when it is installed. Paths are taken relative to the
# checkout (CCACHE_BASEDIR), so another clone or worktree reuses the same
# cache. Turn BRP_CCACHE off to give CMAKE_CXX_COMPILER_LAUNCHER yourself.
option(BRP_CCACHE "Compile through ccache when it is installed" ON)
if(BRP_CCACHE)
  find_program(BRP_CCACHE_PROGRAM ccache)
  if(BRP_CCACHE_PROGRAM)
    if(DEFINED ENV{CCACHE_BASEDIR})
      set(_base "$ENV{CCACHE_BASEDIR}")
    else()
      set(_base "${PROJECT_SOURCE_DIR}")
    endif()
    set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${_base} ${BRP_CCACHE_PROGRAM})
  endif()
endif()
