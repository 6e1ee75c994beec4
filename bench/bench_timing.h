// Wall-clock timing shared by the benchmark programs.
#ifndef CLUSTERKIT_BENCH_TIMING_H
#define CLUSTERKIT_BENCH_TIMING_H

#include <chrono>

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

#endif // CLUSTERKIT_BENCH_TIMING_H
