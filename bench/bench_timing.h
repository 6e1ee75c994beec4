// Timing and set-up shared by the benchmark programs.
#ifndef CLUSTERKIT_BENCH_TIMING_H
#define CLUSTERKIT_BENCH_TIMING_H

#include "cpu_dispatch.h"

#include <chrono>
#include <cstdio>
#include <cstring>

/// The best wall-clock seconds of `repeats` runs of fn: the least disturbed
/// by whatever else the machine is doing.
template <class Fn> double bestSeconds(int repeats, Fn fn) {
  double best = 1e300;
  for (int r = 0; r < repeats; ++r) {
    const auto start = std::chrono::steady_clock::now();
    fn();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (elapsed.count() < best)
      best = elapsed.count();
  }
  return best;
}

/// Handles the option `--target scalar|sse2|avx2|avx512` (forces the kernels
/// onto that instruction set) and prints the instruction set the run uses.
/// Returns the index of the first argument that is not the option.
inline int benchSetUp(int argc, char **argv) {
  int next = 1;
  if (argc > 2 && std::strcmp(argv[1], "--target") == 0) {
    bool known = false;
    for (KernelTarget t : supportedKernelTargets())
      if (std::strcmp(argv[2], kernelTargetName(t)) == 0)
        known = setKernelTarget(t);
    if (!known)
      std::printf("target %s is not available here\n", argv[2]);
    next = 3;
  }
  std::printf("instruction set: %s\n", kernelTargetName(activeKernelTarget()));
  return next;
}

/// "ratio 2.31x (clusterkit faster)" or "(peer faster)" for peer / ours.
inline void printRatio(const char *peer, double peerSeconds, double ourSeconds) {
  const double ratio = peerSeconds / ourSeconds;
  std::printf("    %-34s %8.4f s   ratio %.2fx (%s faster)\n", peer, peerSeconds,
              ratio >= 1 ? ratio : 1 / ratio, ratio >= 1 ? "clusterkit" : "peer");
}

#endif // CLUSTERKIT_BENCH_TIMING_H
