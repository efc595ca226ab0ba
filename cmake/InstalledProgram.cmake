# tarvic_install_program(target COMPONENT component)
# Installs a program that links the library. Its run path is relative to the
# program itself, so the installed tree works from any prefix without
# LD_LIBRARY_PATH (including `cmake --install --prefix` elsewhere).
file(RELATIVE_PATH TARVIC_BINDIR_TO_LIBDIR
  "/${CMAKE_INSTALL_BINDIR}" "/${CMAKE_INSTALL_LIBDIR}")
function(tarvic_install_program target)
  cmake_parse_arguments(ARG "" "COMPONENT" "" ${ARGN})
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${TARVIC_BINDIR_TO_LIBDIR}")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${ARG_COMPONENT})
endfunction()
