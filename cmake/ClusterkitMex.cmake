# Building the host plug-ins.
#
# Every plug-in lives in mex/<name>/: the gateway <name>.cpp, a help-only
# <name>.m, and optionally the plug-in's own algorithm code in further .cpp
# files. Files named <name>.cpp or <name>_<variant>.cpp are gateway sources;
# every other .cpp file is algorithm code and becomes the static library
# <name>_code_<flavour>. Each such library is registered in the global
# property CLUSTERKIT_PLUGIN_CODE_<flavour>, from which the tests and
# benchmarks link them: adding a plug-in touches no list. A directory with a
# plugin.cmake builds itself through it (for variants or special exports);
# the others get the default rule clusterkit_default_plugin().

find_package(OctaveMex)
option(CLUSTERKIT_WITH_MATLAB "Also build the plug-ins for MATLAB where it is installed" OFF)
if(CLUSTERKIT_WITH_MATLAB)
  find_package(Matlab COMPONENTS MX_LIBRARY)
endif()

set(CLUSTERKIT_EXPORT_MAP "${CMAKE_CURRENT_LIST_DIR}/mex_exports.map")
# Version scripts and -Bsymbolic are GNU (and LLVM) linker options. Where the
# linker takes no version script, the hidden visibility of the library and
# the algorithm code keeps their symbols inside the plug-ins.
include(CheckLinkerFlag)
check_linker_flag(CXX "-Wl,--version-script=${CLUSTERKIT_EXPORT_MAP}" CLUSTERKIT_LINKER_VERSION_SCRIPT)
set(CLUSTERKIT_EXPORT_LINK_OPTIONS "")
if(CLUSTERKIT_LINKER_VERSION_SCRIPT)
  set(CLUSTERKIT_EXPORT_LINK_OPTIONS "-Wl,--version-script=${CLUSTERKIT_EXPORT_MAP}" "-Wl,-Bsymbolic")
endif()

# Folder that receives the plug-ins of one flavour: mex/ for the selected
# flavour, mex-<flavour>/ for the other one.
function(clusterkit_mex_dir flavor out_var)
  if(flavor STREQUAL CLUSTERKIT_FLAVOR)
    set(${out_var} "${CMAKE_BINARY_DIR}/mex" PARENT_SCOPE)
  else()
    set(${out_var} "${CMAKE_BINARY_DIR}/mex-${flavor}" PARENT_SCOPE)
  endif()
endfunction()

