#include "clusterkit.h"
#include "cpu_dispatch.h"
#include "literal_gmm_eval.h"
#include "log_sum_steps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Same bits, NaN equal to NaN.
::testing::AssertionResult sameBits(double actual, double expected) {
  if (actual == expected || (std::isnan(actual) && std::isnan(expected)))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << actual << " differs from " << expected;
}

std::vector<double> randomVector(std::mt19937 &rng, int n, double scale = 1.0) {
  std::normal_distribution<double> normal(0.0, scale);
  std::vector<double> v(n);
  for (double &x : v)
    x = normal(rng);
  return v;
}

std::vector<double> shifted(std::vector<double> v, double offset) {
  for (double &x : v)
    x += offset;
  return v;
}

// A model with the given arrays (the record does not own them here).
GMMPARAM modelOf(int dim, std::vector<double> &mean, std::vector<double> &covariance,
                 std::vector<double> &weight) {
  GMMPARAM gmm{};
  gmm.dim = dim;
  gmm.mixNum = static_cast<int>(weight.size());
  gmm.mean = mean.data();
  gmm.covariance = covariance.data();
  gmm.weight = weight.data();
  return gmm;
}

TEST(Densities, SharedVarianceFormulasInTheirOwnOrder) {
  double x[] = {1.0, -2.0, 0.5}, mu[] = {0.25, 1.0, -1.5}, sigma[] = {0.7};
  const double s = (0.75 * 0.75 + 3.0 * 3.0) + 2.0 * 2.0;
  EXPECT_TRUE(sameBits(gaussian01(x, 3, mu, sigma),
                       std::exp(s / (-2.0 * 0.7)) * std::pow(6.28318530717958 * 0.7, -1.5)));
  const double term = std::log(6.28318530717958 * 0.7) * 3;
  EXPECT_TRUE(sameBits(gaussian01Log(x, 3, mu, sigma, 0.0), (term + s / 0.7) * -0.5));
  // An explicit gConst equal to the computed term changes nothing; any other
  // non-zero value is used as it is, and -0.0 counts as 0.0.
  EXPECT_TRUE(sameBits(gaussian01Log(x, 3, mu, sigma, term), gaussian01Log(x, 3, mu, sigma, 0.0)));
  EXPECT_TRUE(sameBits(gaussian01Log(x, 3, mu, sigma, 2.5), (2.5 + s / 0.7) * -0.5));
  EXPECT_TRUE(sameBits(gaussian01Log(x, 3, mu, sigma, -0.0), gaussian01Log(x, 3, mu, sigma, 0.0)));
  EXPECT_TRUE(std::isnan(gaussian01Log(x, 3, mu, sigma, kNaN)));
  // At the mean the density is the normalising factor alone.
  EXPECT_TRUE(sameBits(gaussian01(mu, 3, mu, sigma), std::pow(6.28318530717958 * 0.7, -1.5)));
}

TEST(Densities, PerDimensionFormulasInTheirOwnOrder) {
  double x[] = {1.0, -2.0}, mu[] = {0.5, 1.0}, sigma[] = {0.3, 2.0};
  const double s2 = 0.25 / (0.3 + 0.3) + 9.0 / (2.0 + 2.0);
  EXPECT_TRUE(sameBits(gaussian02(x, 2, mu, sigma),
                       std::exp(-s2) * (std::pow(6.28318530717958, -1.0) * std::pow(0.3 * 2.0, -0.5))));
  const double s = 0.25 / 0.3 + 9.0 / 2.0;
  const double term = std::log(1.0 * 0.3 * 2.0) + 2 * 1.8378770664093445;
  EXPECT_TRUE(sameBits(gaussian02Log(x, 2, mu, sigma, 0.0), (term + s) * -0.5));
  EXPECT_TRUE(sameBits(gaussian02Log(x, 2, mu, sigma, 1.25), (1.25 + s) * -0.5));
}

TEST(Densities, SharedAndPerDimensionFormsAgreeForEqualVariances) {
  std::mt19937 rng(3);
  for (int dim : {1, 2, 5, 39}) {
    std::vector<double> x = randomVector(rng, dim), mu = randomVector(rng, dim);
    std::vector<double> sigma(dim, 0.8);
    EXPECT_NEAR(gaussian02Log(x.data(), dim, mu.data(), sigma.data(), 0.0),
                gaussian01Log(x.data(), dim, mu.data(), sigma.data(), 0.0), 1e-9);
    const double shared = gaussian01(x.data(), dim, mu.data(), sigma.data());
    EXPECT_NEAR(gaussian02(x.data(), dim, mu.data(), sigma.data()), shared, 1e-12 * shared);
  }
}

