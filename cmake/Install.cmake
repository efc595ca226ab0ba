include(CMakePackageConfigHelpers)

install(TARGETS tarvic EXPORT tarvicTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT tarvicTargets NAMESPACE tarvic::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tarvic)

configure_package_config_file(cmake/tarvicConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/tarvicConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tarvic)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/tarvicConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarvicConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/tarvicConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/tarvic)

# The prefix is found from the file's own place, so that an install under
# another --prefix than the configured one still describes itself correctly.
file(RELATIVE_PATH TARVIC_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
configure_file(cmake/tarvic.pc.in ${CMAKE_CURRENT_BINARY_DIR}/tarvic.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tarvic.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
install(TARGETS cardsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