# The algorithm code of plug-in NAME for FLAVOR, if the directory has any,
# registered for the tests and benchmarks.
function(clusterkit_plugin_code name flavor dir)
  file(GLOB _sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  list(FILTER _sources EXCLUDE REGEX "/${name}(_[A-Za-z0-9]+)?\\.cpp$")
  if(_sources)
    add_library(${name}_code_${flavor} STATIC ${_sources})
    target_include_directories(${name}_code_${flavor} PUBLIC "${dir}")
    set_target_properties(${name}_code_${flavor} PROPERTIES ARCHIVE_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/lib")
    target_link_libraries(${name}_code_${flavor} PUBLIC clusterkit_lib_${flavor})
    set_property(GLOBAL APPEND PROPERTY CLUSTERKIT_PLUGIN_CODE_${flavor} ${name}_code_${flavor})
  endif()
endfunction()

# clusterkit_add_mex(TARGET t FLAVOR f OUTPUT_NAME n SOURCES ... [CODE lib]
#                    [DEFINITIONS ...] [HELP file.m] [NO_API_VERSION]
#                    [OUTPUT_DIR dir])
function(clusterkit_add_mex)
  cmake_parse_arguments(ARG "NO_API_VERSION" "TARGET;FLAVOR;OUTPUT_NAME;HELP;CODE;OUTPUT_DIR"
                        "SOURCES;DEFINITIONS" ${ARGN})
  if(ARG_OUTPUT_DIR)
    set(_outdir "${ARG_OUTPUT_DIR}")
  else()
    clusterkit_mex_dir(${ARG_FLAVOR} _outdir)
  endif()
  set_property(GLOBAL APPEND PROPERTY CLUSTERKIT_GATEWAY_SOURCES ${ARG_SOURCES})
  set(_sources ${ARG_SOURCES} "${PROJECT_SOURCE_DIR}/mex/common/gateway.cpp")
  if(ARG_FLAVOR STREQUAL "macos" AND NOT ARG_NO_API_VERSION)
    list(APPEND _sources "${PROJECT_SOURCE_DIR}/mex/common/api_version.cpp")
  endif()
  set(_libs clusterkit_lib_${ARG_FLAVOR})
  if(ARG_CODE)
    list(PREPEND _libs ${ARG_CODE})
  endif()

  if(OctaveMex_FOUND)
    add_library(${ARG_TARGET} MODULE ${_sources})
    set_target_properties(${ARG_TARGET} PROPERTIES
      PREFIX "" SUFFIX ".mex" OUTPUT_NAME ${ARG_OUTPUT_NAME}
      LIBRARY_OUTPUT_DIRECTORY "${_outdir}"
      # mexFunction comes without a visibility attribute from the host's
      # header; the export map below decides what leaves the file.
      CXX_VISIBILITY_PRESET default)
    target_include_directories(${ARG_TARGET} PRIVATE ${OctaveMex_INCLUDE_DIRS} "${PROJECT_SOURCE_DIR}/mex/common")
    target_compile_definitions(${ARG_TARGET} PRIVATE ${ARG_DEFINITIONS})
    target_link_libraries(${ARG_TARGET} PRIVATE ${_libs})
    # Only the host entry points leave the plug-in; host symbols stay
    # undefined and are bound by Octave when it loads the file.
    target_link_options(${ARG_TARGET} PRIVATE ${CLUSTERKIT_EXPORT_LINK_OPTIONS})
    set_property(TARGET ${ARG_TARGET} APPEND PROPERTY LINK_DEPENDS "${CLUSTERKIT_EXPORT_MAP}")
    if(ARG_HELP)
      add_custom_command(TARGET ${ARG_TARGET} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different "${ARG_HELP}" "${_outdir}/${ARG_OUTPUT_NAME}.m")
    endif()
    set_property(GLOBAL APPEND PROPERTY CLUSTERKIT_MEX_TARGETS ${ARG_TARGET})
    if(ARG_NO_API_VERSION)
      set_property(GLOBAL APPEND PROPERTY CLUSTERKIT_NO_API_VERSION_PLUGINS ${ARG_OUTPUT_NAME})
    endif()
  endif()

  if(CLUSTERKIT_WITH_MATLAB AND Matlab_FOUND)
    matlab_add_mex(NAME ${ARG_TARGET}_matlab SRC ${_sources} OUTPUT_NAME ${ARG_OUTPUT_NAME} LINK_TO ${_libs})
    target_include_directories(${ARG_TARGET}_matlab PRIVATE "${PROJECT_SOURCE_DIR}/mex/common")
    target_compile_definitions(${ARG_TARGET}_matlab PRIVATE ${ARG_DEFINITIONS})
    set_target_properties(${ARG_TARGET}_matlab PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${_outdir}/matlab")
  endif()
endfunction()

# The usual plug-in: gateway <name>.cpp, help <name>.m, optional algorithm code.
function(clusterkit_default_plugin name flavor dir)
  set(_code "")
  if(TARGET ${name}_code_${flavor})
    set(_code CODE ${name}_code_${flavor})
  endif()
  set(_help "")
  if(EXISTS "${dir}/${name}.m")
    set(_help HELP "${dir}/${name}.m")
  endif()
  clusterkit_add_mex(TARGET ${name}_${flavor} FLAVOR ${flavor} OUTPUT_NAME ${name}
                     SOURCES "${dir}/${name}.cpp" ${_code} ${_help} ${ARGN})
endfunction()

# Fails the configuration when a gateway source of plug-in NAME in DIR
# (<name>.cpp or <name>_<variant>.cpp, which never go into the algorithm
# library) was built into no plug-in: such a file would otherwise be left out
# without a word. Called once all plug-ins are defined.
function(clusterkit_check_gateway_sources name dir)
  get_property(_built GLOBAL PROPERTY CLUSTERKIT_GATEWAY_SOURCES)
  file(GLOB _gateways "${dir}/${name}.cpp" "${dir}/${name}_*.cpp")
  foreach(_file IN LISTS _gateways)
    if(NOT _file IN_LIST _built)
      message(FATAL_ERROR "${_file} is named as a gateway source of ${name} but no plug-in "
                          "builds it. Gateway variants need a plugin.cmake; algorithm code "
                          "must not start with '${name}_' (see docs/DEVELOPING.md).")
    endif()
  endforeach()
endfunction()
