// k-means training: dim 16, 100,000 vectors, 64 centres; seconds per pass,
// against the literal passes and (when built with it) FAISS's k-means in
// float32 on all vectors, one thread.
// Usage: bench_codebookTrain [--target isa] [passes]
#include "bench_timing.h"
#include "clusterkit.h"

#include "../tests/unit/literal_kmeans.h"

#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#ifdef CLUSTERKIT_HAVE_FAISS
#include <faiss/Clustering.h>
#include <faiss/IndexFlat.h>
#include <omp.h>
#endif

namespace {

constexpr int kDim = 16;
constexpr int kDataNum = 100000;
constexpr int kCenterNum = 64;

// Vectors around 64 random cluster means, so the passes do real work.
std::vector<double> clusteredData() {
  std::mt19937 rng(17);
  std::uniform_real_distribution<double> uniform(-10.0, 10.0);
  std::normal_distribution<double> normal;
  std::vector<double> means(static_cast<std::size_t>(kDim) * kCenterNum);
  for (double &m : means)
    m = uniform(rng);
  std::vector<double> data(static_cast<std::size_t>(kDim) * kDataNum);
  for (int j = 0; j < kDataNum; ++j) {
    const int cluster = static_cast<int>(rng() % kCenterNum);
    for (int d = 0; d < kDim; ++d)
      data[columnOffset(j, kDim) + d] = means[cluster * kDim + d] + normal(rng);
  }
  return data;
}


} // namespace

int main(int argc, char **argv) {
  const int arg = benchSetUp(argc, argv);
  const int maxPasses = argc > arg ? std::atoi(argv[arg]) : 10;
  const std::vector<double> data = clusteredData();
  std::vector<double> start(data.begin(), data.begin() + kDim * kCenterNum);
  std::vector<double> center = start, literalCenter = start;
  std::vector<int> memberIndex(kDataNum), literalIndex(kDataNum), memberCount(kCenterNum);
  std::vector<double> distVec(kCenterNum), distortion(maxPasses), literalDistortion(maxPasses);

  int passes = 0;
  const double ours = bestSeconds(1, [&] {
    passes = vqKmeans(data.data(), kDim, kDataNum, center.data(), kCenterNum, memberIndex.data(),
                      distVec.data(), memberCount.data(), distortion.data(), maxPasses, 0);
  });
  int literalPasses = 0;
  const double literal = bestSeconds(1, [&] {
    literalPasses = literalKmeans(data, kDim, literalCenter, literalIndex, literalDistortion, maxPasses);
  });
  const bool same = passes == literalPasses && center == literalCenter &&
                    memberIndex == literalIndex && distortion == literalDistortion;

  std::printf("codebookTrain k-means, dim %d, %d vectors, %d centres, up to %d passes\n", kDim,
              kDataNum, kCenterNum, maxPasses);
  std::printf("  clusterkit: %d passes, %.4f s per pass (distortion %.6g)\n", passes,
              ours / passes, distortion[passes - 1]);
  std::printf("    literal passes  %8.4f s per pass   same bits: %s\n", literal / literalPasses,
              same ? "yes" : "no");
  printRatio("literal passes (per pass)", literal / literalPasses, ours / passes);
#ifdef CLUSTERKIT_HAVE_FAISS
  omp_set_num_threads(1);
  std::vector<float> data32(data.begin(), data.end());
  faiss::ClusteringParameters parameters;
  parameters.niter = passes;
  parameters.max_points_per_centroid = kDataNum; // every vector, as here
  parameters.verbose = false;
  faiss::IndexFlatL2 index(kDim);
  const double peer = bestSeconds(1, [&] {
    faiss::Clustering fresh(kDim, kCenterNum, parameters);
    fresh.centroids.assign(start.begin(), start.end()); // the same start
    index.reset();
    fresh.train(kDataNum, data32.data(), index);
  });
  printRatio("FAISS k-means (float32, per pass)", peer / passes, ours / passes);
#else
  std::printf("    FAISS: not built in (install libfaiss-dev and re-run cmake)\n");
#endif
  return 0;
}