TEST(Densities, OneDimensionalLogUsesItsShorterConstant) {
  const double d = 1.5 - 0.25;
  EXPECT_TRUE(sameBits(gaussianLog(1.5, 0.25, 0.4),
                       ((-d) * d / 0.4 - 1.83787706640935 - std::log(0.4)) * 0.5));
  double x[] = {1.5}, mu[] = {0.25}, sigma[] = {0.4};
  EXPECT_NEAR(gaussianLog(1.5, 0.25, 0.4), gaussian02Log(x, 1, mu, sigma, 0.0), 1e-12);
}

TEST(MixLogSum, PairwiseRulesForInfinitiesAndNaN) {
  double one[] = {-3.25};
  EXPECT_TRUE(sameBits(mixLogSum(one, 1), -3.25));
  double zeros[] = {0.0, 0.0};
  EXPECT_TRUE(sameBits(mixLogSum(zeros, 2), std::log(2.0)));
  double infFirst[] = {-kInf, 3.0}, infLast[] = {3.0, -kInf};
  EXPECT_TRUE(sameBits(mixLogSum(infFirst, 2), 3.0));
  EXPECT_TRUE(sameBits(mixLogSum(infLast, 2), 3.0));
  double twoInf[] = {-kInf, -kInf, 3.0};
  EXPECT_TRUE(std::isnan(mixLogSum(twoInf, 3)));
  double nanLast[] = {1.0, 2.0, kNaN}, nanFirst[] = {kNaN, 2.0};
  EXPECT_TRUE(std::isnan(mixLogSum(nanLast, 3)));
  EXPECT_TRUE(std::isnan(mixLogSum(nanFirst, 2)));
  // No value at all: the log of an empty sum, and nothing is read.
  EXPECT_EQ(mixLogSum(nullptr, 0), -kInf);
  EXPECT_EQ(mixLogSum(nullptr, -4), -kInf);
}

TEST(MixLogSum, AccumulatesLeftToRightWithExpAndLogNotLog1p) {
  // Sequences that keep every step near the shortcut's threshold, far on
  // either side of it, on signed zeros and infinities; each against the
  // full step applied to every value.
  const double nearThreshold[] = {0.0,  -37.0, std::nextafter(-37.0, 0.0), std::nextafter(-37.0, -40.0),
                                  -36.7368, -36.74, 37.0, -74.0, -0.0,   36.9999, 0.0};
  const double zeros[] = {-0.0, -40.0, -0.0, 0.0, 40.0, -0.0, -1e300, -0.0};
  const double infinities[] = {-kInf, 2.0, kInf, -3.0, kInf, 1e308, -kInf};
  const double huge[] = {1e308, -1e308, 1e308, 1.7e308, 1e-300, -5e-324};
  struct Case {
    const char *name;
    std::vector<double> values;
  };
  std::mt19937 rng(11);
  const std::vector<Case> cases = {
      {"random, spread 30", randomVector(rng, 2000, 30.0)},
      {"random, spread 5", randomVector(rng, 2000, 5.0)},
      {"random, spread 1000", randomVector(rng, 2000, 1000.0)},
      {"near the threshold", {std::begin(nearThreshold), std::end(nearThreshold)}},
      {"signed zeros", {std::begin(zeros), std::end(zeros)}},
      {"-0 then far below", {-0.0, -40.0}}, // +0
      {"far below then -0", {-50.0, -0.0}}, // +0
      {"infinities", {std::begin(infinities), std::end(infinities)}},
      {"huge and tiny", {std::begin(huge), std::end(huge)}},
      // Long sums, where most steps are decided without exp and log.
      {"long, spread 1", randomVector(rng, 300000, 1.0)},
      {"long, spread 5", randomVector(rng, 300000, 5.0)},
      {"long, shifted to -1000", shifted(randomVector(rng, 100000, 2.0), -1000.0)},
  };
  for (const Case &c : cases) {
    std::vector<double> v = c.values;
    EXPECT_TRUE(sameBits(mixLogSum(v.data(), static_cast<int>(v.size())),
                         literalMixLogSum(v.data(), static_cast<int>(v.size()))))
        << c.name;
    // The sign of a zero result shows through its reciprocal.
    EXPECT_EQ(std::signbit(mixLogSum(v.data(), static_cast<int>(v.size()))),
              std::signbit(literalMixLogSum(v.data(), static_cast<int>(v.size()))))
        << c.name;
  }
  double negativeZero[] = {-0.0};
  EXPECT_TRUE(std::signbit(mixLogSum(negativeZero, 1)));
}

