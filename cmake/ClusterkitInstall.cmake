# Installation of the C++ library: the static library of the selected
# flavour as clusterkit::clusterkit, the stand-in host console, the target
# clusterkit::standalone that joins them for programs without a host, the
# headers under include/clusterkit/ (#include <clusterkit/utility.h>), a CMake
# package with its version file, and pkg-config files.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(CLUSTERKIT_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/clusterkit")
set(_library clusterkit_lib_${CLUSTERKIT_FLAVOR})

set_target_properties(${_library} PROPERTIES OUTPUT_NAME clusterkit EXPORT_NAME clusterkit)
set_target_properties(clusterkit_host_standin PROPERTIES EXPORT_NAME host_standin)
set_target_properties(clusterkit_standalone PROPERTIES EXPORT_NAME standalone)
target_include_directories(${_library} INTERFACE "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>")
target_include_directories(clusterkit_host_standin INTERFACE "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>")
add_library(clusterkit::clusterkit ALIAS ${_library})

install(TARGETS ${_library} clusterkit_host_standin clusterkit_standalone
        EXPORT clusterkitTargets
        ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}")
# Every header of both units and of the stand-in: they include each other by
# plain file name, so they share one folder, whose name keeps them apart
# from other libraries' headers.
file(GLOB _headers "${PROJECT_SOURCE_DIR}/lib/utility/*.h" "${PROJECT_SOURCE_DIR}/lib/clusterkit/*.h"
                   "${PROJECT_SOURCE_DIR}/lib/host_standin/*.h")
set(_header_names "")
foreach(_header IN LISTS _headers)
  get_filename_component(_header_name "${_header}" NAME)
  if(_header_name IN_LIST _header_names)
    message(FATAL_ERROR "Two headers named ${_header_name}: they would overwrite each other in include/clusterkit/")
  endif()
  list(APPEND _header_names "${_header_name}")
endforeach()
install(FILES ${_headers} DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/clusterkit")

install(EXPORT clusterkitTargets NAMESPACE clusterkit:: DESTINATION "${CLUSTERKIT_INSTALL_CMAKEDIR}")
configure_package_config_file("${CMAKE_CURRENT_LIST_DIR}/clusterkitConfig.cmake.in"
                              "${CMAKE_CURRENT_BINARY_DIR}/clusterkitConfig.cmake"
                              INSTALL_DESTINATION "${CLUSTERKIT_INSTALL_CMAKEDIR}")
write_basic_package_version_file("${CMAKE_CURRENT_BINARY_DIR}/clusterkitConfigVersion.cmake"
                                 COMPATIBILITY SameMajorVersion)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/clusterkitConfig.cmake"
              "${CMAKE_CURRENT_BINARY_DIR}/clusterkitConfigVersion.cmake"
        DESTINATION "${CLUSTERKIT_INSTALL_CMAKEDIR}")

# The pkg-config files find the prefix from their own place, so that an
# install with cmake --install --prefix <dir> is found where it lands.
file(RELATIVE_PATH CLUSTERKIT_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
foreach(_pc IN ITEMS clusterkit clusterkit-standalone)
  configure_file("${CMAKE_CURRENT_LIST_DIR}/${_pc}.pc.in" "${CMAKE_CURRENT_BINARY_DIR}/${_pc}.pc" @ONLY)
  install(FILES "${CMAKE_CURRENT_BINARY_DIR}/${_pc}.pc" DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
endforeach()
