// Gaussian densities, the sequential log-sum, and mixture evaluation.
// Every sum runs in index order from 0.0 and every product from 1.0, so the
// results are those of the plain formulas, bit for bit.
#include "clusterkit.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <limits>

namespace {

// The normalising term of gaussian01Log for one shared variance.
double sharedVarianceLogTerm(double variance, int dim) {
  return std::log(GMM_TWO_PI * variance) * dim;
}

std::size_t scratchBytes(int count) {
  return static_cast<std::size_t>(count > 0 ? count : 1) * sizeof(double);
}

// A scratch block of count doubles, or a library failure: an exception other
// than LibraryFailure would end the host.
double *allocateScratch(int count) {
  void *block = std::malloc(scratchBytes(count));
  if (block == nullptr)
    myExit("Out of memory in gmmEval!");
  return static_cast<double *>(block);
}

// The squared deviations of x from four means at once: four independent
// running sums, each still added in dimension order, so each has the bits of
// squaredDistance() while the four dependency chains overlap in time.
void squaredDeviations4(const double *x, const double *mu, std::ptrdiff_t stride, int dim,
                        double *sums) {
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
  const double *mu0 = mu, *mu1 = mu + stride, *mu2 = mu + 2 * stride, *mu3 = mu + 3 * stride;
  for (int k = 0; k < dim; ++k) {
    const double xk = x[k];
    const double d0 = xk - mu0[k], d1 = xk - mu1[k], d2 = xk - mu2[k], d3 = xk - mu3[k];
    s0 += d0 * d0;
    s1 += d1 * d1;
    s2 += d2 * d2;
    s3 += d3 * d3;
  }
  sums[0] = s0;
  sums[1] = s1;
  sums[2] = s2;
  sums[3] = s3;
}

// The log-density of x under each mixture (gaussian01Log with a gConst of
// 0.0, its term taken from logTerm) into column.
void mixtureLogDensities(const double *x, int dim, const GMMPARAM &gmm, const double *logTerm,
                         double *column) {
  const int mixNum = gmm.mixNum;
  int j = 0;
  double sums[4];
  for (; j + 4 <= mixNum; j += 4) {
    squaredDeviations4(x, gmm.mean + static_cast<std::ptrdiff_t>(j) * dim, dim, dim, sums);
    for (int q = 0; q < 4; ++q)
      column[j + q] = (logTerm[j + q] + sums[q] / gmm.covariance[j + q]) * (-0.5);
  }
  for (; j < mixNum; ++j) {
    const double s = squaredDistance(x, gmm.mean + static_cast<std::ptrdiff_t>(j) * dim, dim);
    column[j] = (logTerm[j] + s / gmm.covariance[j]) * (-0.5);
  }
}

// One step of the log-domain sum: ln(exp(lo - hi) + 1.0) + hi, where hi is
// the larger of the two (acc when they are equal or either is NaN). Written
// with exp and log, not log1p, on purpose: the results keep those bits.
inline double logAddStep(double acc, double a) {
  double hi = acc;
  double lo = a;
  if (a > acc) {
    hi = a;
    lo = acc;
  }
  return std::log(std::exp(lo - hi) + 1.0) + hi;
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

double mixLogSum(double *logValue, int count) {
  if (count < 1)
    return -std::numeric_limits<double>::infinity();
  double acc = logValue[0];
  for (int i = 1; i < count; ++i)
    acc = logAddStep(acc, logValue[i]);
  return acc;
}

// Works vector by vector instead of in three passes over all vectors,
// computes each mixture's normalising term once instead of once per vector,
// forms the squared deviations of four mixtures side by side, and folds the
// weighted log-densities into the log-sum as they are formed instead of
// collecting them first. Each changes only when independent values are
// computed, not how, so the bits are those of the three passes.
// The two scratch blocks hold the log weights and the normalising terms.
void gmmEval(double *data, int dim, int dataNum, GMMPARAM &gmm, double *logProb,
             double *mixProb) {
  const int mixNum = gmm.mixNum;
  double *logWeight = allocateScratch(mixNum);
  double *logTerm = static_cast<double *>(std::malloc(scratchBytes(mixNum)));
  if (logTerm == nullptr) {
    std::free(logWeight);
    myExit("Out of memory in gmmEval!");
  }
  for (int j = 0; j < mixNum; ++j) {
    logWeight[j] = std::log(gmm.weight[j]);
    logTerm[j] = sharedVarianceLogTerm(gmm.covariance[j], dim);
  }
  for (int i = 0; i < dataNum; ++i) {
    const double *x = data + static_cast<std::ptrdiff_t>(i) * dim;
    double *column = mixProb + static_cast<std::ptrdiff_t>(i) * mixNum;
    mixtureLogDensities(x, dim, gmm, logTerm, column);
    double acc = -std::numeric_limits<double>::infinity();
    for (int j = 0; j < mixNum; ++j) {
      const double term = logWeight[j] + column[j];
      acc = j == 0 ? term : logAddStep(acc, term);
    }
    logProb[i] = acc;
    for (int j = 0; j < mixNum; ++j)
      column[j] = std::exp(column[j]);
  }
  std::free(logWeight);
  std::free(logTerm);
}
