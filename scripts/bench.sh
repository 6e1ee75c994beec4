#!/usr/bin/env bash
# Installs the peers (as root), builds the benchmarks and the plug-ins, and
# runs every benchmark, one thread for everyone. Figures only: nothing fails.
#   scripts/bench.sh                   every benchmark, best instruction set
#   scripts/bench.sh --target avx2     the distance benchmarks forced onto one
#                                      (scalar, sse2, avx2, avx512)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
CLUSTERKIT_PACKAGES+=(libfaiss-dev libopenblas0-pthread octave-vlfeat libopencv-dev)
ensure_packages
BUILD=${CLUSTERKIT_BUILD_DIR:-$ROOT/build-bench}
configure_and_build "$BUILD" -DCLUSTERKIT_OTHER_FLAVOR=OFF -DCLUSTERKIT_BUILD_TESTS=OFF -DCLUSTERKIT_BUILD_BENCH=ON \
  -DCLUSTERKIT_BUILD_EXAMPLES=OFF
export OMP_NUM_THREADS=1 OPENBLAS_NUM_THREADS=1
for bench in "$BUILD"/bench/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  case $(basename "$bench") in
    bench_neighborQuery|bench_pairDistance|bench_codebookTrain) "$bench" "$@" || true ;;
    *) "$bench" || true ;;
  esac
done
echo "== Octave peers"
bash "$ROOT/bench/octave/run_peers.sh" "$BUILD" || true
