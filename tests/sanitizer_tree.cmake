# Configures and builds one sanitizer tree of the project with clang, beside
# the ordinary build:
#
#   cmake -DKIND=address -DBINARY_DIR=build/sanitize -P tests/sanitizer_tree.cmake
#   cmake -DKIND=thread  -DBINARY_DIR=build/tsan     -P tests/sanitizer_tree.cmake
#
# address: the address and undefined-behaviour sanitizers (every report is
#   fatal; leak checking happens at run time) and libFuzzer's coverage; builds
#   the library's unit tests and the fuzz targets, or the TARGETS given
#   (-DTARGETS=all adds the plug-ins, for running the Octave tests under the
#   sanitizers).
# thread: the thread sanitizer; builds the concurrency test.
cmake_minimum_required(VERSION 3.20)
get_filename_component(_source "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(NOT BINARY_DIR)
  message(FATAL_ERROR "Give -DBINARY_DIR=<folder of the tree>")
endif()
find_program(_clangxx NAMES clang++-14 clang++)
find_program(_clang NAMES clang-14 clang)
if(NOT _clangxx OR NOT _clang)
  message(FATAL_ERROR "clang is needed (Debian packages clang and libclang-rt-14-dev)")
endif()

set(_common "-O1 -g -fno-omit-frame-pointer")
if(KIND STREQUAL "address")
  set(_flags "${_common} -fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all")
  set(_options -DCLUSTERKIT_BUILD_FUZZ=ON)
  set(_default_targets unit_tests_linux fuzz_targets)
elseif(KIND STREQUAL "thread")
  set(_flags "${_common} -fsanitize=thread")
  set(_options -DCLUSTERKIT_BUILD_THREAD_TESTS=ON)
  set(_default_targets thread_tests)
else()
  message(FATAL_ERROR "KIND must be address or thread, not '${KIND}'")
endif()
if(NOT TARGETS)
  set(TARGETS ${_default_targets})
endif()

execute_process(
  COMMAND ${CMAKE_COMMAND} -S "${_source}" -B "${BINARY_DIR}"
          -DCMAKE_BUILD_TYPE=None -DCMAKE_C_COMPILER=${_clang} -DCMAKE_CXX_COMPILER=${_clangxx}
          "-DCMAKE_CXX_FLAGS=${_flags}" -DCLUSTERKIT_FLAVOR=linux
          -DCLUSTERKIT_BUILD_TESTS=ON -DCLUSTERKIT_OTHER_FLAVOR=OFF -DCLUSTERKIT_BUILD_BENCH=OFF
          -DCLUSTERKIT_BUILD_EXAMPLES=OFF -DCLUSTERKIT_SANITIZER_CHECKS=OFF ${_options}
  RESULT_VARIABLE _configured)
if(NOT _configured EQUAL 0)
  message(FATAL_ERROR "configuring ${BINARY_DIR} failed")
endif()
cmake_host_system_information(RESULT _cores QUERY NUMBER_OF_LOGICAL_CORES)
set(_target_args "")
foreach(_target IN LISTS TARGETS)
  list(APPEND _target_args --target ${_target})
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${BINARY_DIR}" --parallel ${_cores} ${_target_args}
                RESULT_VARIABLE _built)
if(NOT _built EQUAL 0)
  message(FATAL_ERROR "building ${BINARY_DIR} failed")
endif()
