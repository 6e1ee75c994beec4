// Times the exhaustive neighbour search behind neighborQuery:
// dim 32, 2,000 query columns against 100,000 data columns, k = 5.
// Usage: bench_neighborQuery [queryCount] [dataCount]
#include "neighbor_search.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <random>
#include <vector>

int main(int argc, char **argv) {
  const int dim = 32;
  const int queryCount = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int dataCount = argc > 2 ? std::atoi(argv[2]) : 100000;
  const int k = 5;
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  std::vector<double> queries(static_cast<size_t>(dim) * queryCount);
  std::vector<double> data(static_cast<size_t>(dim) * dataCount);
  for (double &v : queries)
    v = uniform(rng);
  for (double &v : data)
    v = uniform(rng);

  std::vector<double> slotDistance(k), nnIndex(static_cast<size_t>(k) * queryCount),
      nnDistance(static_cast<size_t>(k) * queryCount);
  std::vector<int> slotIndex(k);
  std::printf("neighborQuery search: dim %d, %d queries x %d data columns, k = %d\n", dim,
              queryCount, dataCount, k);
  for (int method : {2, 1}) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    nearestNeighborSearch(queries.data(), queryCount, data.data(), dataCount, dim, method, k,
                          nullptr, 0, nnIndex.data(), nnDistance.data());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double evaluations = static_cast<double>(queryCount) * dataCount;
    std::printf("  L%d: %.2f s (%.2f s processor time), %.3g distance evaluations per second"
                " (checksum %g)\n",
                method, seconds, cpuSeconds, evaluations / cpuSeconds,
                nnDistance[0] + nnIndex[k * queryCount - 1]);
  }
  return 0;
}
