// k-means training: dim 16, 100,000 vectors, 64 centres; seconds per pass.
#include "clusterkit.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kDim = 16;
constexpr int kDataNum = 100000;
constexpr int kCenterNum = 64;
constexpr int kPasses = 5;

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

int main() {
  const std::vector<double> data = clusteredData();
  std::vector<double> center(static_cast<std::size_t>(kDim) * kCenterNum);
  std::vector<int> memberIndex(kDataNum), memberCount(kCenterNum);
  std::vector<double> distVec(kCenterNum), distortion(kPasses);
  initVqCenter(data.data(), kDim, kDataNum, center.data(), kCenterNum);

  const auto start = std::chrono::steady_clock::now();
  const int passes = vqKmeans(data.data(), kDim, kDataNum, center.data(), kCenterNum,
                              memberIndex.data(), distVec.data(), memberCount.data(),
                              distortion.data(), kPasses, 0);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

  std::printf("codebookTrain k-means, dim %d, %d vectors, %d centres\n", kDim, kDataNum,
              kCenterNum);
  std::printf("  %d passes in %.3f s: %.4f s per pass\n", passes, elapsed.count(),
              elapsed.count() / passes);
  std::printf("  distortion after the last pass: %.6g\n", distortion[passes - 1]);
  return 0;
}
