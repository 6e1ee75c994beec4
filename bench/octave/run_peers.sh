#!/usr/bin/env bash
# Runs the in-host comparisons of the plug-ins with their peers, one thread each, in one octave-cli per
# workload. Usage: bench/octave/run_peers.sh [build directory, default build]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-$here/../../build}
export OMP_NUM_THREADS=1 OPENBLAS_NUM_THREADS=1
for workload in pairDistance codebookTrain gradientHistogram rlsFit logSumReduce mixtureScore; do
  # mixtureScore prints each model it scores: keep the result lines only.
  octave-cli --norc --path "$build/mex" --path "$here" "$here/peers_$workload.m" 2>/dev/null |
    grep -E '^([a-zA-Z]|  [a-z]|    [A-Z])' | grep -vE '^(Converted from|This is the name|Here[0-9])'
done
