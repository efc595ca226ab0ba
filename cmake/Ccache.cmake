# Every compilation goes through ccache when it is there, so that a second
# build folder or a fresh clone on the same machine recompiles only what
# changed (the scripts set CCACHE_BASEDIR to the clone for that).
if(TARVIC_USE_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  find_program(TARVIC_CCACHE_PROGRAM ccache)
  if(TARVIC_CCACHE_PROGRAM)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${TARVIC_CCACHE_PROGRAM})
  endif()
endif()
