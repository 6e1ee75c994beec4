// The log-domain sum behind logSumReduce over 10 million values: mixLogSum
// against the literal sum (every step with exp and log; same bits?) and a
// plain max-shifted loop (the maximum first, then one exp per value and one
// log; other bits), on values spread wide (most steps meet a value far below
// the running total) and narrow (every step needs exp and log).
#include "bench_timing.h"
#include "clusterkit.h"
// The literal sum is kept once, with the tests that use it as oracle.
#include "../tests/unit/literal_gmm_eval.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kCount = 10000000;

double maxShiftedLogSum(const std::vector<double> &values) {
  double top = values[0];
  for (double v : values)
    top = v > top ? v : top;
  double sum = 0.0;
  for (double v : values)
    sum += std::exp(v - top);
  return std::log(sum) + top;
}

void compare(const char *label, double mean, double spread) {
  std::mt19937 rng(2);
  std::normal_distribution<double> normal(mean, spread);
  std::vector<double> values(kCount);
  for (double &x : values)
    x = normal(rng);
  double ours = 0.0, literal = 0.0, shifted = 0.0;
  const double oursSeconds = bestSeconds(5, [&] { ours = mixLogSum(values.data(), kCount); });
  const double literalSeconds = bestSeconds(3, [&] { literal = literalMixLogSum(values.data(), kCount); });
  const double shiftedSeconds = bestSeconds(5, [&] { shifted = maxShiftedLogSum(values); });
  std::printf("  %s: mixLogSum %.4f s (%.1f ns per value); same bits as the literal sum: %s\n",
              label, oursSeconds, oursSeconds * 1e9 / kCount,
              std::memcmp(&ours, &literal, sizeof ours) == 0 ? "yes" : "NO");
  printRatio("literal sum", literalSeconds, oursSeconds);
  printRatio("plain max-shifted loop (other bits)", shiftedSeconds, oursSeconds);
  std::printf("    results %.17g (literal %.17g, max-shifted %.17g)\n", ours, literal, shifted);
}

} // namespace

int main(int argc, char **argv) {
  benchSetUp(argc, argv);
  std::printf("mixLogSum of %d values (best of 5; literal best of 3)\n", kCount);
  compare("normal(-50, 20)", -50.0, 20.0);
  compare("normal(0, 1)   ", 0.0, 1.0);
  return 0;
}
