#!/usr/bin/env bash
# Builds everything (library, plug-ins of both flavours, tests, benchmarks,
# examples) and runs every test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
ensure_packages
BUILD=${CLUSTERKIT_BUILD_DIR:-$ROOT/build}
configure_and_build "$BUILD" -DCLUSTERKIT_OTHER_FLAVOR=ON -DCLUSTERKIT_BUILD_TESTS=ON \
  -DCLUSTERKIT_BUILD_BENCH=ON -DCLUSTERKIT_BUILD_EXAMPLES=ON
cd "$BUILD"
ctest --output-on-failure -j "$(nproc)"
