# Compiles the library and one plug-in with clang, to keep the code free of
# one compiler's extensions. Unoptimised: the point is that it compiles.
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -DCLANG=clang++ -DFLAVOR=linux -P clang_build_test.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${WORK_DIR}"
                        "-DCMAKE_CXX_COMPILER=${CLANG}" -DCMAKE_BUILD_TYPE=Debug
                        -DCMAKE_CXX_FLAGS_DEBUG=-O0 "-DCLUSTERKIT_FLAVOR=${FLAVOR}"
                        -DCLUSTERKIT_OTHER_FLAVOR=OFF
                        -DCLUSTERKIT_BUILD_TESTS=OFF -DCLUSTERKIT_BUILD_BENCH=OFF
                        -DCLUSTERKIT_BUILD_EXAMPLES=OFF
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${WORK_DIR}" -j 2
                        --target clusterkit_lib_${FLAVOR} neighborQuery_${FLAVOR}
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE "${WORK_DIR}")
