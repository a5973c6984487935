# The installed package a lab's reader plug-in builds against:
#   find_package(Corvelin REQUIRED)
#   add_library(my-reader MODULE MyReader.cpp)
#   target_link_libraries(my-reader PRIVATE Corvelin::engine)
# installs the engine library, the headers of engine/core, options, peaks, platform and plugins under
# include/corvelinscope/engine/ (included as "engine/core/LibraryChromatogram.h", "engine/plugins/PluginInterface.h",
# ...) and lib/cmake/Corvelin/.
include(CMakePackageConfigHelpers)

set(CORVELIN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Corvelin)
install(TARGETS corvelin-engine EXPORT CorvelinTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
# Only what a plug-in author needs: the chromatogram (core), the options, the peak detector and scan run a raw-data
# module detects with (peaks), the platform helpers and the plug-in interface. Their headers include nothing from
# the other engine folders (the sample plug-in test checks it).
foreach(folder core options peaks platform plugins)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/engine/${folder}/
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvelinscope/engine/${folder} FILES_MATCHING PATTERN "*.h")
endforeach()
install(EXPORT CorvelinTargets NAMESPACE Corvelin:: FILE CorvelinTargets.cmake DESTINATION ${CORVELIN_CMAKE_DIR})

configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/CorvelinConfig.cmake.in
  ${CMAKE_BINARY_DIR}/CorvelinConfig.cmake INSTALL_DESTINATION ${CORVELIN_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/CorvelinConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/CorvelinConfig.cmake ${CMAKE_BINARY_DIR}/CorvelinConfigVersion.cmake
  DESTINATION ${CORVELIN_CMAKE_DIR})
