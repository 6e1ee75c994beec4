// Gaussian densities, the sequential log-sum, and mixture evaluation.
// Every sum runs in index order from 0.0 and every product from 1.0, so the
// results are those of the plain formulas, bit for bit.
#include "gmm.h"

#include "cpu_dispatch.h"
#include "log_sum_steps.h"
#include "scratch.h"
#include "simd_lanes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>

namespace {

// The normalising term of gaussian01Log for one shared variance.
double sharedVarianceLogTerm(double variance, int dim) {
  return std::log(GMM_TWO_PI * variance) * dim;
}

// Below this difference lo - hi the step leaves hi unchanged (up to the sign
// of a zero): exp(-37) = 8.5e-17 is under 2^-53 = 1.1e-16, half a unit in the
// last place of 1.0, by 23%, so any exp accurate to better than 20% gives a
// value that 1.0 absorbs (a tie would round to 1.0 too); log(1.0) is
// exactly +0 (IEC 60559), and +0 + hi is hi, but +0 for a hi of -0. The
// library's exp (whichever variant the processor selects) is accurate to
// about one unit in the last place, far inside that margin.
constexpr double kNegligibleDifference = -37.0;

// One step of the log-domain sum: ln(exp(lo - hi) + 1.0) + hi, where hi is
// the larger of the two (acc when they are equal or either is NaN). Written
// with exp and log, not log1p, on purpose: the results keep those bits.
// Most steps of a long sum meet a value far below the running total (or far
// above it); their result is known without exp and log, which keeps the two
// calls off the dependency chain from one value to the next. A NaN fails
// both tests and takes the full step.
inline double logAddStep(double acc, double a) {
  if (a - acc < kNegligibleDifference) // a < acc: hi = acc, lo = a
    return acc == 0.0 ? 0.0 : acc;     // +0.0 + acc
  if (acc - a < kNegligibleDifference) // a > acc: hi = a, lo = acc
    return a == 0.0 ? 0.0 : a;
  double hi = acc;
  double lo = a;
  if (a > acc) {
    hi = a;
    lo = acc;
  }
  return std::log(std::exp(lo - hi) + 1.0) + hi;
}

#define CLUSTERKIT_KERNEL_FILE "gmm_kernels.inc"
#include "kernel_targets.inc"

// Frames per pass on any target.
#if CLUSTERKIT_X86_DISPATCH
constexpr int kMaxFramesPerPass =
    std::max({scalar_target::kFramesPerPass, sse2_target::kFramesPerPass,
              avx2_target::kFramesPerPass, avx512_target::kFramesPerPass});
#else
constexpr int kMaxFramesPerPass = scalar_target::kFramesPerPass;
#endif

void scoreFramesOnActiveTarget(const double *data, int dim, int dataNum, const GMMPARAM &gmm,
                               const double *logWeight, const double *logTerm, double *frames,
                               double *terms, double *logProb, double *mixProb) {
  switch (activeKernelTarget()) {
#if CLUSTERKIT_X86_DISPATCH
  case KernelTarget::Avx512:
    return avx512_target::scoreFrames(data, dim, dataNum, gmm, logWeight, logTerm, frames,
                                      terms, logProb, mixProb);
  case KernelTarget::Avx2:
    return avx2_target::scoreFrames(data, dim, dataNum, gmm, logWeight, logTerm, frames, terms,
                                    logProb, mixProb);
  case KernelTarget::Sse2:
    return sse2_target::scoreFrames(data, dim, dataNum, gmm, logWeight, logTerm, frames, terms,
                                    logProb, mixProb);
#endif
  default:
    return scalar_target::scoreFrames(data, dim, dataNum, gmm, logWeight, logTerm, frames,
                                      terms, logProb, mixProb);
  }
}

} // namespace

double gaussian01(double *x, int dim, double *mu, double *sigma) {
  const double s = squaredDistance(x, mu, dim);
  const double exponent = (-dim) * 0.5;
  return std::exp(s / (-2.0 * sigma[0])) * std::pow(GMM_TWO_PI * sigma[0], exponent);
}

