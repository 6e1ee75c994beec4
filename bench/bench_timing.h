// Timing and set-up shared by the benchmark programs.
#ifndef CLUSTERKIT_BENCH_TIMING_H
#define CLUSTERKIT_BENCH_TIMING_H

#include "cpu_dispatch.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

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

/// Best times of two workloads measured alike: one untimed call of each
/// first (a first call pays for page faults, cold caches and branch
/// predictors, and a processor still raising its clock), then `repeats`
/// rounds that time a and b in turn, so that a slow phase of the machine
/// falls on both instead of on whichever ran then. The median of the rounds'
/// ratios b / a is steadier than the ratio of the bests on a busy machine.
/// Each round takes the best of `callsPerRound` calls of each side (several
/// for workloads of a few milliseconds, whose single calls are noisy).
struct AlternatingTimes {
  double first = 0.0, second = 0.0; // best seconds of a and of b
  double medianRatio = 0.0;         // median over the rounds of b / a
};

template <class FnA, class FnB>
AlternatingTimes alternatingBestSeconds(int repeats, FnA a, FnB b, int callsPerRound = 1) {
  a();
  b();
  AlternatingTimes times;
  times.first = times.second = 1e300;
  std::vector<double> ratios;
  for (int r = 0; r < repeats; ++r) {
    const double secondsA = bestSeconds(callsPerRound, a), secondsB = bestSeconds(callsPerRound, b);
    times.first = secondsA < times.first ? secondsA : times.first;
    times.second = secondsB < times.second ? secondsB : times.second;
    ratios.push_back(secondsB / secondsA);
  }
  std::sort(ratios.begin(), ratios.end());
  const std::size_t n = ratios.size();
  times.medianRatio = n == 0 ? 0.0 : (n % 2 ? ratios[n / 2] : (ratios[n / 2 - 1] + ratios[n / 2]) / 2);
  return times;
}

/// The median of the rounds' ratios, on the line below printRatio's.
inline void printMedianRatio(const AlternatingTimes &times) {
  std::printf("    %-34s %8s     median of the rounds' ratios %.2fx\n", "", "", times.medianRatio);
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