// The facts the log-sum's shortcut rests on, about this machine's library:
// below a difference of -37, exp adds nothing to 1.0, and log(1.0) is +0.
TEST(MixLogSum, TheLibraryAgreesWithTheShortcut) {
  const double one = 1.0;
  const double logOfOne = std::log(one);
  EXPECT_TRUE(logOfOne == 0.0 && !std::signbit(logOfOne));
  std::mt19937 rng(13);
  std::uniform_real_distribution<double> below(-745.5, -37.0);
  for (int k = 0; k < 200000; ++k) {
    const double d = k == 0 ? std::nextafter(-37.0, -40.0) : below(rng);
    ASSERT_EQ(std::exp(d) + 1.0, 1.0) << d;
  }
}

// The exponential's estimate keeps the error that its users assume (2^-50.5
// relative; the library's own error is up to 2^-53 more).
TEST(MixLogSum, ExpEstimateStaysWithinItsBound) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<double> exponents(-40.0, -6.0);
  for (int k = 0; k < 200000; ++k) {
    const double z = k == 0 ? -40.0 : k == 1 ? -6.0 : exponents(rng);
    const log_sum_steps::ExpEstimate estimate = log_sum_steps::estimateExp(z);
    ASSERT_TRUE(estimate.valid && estimate.z == z);
    ASSERT_LE(std::fabs(estimate.value - std::exp(z)), std::exp(z) * 0x1p-50) << z;
  }
  for (double z : {-40.1, -5.9, kNaN, -kInf})
    EXPECT_FALSE(log_sum_steps::estimateExp(z).valid) << z;
}

// Steps the bounds cannot decide go to exp and log: a sum that rounds to a
// power of two, a value above or too near the total, a total that moved too
// far since the estimate. Decided steps give the literal bits.
TEST(MixLogSum, StepsDecidedWithoutTheLibraryOrHandedBack) {
  struct Step {
    double previous, acc, a;
    bool decided;
  };
  const double belowThirtyTwo = std::nextafter(32.0, 0.0);
  const Step steps[] = {
      {20.0, 20.0, 5.0, true},
      {20.0 - 1e-9, 20.0, 7.5, true},
      {20.0, 20.0 + 1e-3, 5.0, false}, // moved by more than 2^-11
      {belowThirtyTwo, belowThirtyTwo, belowThirtyTwo - 48 * std::log(2.0), false}, // sum 32
      {20.0, 20.0, 13.0, false},                                       // 7 below
      {20.0, 20.0, -30.0, false},                                      // 50 below
      {20.0, 20.0, 25.0, false},                                       // above
  };
  for (const Step &step : steps) {
    const auto estimate = log_sum_steps::estimateExp(step.a - step.previous);
    double result = kNaN;
    const bool decided = log_sum_steps::decideStep(step.acc, step.a, estimate, result);
    EXPECT_EQ(decided, step.decided) << step.acc << " " << step.a;
    double pair[] = {step.acc, step.a};
    if (decided) {
      EXPECT_TRUE(sameBits(result, literalMixLogSum(pair, 2)));
    }
    EXPECT_TRUE(sameBits(mixLogSum(pair, 2), literalMixLogSum(pair, 2)));
  }
}

// gmmEval against the literal passes on every target, with and without the
// densities.
void expectLiteralBits(double *data, int dim, int dataNum, GMMPARAM &gmm, const char *what) {
  const int mixNum = gmm.mixNum;
  std::vector<double> expectedLog(dataNum), expectedMix(mixNum * dataNum);
  literalGmmEval(data, dim, dataNum, gmm, expectedLog.data(), expectedMix.data());
  for (KernelTarget target : supportedKernelTargets()) {
    ScopedKernelTarget forced(target);
    std::vector<double> logProb(dataNum), mixProb(mixNum * dataNum), logOnly(dataNum);
    gmmEval(data, dim, dataNum, gmm, logProb.data(), mixProb.data());
    gmmEval(data, dim, dataNum, gmm, logOnly.data(), nullptr);
    for (int i = 0; i < dataNum; ++i) {
      ASSERT_TRUE(sameBits(logProb[i], expectedLog[i]))
          << what << " on " << kernelTargetName(target) << ", vector " << i;
      ASSERT_TRUE(sameBits(logOnly[i], expectedLog[i]))
          << what << " on " << kernelTargetName(target) << ", vector " << i;
    }
    for (int k = 0; k < mixNum * dataNum; ++k)
      ASSERT_TRUE(sameBits(mixProb[k], expectedMix[k]))
          << what << " on " << kernelTargetName(target) << ", entry " << k;
  }
}

