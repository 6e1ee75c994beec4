# Makes the Octave package clusterkit-<version>.tar.gz that pkg install takes.
#
#   cmake -P cmake/OctavePackage.cmake                      (into build/)
#   cmake -DOUTPUT_DIR=<dir> -P cmake/OctavePackage.cmake
#
# Layout of the package:
#   DESCRIPTION, INDEX, COPYING, NEWS
#   post_install.m moves the help files beside the plug-ins
#   inst/          help files of the plug-ins (with their self-tests),
#                  clusterkitVersion, clusterkitSelfTest, clusterkitBuild,
#                  clusterkitDemo, and demo/ with the demo's scripts
#   inst/source/   the sources, which src/Makefile compiles at install time
#                  and clusterkitBuild compiles for another host
#   src/Makefile   builds every plug-in with mkoctfile --mex
# Needs nothing but CMake: no configured build tree.
cmake_minimum_required(VERSION 3.20)
if(NOT SOURCE_DIR)
  get_filename_component(SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()
if(NOT OUTPUT_DIR)
  set(OUTPUT_DIR "${SOURCE_DIR}/build")
endif()
file(STRINGS "${SOURCE_DIR}/VERSION" CLUSTERKIT_VERSION LIMIT_COUNT 1)
# The package date is the day it was made (SOURCE_DATE_EPOCH, when set, fixes it).
string(TIMESTAMP CLUSTERKIT_DATE "%Y-%m-%d" UTC)

set(_name "clusterkit-${CLUSTERKIT_VERSION}")
set(_stage "${OUTPUT_DIR}/octave-package")
set(_root "${_stage}/${_name}")
file(REMOVE_RECURSE "${_stage}")
file(MAKE_DIRECTORY "${_root}/inst/demo" "${_root}/inst/source/cmake" "${_root}/src")

configure_file("${SOURCE_DIR}/package/DESCRIPTION.in" "${_root}/DESCRIPTION" @ONLY)
configure_file("${SOURCE_DIR}/package/INDEX" "${_root}/INDEX" COPYONLY)
configure_file("${SOURCE_DIR}/COPYING" "${_root}/COPYING" COPYONLY)
configure_file("${SOURCE_DIR}/NEWS.md" "${_root}/NEWS" COPYONLY)
configure_file("${SOURCE_DIR}/package/Makefile" "${_root}/src/Makefile" COPYONLY)
configure_file("${SOURCE_DIR}/package/post_install.m" "${_root}/post_install.m" COPYONLY)

# Sources, for src/Makefile and clusterkitBuild.
file(COPY "${SOURCE_DIR}/lib/utility" "${SOURCE_DIR}/lib/clusterkit"
     DESTINATION "${_root}/inst/source/lib")
file(COPY "${SOURCE_DIR}/mex" "${SOURCE_DIR}/toolbox" "${SOURCE_DIR}/VERSION"
     DESTINATION "${_root}/inst/source")
file(COPY "${SOURCE_DIR}/cmake/mex_exports.map" DESTINATION "${_root}/inst/source/cmake")
file(REMOVE "${_root}/inst/source/mex/CMakeLists.txt")

# Functions on the path once the package is loaded.
configure_file("${SOURCE_DIR}/toolbox/clusterkitVersion.m.in" "${_root}/inst/clusterkitVersion.m" @ONLY)
file(COPY "${SOURCE_DIR}/toolbox/clusterkitBuild.m" "${SOURCE_DIR}/toolbox/clusterkitSelfTest.m"
          "${SOURCE_DIR}/demo/clusterkitDemo.m"
     DESTINATION "${_root}/inst")
file(GLOB _demo_scripts "${SOURCE_DIR}/demo/demo_*.m")
file(COPY ${_demo_scripts} "${SOURCE_DIR}/docs/example_model.gmm" DESTINATION "${_root}/inst/demo")

# Help files: <plugin>.m of each plug-in folder; mixtureScore's two variants
# from their templates, named as the Linux flavour ships them.
file(GLOB _plugin_dirs LIST_DIRECTORIES true "${SOURCE_DIR}/mex/*")
foreach(_dir IN LISTS _plugin_dirs)
  get_filename_component(_plugin "${_dir}" NAME)
  if(EXISTS "${_dir}/${_plugin}.m")
    configure_file("${_dir}/${_plugin}.m" "${_root}/inst/${_plugin}.m" COPYONLY)
  endif()
endforeach()
foreach(_variant_name IN ITEMS "mixture;mixtureScore" "single;mixtureScoreSingle")
  list(GET _variant_name 0 _variant)
  list(GET _variant_name 1 PLUGIN_NAME)
  configure_file("${SOURCE_DIR}/mex/mixtureScore/help_${_variant}.m.in"
                 "${_root}/inst/${PLUGIN_NAME}.m" @ONLY)
endforeach()

set(_tarball "${OUTPUT_DIR}/${_name}.tar.gz")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar czf "${_tarball}" "${_name}"
                WORKING_DIRECTORY "${_stage}" RESULT_VARIABLE _status)
if(NOT _status EQUAL 0)
  message(FATAL_ERROR "Could not write ${_tarball}")
endif()
message(STATUS "Octave package: ${_tarball}")
