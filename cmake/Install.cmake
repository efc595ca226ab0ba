# What a controlling application needs: the library (component lib), and its
# headers, CMake package and pkg-config file (component dev).
include(CMakePackageConfigHelpers)

install(TARGETS tarvic EXPORT tarvicTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT lib NAMELINK_COMPONENT dev
  FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev)
install(FILES ${TARVIC_VERSION_HEADER}
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tarvic COMPONENT dev)
install(EXPORT tarvicTargets NAMESPACE tarvic::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tarvic COMPONENT dev)

configure_package_config_file(cmake/tarvicConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/tarvicConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tarvic)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/tarvicConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarvicConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/tarvicConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tarvic COMPONENT dev)

# The prefix is found from the file's own place, so that an install under
# another --prefix than the configured one still describes itself correctly.
file(RELATIVE_PATH TARVIC_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
configure_file(cmake/tarvic.pc.in ${CMAKE_CURRENT_BINARY_DIR}/tarvic.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarvic.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