TEST(GmmEval, MatchesThePlainThreePassEvaluationBitForBit) {
  std::mt19937 rng(5);
  struct Shape {
    int dim, mixNum, dataNum;
  };
  // Passes of 4, 8 or 16 frames (by target) with a partial last one; 64
  // mixtures of dimension 39 make long chains of full log-sum steps.
  const Shape shapes[] = {{1, 1, 23}, {1, 4, 23}, {1, 7, 23}, {3, 1, 23}, {3, 4, 23},
                          {3, 7, 23}, {39, 7, 23}, {39, 64, 301}, {0, 3, 5}};
  for (const Shape &s : shapes) {
    std::vector<double> data = randomVector(rng, s.dim * s.dataNum, 2.0);
    std::vector<double> mean = randomVector(rng, s.dim * s.mixNum);
    std::vector<double> covariance(s.mixNum), weight(s.mixNum);
    std::uniform_real_distribution<double> uniform(0.2, 3.0);
    for (int j = 0; j < s.mixNum; ++j) {
      covariance[j] = uniform(rng);
      weight[j] = uniform(rng) / s.mixNum;
    }
    GMMPARAM gmm = modelOf(s.dim, mean, covariance, weight);
    expectLiteralBits(data.data(), s.dim, s.dataNum, gmm, "random model");
  }
}

// NaN, infinities, zero weights and variances, and frames far from every
// mixture (densities that underflow) in the lanes of one pass.
TEST(GmmEval, SpecialValuesKeepTheLiteralBitsOnEveryTarget) {
  std::vector<double> data = {0.0,  0.0, kNaN, 1.0, kInf, 0.0, -kInf, kInf, 1e3, -1e3,
                              1e-300, -0.0, 5.0, 5.0, 30.0, -30.0, 0.5, 0.25};
  std::vector<double> mean = {0.0, 0.0, 1.0, -1.0, 5.0, 5.0, 0.0, 0.0};
  std::vector<double> covariance = {1.0, 0.0, 2.0, 1e-3}, weight = {0.5, 0.25, 0.0, 0.25};
  GMMPARAM gmm = modelOf(2, mean, covariance, weight);
  expectLiteralBits(data.data(), 2, 9, gmm, "special values");
  std::vector<double> negative = {-1.0, 0.5, kNaN, 0.5};
  gmm.weight = negative.data();
  expectLiteralBits(data.data(), 2, 9, gmm, "negative and NaN weights");
}

TEST(GmmEval, OneMixtureOfWeightOneIsItsGaussian) {
  std::vector<double> data = {0.5, 1.0, -1.0, 2.0}, mean = {0.0, 0.5}, covariance = {1.5},
                      weight = {1.0};
  GMMPARAM gmm = modelOf(2, mean, covariance, weight);
  gmm.gmmType = 3; // not consulted
  double logProb[2], mixProb[2];
  gmmEval(data.data(), 2, 2, gmm, logProb, mixProb);
  for (int i = 0; i < 2; ++i) {
    const double expected = gaussian01Log(&data[2 * i], 2, mean.data(), covariance.data(), 0.0);
    EXPECT_TRUE(sameBits(logProb[i], expected + std::log(1.0)));
    EXPECT_TRUE(sameBits(mixProb[i], std::exp(expected)));
  }
}

TEST(GmmEval, ZeroWeightDropsOutUnlessTwoInfinitiesMeet) {
  std::vector<double> data = {0.3, -0.2};
  std::vector<double> mean2 = {0.0, 1.0}, cov2 = {1.0, 2.0}, w2 = {0.5, 0.0};
  std::vector<double> mean1 = {0.0}, cov1 = {1.0}, w1 = {0.5};
  GMMPARAM with = modelOf(1, mean2, cov2, w2), without = modelOf(1, mean1, cov1, w1);
  double logWith[2], mixWith[4], logWithout[2], mixWithout[2];
  gmmEval(data.data(), 1, 2, with, logWith, mixWith);
  gmmEval(data.data(), 1, 2, without, logWithout, mixWithout);
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(sameBits(logWith[i], logWithout[i]));
    double x[] = {data[i]}, mu[] = {1.0}, sigma[] = {2.0};
    EXPECT_TRUE(sameBits(mixWith[1 + 2 * i], std::exp(gaussian01Log(x, 1, mu, sigma, 0.0))));
  }
  // Zero weight first and second: -Inf meets -Inf.
  std::vector<double> w0 = {0.0, 0.0};
  GMMPARAM zeroes = modelOf(1, mean2, cov2, w0);
  gmmEval(data.data(), 1, 2, zeroes, logWith, mixWith);
  EXPECT_TRUE(std::isnan(logWith[0]));
}

TEST(GmmEval, ModelWithoutMixturesGivesMinusInfinity) {
  std::vector<double> data = {1.0, 2.0}, none;
  GMMPARAM gmm = modelOf(1, none, none, none);
  double logProb[2] = {7.0, 7.0};
  gmmEval(data.data(), 1, 2, gmm, logProb, nullptr);
  EXPECT_EQ(logProb[0], -kInf);
  EXPECT_EQ(logProb[1], -kInf);
}

} // namespace
