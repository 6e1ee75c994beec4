// Mixture evaluation as mixtureScore runs it: 100,000 frames of dimension 39
// under 64 spherical mixtures. gmmEval with the densities (two outputs) and
// without them (one output) against the plain three-pass evaluation it
// replaces (same bits?) and against a plain max-shifted loop (one exp per
// mixture and one log per frame; other bits).
#include "bench_timing.h"
#include "clusterkit.h"
// The literal evaluation is kept once, with the tests that use it as oracle.
#include "../tests/unit/literal_gmm_eval.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kDim = 39;
constexpr int kFrames = 100000;
constexpr int kMixtures = 64;

void maxShiftedScores(const std::vector<double> &data, const GMMPARAM &gmm, double *logProb) {
  double logDensity[kMixtures], logWeight[kMixtures], logTerm[kMixtures];
  for (int j = 0; j < kMixtures; ++j) {
    logWeight[j] = std::log(gmm.weight[j]);
    logTerm[j] = kDim * std::log(GMM_TWO_PI * gmm.covariance[j]);
  }
  for (int i = 0; i < kFrames; ++i) {
    const double *x = &data[static_cast<std::size_t>(i) * kDim];
    double top = -HUGE_VAL;
    for (int j = 0; j < kMixtures; ++j) {
      const double *mu = gmm.mean + j * kDim;
      double s = 0.0;
      for (int k = 0; k < kDim; ++k)
        s += (x[k] - mu[k]) * (x[k] - mu[k]);
      logDensity[j] = logWeight[j] - 0.5 * (logTerm[j] + s / gmm.covariance[j]);
      top = logDensity[j] > top ? logDensity[j] : top;
    }
    double sum = 0.0;
    for (int j = 0; j < kMixtures; ++j)
      sum += std::exp(logDensity[j] - top);
    logProb[i] = std::log(sum) + top;
  }
}

bool sameBits(const std::vector<double> &a, const std::vector<double> &b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

} // namespace

int main(int argc, char **argv) {
  benchSetUp(argc, argv);
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
  std::vector<double> logOnly(kFrames), plainLog(kFrames), plainMix(mixProb.size()), shifted(kFrames);
  const double withDensities = bestSeconds(3, [&] {
    gmmEval(data.data(), kDim, kFrames, gmm, logProb.data(), mixProb.data());
  });
  const double withoutDensities = bestSeconds(3, [&] {
    gmmEval(data.data(), kDim, kFrames, gmm, logOnly.data(), nullptr);
  });
  const double literal = bestSeconds(3, [&] {
    literalGmmEval(data.data(), kDim, kFrames, gmm, plainLog.data(), plainMix.data());
  });
  const double plain = bestSeconds(3, [&] { maxShiftedScores(data, gmm, shifted.data()); });
  const bool same = sameBits(logProb, plainLog) && sameBits(mixProb, plainMix);
  std::printf("gmmEval, dim %d, %d frames, %d mixtures (best of 3)\n", kDim, kFrames, kMixtures);
  std::printf("  with densities (two outputs): %.4f s; same bits as the literal passes: %s\n",
              withDensities, same ? "yes" : "NO");
  printRatio("three-pass literal", literal, withDensities);
  printRatio("plain max-shifted loop (other bits)", plain, withDensities);
  std::printf("  log-likelihoods only (one output): %.4f s; same bits: %s\n", withoutDensities,
              sameBits(logOnly, plainLog) ? "yes" : "NO");
  printRatio("three-pass literal", literal, withoutDensities);
  printRatio("plain max-shifted loop (other bits)", plain, withoutDensities);
  gmmFree(gmm);
  return 0;
}
