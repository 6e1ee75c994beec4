# The hardening checks of the test command. Two more trees are built with
# clang by tests/sanitizer_tree.cmake, as tests themselves: one with the
# address and undefined-behaviour sanitizers (the unit tests, with leak
# checking, and a short fuzzing run of each fuzz target from its seeds), one
# with the thread sanitizer (the concurrency test). Included by
# tests/CMakeLists.txt; the trees set CLUSTERKIT_SANITIZER_CHECKS off.
option(CLUSTERKIT_SANITIZER_CHECKS "Build sanitizer and fuzzing trees with clang and run them as tests" ON)
option(CLUSTERKIT_BUILD_FUZZ "Build the fuzz targets (needs clang and -fsanitize=fuzzer-no-link)" OFF)
option(CLUSTERKIT_BUILD_THREAD_TESTS "Build the concurrency test (meant for -fsanitize=thread)" OFF)
set(CLUSTERKIT_FUZZ_TARGETS gmm_read speaker_read tables text_files strings)
if(CLUSTERKIT_BUILD_FUZZ)
  add_subdirectory(fuzz)
endif()
if(CLUSTERKIT_BUILD_THREAD_TESTS)
  add_subdirectory(threads)
endif()
if(NOT CLUSTERKIT_SANITIZER_CHECKS)
  return()
endif()
find_program(CLUSTERKIT_CLANGXX NAMES clang++-14 clang++)
if(NOT CLUSTERKIT_CLANGXX)
  message(WARNING "clang++ not found: the sanitizer and fuzzing tests are left out. "
                  "Install the Debian packages clang and libclang-rt-14-dev.")
  return()
endif()

set(_tree_script "${CMAKE_CURRENT_SOURCE_DIR}/sanitizer_tree.cmake")
set(_asan_tree "${CMAKE_BINARY_DIR}/sanitize")
set(_tsan_tree "${CMAKE_BINARY_DIR}/tsan")
foreach(_kind IN ITEMS address thread)
  if(_kind STREQUAL "address")
    set(_tree "${_asan_tree}")
  else()
    set(_tree "${_tsan_tree}")
  endif()
  add_test(NAME sanitize.${_kind}.build
           COMMAND ${CMAKE_COMMAND} -DKIND=${_kind} "-DBINARY_DIR=${_tree}" -P "${_tree_script}")
  # The build uses every core: ctest runs nothing beside it.
  set_tests_properties(sanitize.${_kind}.build PROPERTIES
    FIXTURES_SETUP sanitize_${_kind}_tree PROCESSORS 2 TIMEOUT 1800)
endforeach()

# Every sanitizer report ends its test with a failure; leaks are reported
# when a process ends.
set(_with_sanitizer_options ${CMAKE_COMMAND} -E env "ASAN_OPTIONS=detect_leaks=1"
    "UBSAN_OPTIONS=print_stacktrace=1" "TSAN_OPTIONS=halt_on_error=1")
add_test(NAME sanitize.address.unit_tests
         COMMAND ${_with_sanitizer_options} "${_asan_tree}/tests/unit_tests_linux")
add_test(NAME sanitize.thread.concurrency
         COMMAND ${_with_sanitizer_options} "${_tsan_tree}/tests/threads/thread_tests")
set_tests_properties(sanitize.address.unit_tests PROPERTIES FIXTURES_REQUIRED sanitize_address_tree)
set_tests_properties(sanitize.thread.concurrency PROPERTIES FIXTURES_REQUIRED sanitize_thread_tree)

# A smoke run of each fuzz target: its seeds, then a fixed number of
# mutated inputs from a fixed seed. Inputs it finds go to a folder of the
# tree, never into the seeds of the source tree.
set(CLUSTERKIT_FUZZ_SMOKE_RUNS 5000 CACHE STRING "Inputs per fuzz target in the test command")
foreach(_name IN LISTS CLUSTERKIT_FUZZ_TARGETS)
  add_test(NAME sanitize.fuzz.${_name}
           COMMAND ${_with_sanitizer_options} "${CMAKE_CURRENT_SOURCE_DIR}/fuzz/run_fuzz.sh" ${_name} "${_asan_tree}"
                   -runs=${CLUSTERKIT_FUZZ_SMOKE_RUNS} -seed=1)
  set_tests_properties(sanitize.fuzz.${_name} PROPERTIES FIXTURES_REQUIRED sanitize_address_tree)
endforeach()

get_property(_sanitizer_tests DIRECTORY PROPERTY TESTS)
list(FILTER _sanitizer_tests INCLUDE REGEX "^sanitize\\.")
foreach(_test IN LISTS _sanitizer_tests)
  if(NOT _test MATCHES "\\.build$")
    # Library failures rewrite the one fixed /tmp/error.log.
    set_tests_properties(${_test} PROPERTIES RESOURCE_LOCK clusterkit_error_log TIMEOUT 600)
  endif()
endforeach()
