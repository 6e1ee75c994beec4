// The exhaustive neighbour search behind neighborQuery: dim 32, 2,000 query
// columns against 100,000 uniform data columns, k = 5, L2 and L1, against
// the literal one-at-a-time search and (when built with it) FAISS's flat
// indexes in float32, one thread each.
// Usage: bench_neighborQuery [--target isa] [queryCount] [dataCount] [repeats]
#include "bench_timing.h"
#include "neighbor_search.h"
#include "utility.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#ifdef CLUSTERKIT_HAVE_FAISS
#include <faiss/IndexFlat.h>
#include <omp.h>
#endif

namespace {

// The search as it reads: every candidate through vecDistanceWithBound with
// the worst kept distance as bound, dropped when abandoned, inserted behind
// equal distances.
void literalSearch(const double *queries, int queryNum, const double *data, int dataNum, int dim,
                   int method, int k, double *nnIndex, double *nnDistance) {
  for (int c = 0; c < queryNum; ++c) {
    double *dist = nnDistance + static_cast<long long>(c) * k;
    double *idx = nnIndex + static_cast<long long>(c) * k;
    std::fill(dist, dist + k, EMPTY_SLOT_DISTANCE);
    std::fill(idx, idx + k, EMPTY_SLOT_INDEX);
    for (int i = 0; i < dataNum; ++i) {
      double d;
      if (!vecDistanceWithinBound(queries + static_cast<long long>(c) * dim,
                                  data + static_cast<long long>(i) * dim, dim, method,
                                  dist[k - 1], d))
        continue;
      int j = 0;
      while (j < k && !(dist[j] > d))
        ++j;
      if (j == k)
        continue;
      for (int m = k - 1; m > j; --m) {
        dist[m] = dist[m - 1];
        idx[m] = idx[m - 1];
      }
      dist[j] = d;
      idx[j] = i;
    }
  }
}

} // namespace

int main(int argc, char **argv) {
  const int arg = benchSetUp(argc, argv);
  const int dim = 32;
  const int queryCount = argc > arg ? std::atoi(argv[arg]) : 2000;
  const int dataCount = argc > arg + 1 ? std::atoi(argv[arg + 1]) : 100000;
  const int repeats = argc > arg + 2 ? std::atoi(argv[arg + 2]) : 5;
  const int k = 5;
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  std::vector<double> queries(static_cast<size_t>(dim) * queryCount);
  std::vector<double> data(static_cast<size_t>(dim) * dataCount);
  for (double &v : queries)
    v = uniform(rng);
  for (double &v : data)
    v = uniform(rng);
  const size_t outSize = static_cast<size_t>(k) * queryCount;
  std::vector<double> nnIndex(outSize), nnDistance(outSize), literalIndex(outSize),
      literalDistance(outSize);

  std::printf("neighborQuery search: dim %d, %d queries x %d data columns, k = %d, best of %d "
              "(after one untimed call; with FAISS, the two in turn each round)\n",
              dim, queryCount, dataCount, k, repeats);
  std::printf("search tile: %d doubles (first-level data cache: %lld bytes, 0 = unknown)\n",
              searchTileDoubles(), firstLevelDataCacheBytes());
#ifdef CLUSTERKIT_HAVE_FAISS
  omp_set_num_threads(1);
  const std::vector<float> queries32(queries.begin(), queries.end()),
      data32(data.begin(), data.end());
#endif
  for (int method : {2, 1}) {
    auto search = [&] {
      nearestNeighborSearch(queries.data(), queryCount, data.data(), dataCount, dim, method, k,
                            nullptr, 0, nnIndex.data(), nnDistance.data());
    };
#ifdef CLUSTERKIT_HAVE_FAISS
    faiss::IndexFlat index(dim, method == 2 ? faiss::METRIC_L2 : faiss::METRIC_L1);
    index.add(dataCount, data32.data());
    std::vector<float> distances(outSize);
    std::vector<faiss::Index::idx_t> labels(outSize);
    const AlternatingTimes times = alternatingBestSeconds(repeats, search, [&] {
      index.search(queryCount, queries32.data(), k, distances.data(), labels.data());
    });
    const double ours = times.first;
#else
    search(); // untimed, as for the peer
    const double ours = bestSeconds(repeats, search);
#endif
    const double literal = bestSeconds(1, [&] {
      literalSearch(queries.data(), queryCount, data.data(), dataCount, dim, method, k,
                    literalIndex.data(), literalDistance.data());
    });
    const bool same = nnIndex == literalIndex && nnDistance == literalDistance;
    std::printf("  L%d: clusterkit %.4f s\n", method, ours);
    std::printf("    literal search  %8.4f s   same bits: %s\n", literal, same ? "yes" : "no");
    printRatio("literal search", literal, ours);
#ifdef CLUSTERKIT_HAVE_FAISS
    printRatio(method == 2 ? "FAISS IndexFlatL2 (float32)" : "FAISS IndexFlat L1 (float32)",
               times.second, ours);
    printMedianRatio(times);
#else
    std::printf("    FAISS: not built in (install libfaiss-dev and re-run cmake)\n");
#endif
  }
  return 0;
}
