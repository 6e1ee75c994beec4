#!/usr/bin/env bash
# Builds the plug-ins (default flavour only: no tests, benchmarks or
# examples) and runs the demo in Octave, which saves its figures as PNG files
# in build/demo-figures/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
ensure_packages demo
BUILD=${CLUSTERKIT_BUILD_DIR:-$ROOT/build}
configure_and_build "$BUILD" -DCLUSTERKIT_OTHER_FLAVOR=OFF -DCLUSTERKIT_BUILD_TESTS=OFF \
  -DCLUSTERKIT_BUILD_BENCH=OFF -DCLUSTERKIT_BUILD_EXAMPLES=OFF
cd "$ROOT/demo"
octave-cli --no-history --no-gui --norc --quiet \
  --eval "addpath('$BUILD/mex'); clusterkitDemo('$BUILD/demo-figures')"
