// Mixture evaluation as mixtureScore runs it: 100,000 frames of dimension 39
// under 64 mixtures. Times gmmEval against the plain three-pass evaluation
// it replaces and checks that both give the same bits.
#include "bench_timing.h"
#include "clusterkit.h"
// The literal evaluation is kept once, with the tests that use it as oracle.
#include "../tests/unit/literal_gmm_eval.h"

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kDim = 39;
constexpr int kFrames = 100000;
constexpr int kMixtures = 64;

} // namespace

int main() {
  std::mt19937 rng(1);
  std::normal_distribution<double> normal;
  std::uniform_real_distribution<double> uniform(0.5, 2.0);
  std::vector<double> data(static_cast<std::size_t>(kDim) * kFrames);
  for (double &x : data)
    x = normal(rng);
  GMMPARAM gmm{};
  gmmAllocate(gmm, kDim, kMixtures);
  for (int k = 0; k < kDim * kMixtures; ++k)
    gmm.mean[k] = normal(rng);
  for (int j = 0; j < kMixtures; ++j) {
    gmm.covariance[j] = uniform(rng);
    gmm.weight[j] = 1.0 / kMixtures;
  }

  std::vector<double> logProb(kFrames), mixProb(static_cast<std::size_t>(kMixtures) * kFrames);
  std::vector<double> plainLog(kFrames), plainMix(mixProb.size());
  const double fast = bestSeconds(3, [&] {
    gmmEval(data.data(), kDim, kFrames, gmm, logProb.data(), mixProb.data());
  });
  const double plain = bestSeconds(3, [&] {
    literalGmmEval(data.data(), kDim, kFrames, gmm, plainLog.data(), plainMix.data());
  });
  const bool same = std::memcmp(logProb.data(), plainLog.data(), kFrames * sizeof(double)) == 0 &&
                    std::memcmp(mixProb.data(), plainMix.data(), mixProb.size() * sizeof(double)) == 0;
  std::printf("gmmEval, dim %d, %d frames, %d mixtures (best of 3)\n", kDim, kFrames, kMixtures);
  std::printf("  gmmEval            %8.3f s  %6.1f ns per frame and mixture\n", fast,
              fast * 1e9 / (static_cast<double>(kFrames) * kMixtures));
  std::printf("  three-pass literal %8.3f s  %6.1f ns per frame and mixture\n", plain,
              plain * 1e9 / (static_cast<double>(kFrames) * kMixtures));
  std::printf("  same bits: %s\n", same ? "yes" : "NO");
  gmmFree(gmm);
  return same ? 0 : 1;
}
