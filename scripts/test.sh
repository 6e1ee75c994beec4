#!/usr/bin/env bash
# Builds everything (library, plug-ins of both flavours, tests, benchmarks,
# examples) and runs every test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
ensure_packages
BUILD=${CLUSTERKIT_BUILD_DIR:-$ROOT/build}
configure_and_build "$BUILD"
cd "$BUILD"
ctest --output-on-failure -j "$(nproc)"
