# Installs the C++ library from the build tree into a temporary prefix, then
# builds and runs a consumer against it twice: as a CMake project through
# find_package(clusterkit CONFIG), and by hand through pkg-config.
#   cmake -DBINARY_DIR=... -DWORK_DIR=... -DCXX=... [-DPKG_CONFIG=...] -P cxx_install_test.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
set(_prefix "${WORK_DIR}/prefix")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BINARY_DIR}" --prefix "${_prefix}"
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

set(_consumer "${CMAKE_CURRENT_LIST_DIR}/consumer")
execute_process(COMMAND "${CMAKE_COMMAND}" -S "${_consumer}" -B "${WORK_DIR}/build"
                        "-DCMAKE_PREFIX_PATH=${_prefix}" -DCMAKE_BUILD_TYPE=Release
                        "-DCMAKE_CXX_COMPILER=${CXX}"
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${WORK_DIR}/build" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND "${WORK_DIR}/build/consumer" COMMAND_ERROR_IS_FATAL ANY)

if(PKG_CONFIG)
  file(GLOB_RECURSE _pc_files "${_prefix}/clusterkit-standalone.pc")
  get_filename_component(_pc_dir "${_pc_files}" DIRECTORY)
  set(ENV{PKG_CONFIG_PATH} "${_pc_dir}")
  execute_process(COMMAND "${PKG_CONFIG}" --cflags --libs clusterkit-standalone
                  OUTPUT_VARIABLE _flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(_flags UNIX_COMMAND "${_flags}")
  execute_process(COMMAND "${CXX}" -std=c++17 "${_consumer}/main.cpp" ${_flags}
                          -o "${WORK_DIR}/consumer_pkgconfig"
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND "${WORK_DIR}/consumer_pkgconfig" COMMAND_ERROR_IS_FATAL ANY)
endif()
file(REMOVE_RECURSE "${WORK_DIR}")
