# Runs the in-host build function clusterkitBuild in a fresh octave-cli on a
# clean copy of the sources, and checks the plug-ins it built
# (check_host_build.m).
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -DOCTAVE=octave-cli -P host_build_test.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
set(_copy "${WORK_DIR}/clusterkit")
file(COPY "${SOURCE_DIR}/lib/utility" "${SOURCE_DIR}/lib/clusterkit" DESTINATION "${_copy}/lib")
file(COPY "${SOURCE_DIR}/mex" "${SOURCE_DIR}/toolbox" "${SOURCE_DIR}/VERSION" DESTINATION "${_copy}")
file(COPY "${SOURCE_DIR}/cmake/mex_exports.map" DESTINATION "${_copy}/cmake")
file(STRINGS "${SOURCE_DIR}/VERSION" _version LIMIT_COUNT 1)
execute_process(COMMAND "${OCTAVE}" --no-gui --no-history --norc --quiet --eval
                        "addpath('${CMAKE_CURRENT_LIST_DIR}', '${_copy}/toolbox'); check_host_build('${WORK_DIR}/plugins', '${_version}')"
                WORKING_DIRECTORY "${WORK_DIR}"
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE "${WORK_DIR}")
