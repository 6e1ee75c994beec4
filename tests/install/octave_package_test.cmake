# Builds the Octave package and checks it in a fresh octave-cli with a
# temporary package prefix (check_octave_package.m).
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -DOCTAVE=octave-cli -P octave_package_test.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" -DSOURCE_DIR=${SOURCE_DIR} -DOUTPUT_DIR=${WORK_DIR}
                        -P "${SOURCE_DIR}/cmake/OctavePackage.cmake"
                COMMAND_ERROR_IS_FATAL ANY)
file(STRINGS "${SOURCE_DIR}/VERSION" _version LIMIT_COUNT 1)
file(MAKE_DIRECTORY "${WORK_DIR}/prefix")
execute_process(COMMAND "${OCTAVE}" --no-gui --no-history --norc --quiet --eval
                        "addpath('${CMAKE_CURRENT_LIST_DIR}'); check_octave_package('${WORK_DIR}/clusterkit-${_version}.tar.gz', '${WORK_DIR}/prefix', '${_version}')"
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE "${WORK_DIR}")