double gaussian02(double *x, int dim, double *mu, double *sigma) {
  double s = 0.0;
  double p = 1.0;
  for (int k = 0; k < dim; ++k) {
    const double d = x[k] - mu[k];
    s += d * d / (sigma[k] + sigma[k]);
    p *= sigma[k];
  }
  const double exponent = (-dim) * 0.5;
  return std::exp(-s) * (std::pow(GMM_TWO_PI, exponent) * std::pow(p, -0.5));
}

double gaussian01Log(double *x, int dim, double *mu, double *sigma, double gConst) {
  const double s = squaredDistance(x, mu, dim);
  if (gConst == 0.0)
    gConst = sharedVarianceLogTerm(sigma[0], dim);
  return (gConst + s / sigma[0]) * (-0.5);
}

double gaussian02Log(double *x, int dim, double *mu, double *sigma, double gConst) {
  double s = 0.0;
  double p = 1.0;
  for (int k = 0; k < dim; ++k) {
    const double d = x[k] - mu[k];
    s += d * d / sigma[k];
    p *= sigma[k];
  }
  if (gConst == 0.0)
    gConst = std::log(p) + dim * GMM_LOG_TWO_PI;
  return (gConst + s) * (-0.5);
}

double gaussianLog(double x, double mu, double sigma) {
  const double d = x - mu;
  return ((-d) * d / sigma - GMM_LOG_TWO_PI_SHORT - std::log(sigma)) * 0.5;
}

// Most steps of a long sum meet a value 8 to 37 below the running total;
// log_sum_steps decides them without exp and log, from an estimate of the
// exponential made with the total one step earlier, so that only a short
// correction stays on the chain from one value to the next.
double mixLogSum(double *logValue, int count) {
  if (count < 1)
    return -std::numeric_limits<double>::infinity();
  using log_sum_steps::ExpEstimate;
  double acc = logValue[0];
  ExpEstimate next = log_sum_steps::estimateExp(count > 1 ? logValue[1] - acc : 0.0);
  for (int i = 1; i < count; ++i) {
    const ExpEstimate current = next;
    if (i + 1 < count)
      next = log_sum_steps::estimateExp(logValue[i + 1] - acc);
    double decided;
    acc = log_sum_steps::decideStep(acc, logValue[i], current, decided)
              ? decided
              : logAddStep(acc, logValue[i]);
  }
  return acc;
}

// Works on passes of a few frames instead of in three passes over all
// vectors, computes each mixture's normalising term once instead of once
// per vector, forms the squared deviations of the pass's frames side by side
// (one lane each), runs their log-sums side by side, and takes the
// densities' exp a pass at a time.
// Each changes only when independent values are computed, not how, so the
// bits are those of the three passes.
// The scratch block holds the log weights, the normalising terms, the
// pass's frames in lane order and its weighted terms in lane order.
void gmmEval(double *data, int dim, int dataNum, GMMPARAM &gmm, double *logProb,
             double *mixProb) {
  const int mixNum = gmm.mixNum;
  if (mixNum < 1) {
    for (int i = 0; i < dataNum; ++i)
      logProb[i] = -std::numeric_limits<double>::infinity();
    return;
  }
  const std::size_t mixtures = static_cast<std::size_t>(mixNum);
  const std::size_t dimensions = dim > 0 ? static_cast<std::size_t>(dim) : 0;
  auto scratch = allocateScratch<double>(
      2 * mixtures + kMaxFramesPerPass * (mixtures + dimensions), "gmmEval");
  double *logWeight = scratch.get();
  double *logTerm = logWeight + mixtures;
  double *terms = logTerm + mixtures;
  double *frames = terms + kMaxFramesPerPass * mixtures;
  for (int j = 0; j < mixNum; ++j) {
    logWeight[j] = std::log(gmm.weight[j]);
    logTerm[j] = sharedVarianceLogTerm(gmm.covariance[j], dim);
  }
  scoreFramesOnActiveTarget(data, dim, dataNum, gmm, logWeight, logTerm, frames, terms, logProb,
                            mixProb);
}
