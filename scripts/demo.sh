#!/usr/bin/env bash
# Builds everything and runs the demo in Octave.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
ensure_packages
BUILD=${CLUSTERKIT_BUILD_DIR:-$ROOT/build}
configure_and_build "$BUILD"
cd "$ROOT/demo"
octave-cli --no-history --no-gui --norc --quiet \
  --eval "addpath('$BUILD/mex'); clusterkitDemo"
