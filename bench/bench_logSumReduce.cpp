// The log-domain sum behind logSumReduce over 10 million values.
#include "bench_timing.h"
#include "clusterkit.h"

#include <cstdio>
#include <random>
#include <vector>

int main() {
  constexpr int kCount = 10000000;
  std::mt19937 rng(2);
  std::normal_distribution<double> normal(-50.0, 20.0);
  std::vector<double> values(kCount);
  for (double &x : values)
    x = normal(rng);
  double result = 0.0;
  const double best = bestSeconds(3, [&] { result = mixLogSum(values.data(), kCount); });
  std::printf("mixLogSum of %d values (best of 3): %.3f s, %.1f ns per value, result %.17g\n",
              kCount, best, best * 1e9 / kCount, result);
  return 0;
}
