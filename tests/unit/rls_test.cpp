#include "cpu_dispatch.h"
#include "host_standin.h"
#include "literal_rls.h"
#include "rls.h"
#include "test_support.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace {

TEST(MatrixTemplates, ProductTransposeAndElementWiseOperations) {
  Matrix A(2, 3, {1, 2, 3, 4, 5, 6});
  Matrix B(3, 2, {7, 8, 9, 10, 11, 12});
  Matrix C(2, 2, {99, 99, 99, 99}); // overwritten, not accumulated into
  matMultiply<double>(A, B, 2, 3, 2, C);
  EXPECT_EQ(C[0][0], 58.0);
  EXPECT_EQ(C[0][1], 64.0);
  EXPECT_EQ(C[1][0], 139.0);
  EXPECT_EQ(C[1][1], 154.0);

  Matrix At(3, 2);
  matTranspose<double>(A, 2, 3, At);
  EXPECT_EQ(At[2][0], 3.0);
  EXPECT_EQ(At[0][1], 4.0);
  EXPECT_EQ(At[2][1], 6.0);

  matMultiplyScalar<double>(0.5, C, 2, 2, C); // in place
  EXPECT_EQ(C[1][1], 77.0);
  Matrix D(2, 2, {1, 2, 3, 4});
  matSubtract<double>(C, D, 2, 2, D); // into the second operand
  EXPECT_EQ(D[0][0], 28.0);
  EXPECT_EQ(D[1][1], 73.0);
  matAdd<double>(D, C, 2, 2, D); // into the first operand
  EXPECT_EQ(D[0][1], 30.0 + 32.0);
}

TEST(MatrixTemplates, ProductAddsTermsInIndexOrder) {
  // (1e16 + 1) - 1e16 is 0 in doubles, 1e16 + (1 - 1e16) is not: the order
  // of the sum shows.
  Matrix A(1, 3, {1e16, 1, -1e16});
  Matrix B(3, 1, {1, 1, 1});
  Matrix C(1, 1);
  matMultiply<double>(A, B, 1, 3, 1, C);
  EXPECT_EQ(C[0][0], (1e16 + 1.0) + -1e16);
}

class Rls : public testing::Test {
protected:
  void SetUp() override { rlseReset<double>(); }
  void TearDown() override { rlseReset<double>(); }

  static std::vector<double> fit(const std::vector<double> &x, const std::vector<double> &y,
                                 int order) {
    std::vector<double> coef(order + 1, -7.0);
    polyfit(x.data(), static_cast<int>(x.size()), y.data(), order, coef.data());
    return coef;
  }
};

std::vector<double> noisyPoints(int count, unsigned seed, double low, double high) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> uniform(low, high);
  std::vector<double> values(count);
  for (double &v : values)
    v = uniform(rng);
  return values;
}

bool sameBits(const std::vector<double> &x, const std::vector<double> &y) {
  return x.size() == y.size() && std::memcmp(x.data(), y.data(), x.size() * sizeof(double)) == 0;
}

// Which NaN comes out where two NaNs meet depends on the order of the
// operands, which the compiler may swap: there a NaN matches any NaN.
bool sameBitsAnyNaN(const std::vector<double> &x, const std::vector<double> &y) {
  if (x.size() != y.size())
    return false;
  for (std::size_t i = 0; i < x.size(); ++i)
    if (!sameBits({x[i]}, {y[i]}) && !(std::isnan(x[i]) && std::isnan(y[i])))
      return false;
  return true;
}

TEST_F(Rls, ExactLineGivesSlopeThenInterceptUpToTheInitialPull) {
  std::vector<double> x, y;
  for (int i = 0; i < 21; ++i) {
    x.push_back(-1.0 + 0.1 * i);
    y.push_back(2.0 * x.back() + 1.0);
  }
  // The estimate solves (A'A + 1e-6 I) theta = A'y; for this 2 x 2 system,
  // by Cramer's rule.
  double sxx = 0, sx = 0, sxy = 0, sy = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    sxx += x[i] * x[i];
    sx += x[i];
    sxy += x[i] * y[i];
    sy += y[i];
  }
  const double a11 = sxx + 1e-6, a22 = x.size() + 1e-6;
  const double det = a11 * a22 - sx * sx;
  const std::vector<double> coef = fit(x, y, 1);
  EXPECT_NEAR(coef[0], (sxy * a22 - sx * sy) / det, 1e-10);
  EXPECT_NEAR(coef[1], (a11 * sy - sx * sxy) / det, 1e-10);
  EXPECT_NEAR(coef[0], 2.0, 1e-6);
  EXPECT_NEAR(coef[1], 1.0, 1e-6);
}

TEST_F(Rls, OrderZeroGivesTheSumOverCountPlusTheInitialPull) {
  const std::vector<double> x = noisyPoints(50, 1, -3, 3);
  const std::vector<double> y = noisyPoints(50, 2, 0, 10);
  double sum = 0;
  for (double v : y)
    sum += v;
  const std::vector<double> coef = fit(x, y, 0);
  ASSERT_EQ(coef.size(), 1u);
  EXPECT_NEAR(coef[0], sum / (50 + 1e-6), 1e-12 * std::fabs(coef[0]));
}

TEST_F(Rls, ASecondFitContinuesTheFirstAndAnEmptyOneChangesNothing) {
  const std::vector<double> x = noisyPoints(40, 3, -2, 2);
  const std::vector<double> y = noisyPoints(40, 4, -5, 5);
  fit(x, y, 3);
  const std::vector<double> none;
  const std::vector<double> untouched = fit(none, none, 3);
  EXPECT_EQ(untouched, std::vector<double>(4, -7.0)); // coef not written
  const std::vector<double> second = fit(x, y, 3);

  rlseReset<double>();
  std::vector<double> x2 = x, y2 = y;
  x2.insert(x2.end(), x.begin(), x.end());
  y2.insert(y2.end(), y.begin(), y.end());
  EXPECT_EQ(second, fit(x2, y2, 3)); // same updates, so the same bits
}

TEST_F(Rls, ANewSizeStartsAFreshEstimation) {
  const std::vector<double> x = noisyPoints(30, 5, -1, 1);
  const std::vector<double> y = noisyPoints(30, 6, -1, 1);
  fit(x, y, 1);
  const std::vector<double> afterOther = fit(x, y, 2);
  rlseReset<double>();
  EXPECT_EQ(afterOther, fit(x, y, 2));
}

// Batches of 61 points from a fresh estimator, so that every bit of every
// regressor row shows in the result, on every instruction set: random
// points, and points whose squares or cubes lie on rounding midpoints (odd
// whole numbers with 27 and 18 bits; their neighbours too), where polyfit's
// powers come from the library.
TEST_F(Rls, PolyfitMakesTheSameUpdatesAsTheBatchOverTheRegressorMatrix) {
  const int dataNum = 61;
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> uniform(-2, 2);
  // Halves of the odd numbers x with x^2 (x^3) in [2^53, 2^54).
  std::uniform_int_distribution<int> square(94906266 / 2, 134217727 / 2);
  std::uniform_int_distribution<int> cube(209716 / 2, 262143 / 2);
  struct Source {
    const char *name;
    int order, batches;
    std::function<double()> draw;
  };
  // The odd number itself half of the time, else a neighbour.
  auto nearOdd = [&](double odd) {
    const int pick = static_cast<int>(rng() % 4);
    return pick < 2 ? odd : std::nextafter(odd, pick == 2 ? 0.0 : 1e300);
  };
  const Source sources[] = {
      {"uniform", 3, 300, [&] { return uniform(rng); }},
      {"uniform, order 7", 7, 100, [&] { return uniform(rng); }},
      {"square midpoints", 2, 100, [&] { return nearOdd(2.0 * square(rng) + 1) * 0x1p-20; }},
      {"cube midpoints", 4, 100, [&] { return -nearOdd(2.0 * cube(rng) + 1); }},
  };
  const std::vector<double> y = noisyPoints(dataNum, 8, -2, 2);
  for (const Source &source : sources) {
    const int n = source.order + 1;
    for (int batch = 0; batch < source.batches; ++batch) {
      std::vector<double> x(dataNum), regressor(dataNum * n);
      for (int i = 0; i < dataNum; ++i) {
        x[i] = source.draw();
        for (int j = 0; j < n; ++j)
          regressor[i + j * dataNum] = std::pow(x[i], static_cast<double>(source.order - j));
      }
      for (KernelTarget target : supportedKernelTargets()) {
        ScopedKernelTarget scoped(target);
        std::vector<double> theta(n);
        rlseReset<double>();
        rlseBatch(regressor.data(), dataNum, n, y.data(), 1, 1.0, theta.data());
        rlseReset<double>();
        ASSERT_TRUE(sameBits(fit(x, y, source.order), theta))
            << source.name << ", batch " << batch << " on " << kernelTargetName(target);
      }
    }
  }
}

TEST_F(Rls, PointAtZeroContributesOnlyToTheConstantTerm) {
  const std::vector<double> coef = fit({0.0}, {3.0}, 2);
  EXPECT_EQ(coef[0], 0.0);
  EXPECT_EQ(coef[1], 0.0);
  EXPECT_NEAR(coef[2], 3.0, 1e-5);
}

TEST_F(Rls, NullThetaUpdatesTheStateAndReturnsThePrediction) {
  const double r1[] = {1.0, 2.0}, r2[] = {-1.0, 0.5};
  const double t1[] = {3.0}, t2[] = {-2.0};
  double thetaFirst[2] = {9, 9}, thetaSecond[2];
  const double withCopy1 = rlseOneUpdate(r1, 2, t1, 1, 0.98, thetaFirst);
  const double withCopy2 = rlseOneUpdate(r2, 2, t2, 1, 0.98, thetaSecond);
  EXPECT_EQ(withCopy1, thetaFirst[0] * r1[0] + thetaFirst[1] * r1[1]);

  rlseReset<double>();
  double thetaLater[2];
  EXPECT_EQ(rlseOneUpdate<double>(r1, 2, t1, 1, 0.98, nullptr), withCopy1);
  EXPECT_EQ(rlseOneUpdate(r2, 2, t2, 1, 0.98, thetaLater), withCopy2);
  EXPECT_EQ(thetaLater[0], thetaSecond[0]);
  EXPECT_EQ(thetaLater[1], thetaSecond[1]);
}

TEST_F(Rls, EachOutputColumnIsEstimatedAsOnItsOwnAndStoredColumnMajor) {
  const int dataNum = 12, n = 3, m = 2;
  const std::vector<double> A = noisyPoints(dataNum * n, 9, -1, 1);
  const std::vector<double> B = noisyPoints(dataNum * m, 10, -1, 1);
  std::vector<double> theta(n * m);
  rlseBatch(A.data(), dataNum, n, B.data(), m, 0.95, theta.data());
  for (int j = 0; j < m; ++j) {
    rlseReset<double>();
    std::vector<double> single(n);
    rlseBatch(A.data(), dataNum, n, B.data() + j * dataNum, 1, 0.95, single.data());
    for (int i = 0; i < n; ++i)
      EXPECT_EQ(theta[i + j * n], single[i]) << "element (" << i << ", " << j << ")";
  }
}

TEST_F(Rls, SizesBelowOneAndANegativeOrderAreRefused) {
  const double value[] = {1.0};
  EXPECT_EQ(failureMessage([&] { rlseOneUpdate<double>(value, 0, value, 1, 1.0, nullptr); }),
            "Error in rlseOneUpdate: n (0) and m (1) must be at least 1!");
  EXPECT_EQ(failureMessage([&] { rlseOneUpdate<double>(value, 1, value, -2, 1.0, nullptr); }),
            "Error in rlseOneUpdate: n (1) and m (-2) must be at least 1!");
  EXPECT_EQ(failureMessage([&] { polyfit<double>(value, 1, value, -1, nullptr); }),
            "Error in polyfit: order (-1) is out of range!");
  // The refusals left no state behind: a fit now starts afresh, and its
  // first update is, step by step, S = 1e6 - 1e6 * 1e6 / (1 + 1e6), P = S * 4.
  const std::vector<double> after = fit({2.0}, {4.0}, 0);
  const double covariance = 1e6 - (1e6 * 1e6) * (1.0 / (1.0 + 1e6));
  EXPECT_EQ(after[0], covariance * 4.0);
}

// Samples with awkward values mixed in: zeros of both signs, tiny and large
// magnitudes.
std::vector<double> awkwardValues(int count, unsigned seed) {
  std::vector<double> values = noisyPoints(count, seed, -2, 2);
  const double awkward[] = {0.0, -0.0, 1e-300, -3e-200, 1e60, 1.0, -1.0};
  for (int k = 0; k < count; k += 5)
    values[k] = awkward[(k / 5) % 7];
  return values;
}

// Sizes 1 .. 8 with one output take the fixed-size path, the rest the
// general one; both must give the literal updates' bits, through every
// entry point, also with a value that is not finite (placed into A at
// poisonAt) and with a forgetting factor of 0.
TEST_F(Rls, EveryPathMatchesTheLiteralUpdatesBitForBit) {
  const double nan = std::nan(""), inf = INFINITY;
  struct Case {
    int n, m;
    double lambda;
    int poisonAt = -1;
    double poison = 0;
  };
  const Case cases[] = {{1, 1, 1.0}, {2, 1, 0.95}, {3, 1, 1.0}, {4, 1, 1.0}, {4, 1, 0.99},
                        {5, 1, 1.0}, {6, 1, 0.9},  {7, 1, 1.0}, {8, 1, 1.0}, {9, 1, 1.0},
                        {12, 1, 0.98}, {2, 2, 1.0}, {4, 3, 0.97},
                        {4, 1, 1.0, 100, nan}, {3, 1, 0.9, 50, -inf}, {8, 1, 1.0, 7, inf},
                        {4, 1, 0.0}, {2, 1, -0.0}};
  const int dataNum = 60;
  unsigned seed = 100;
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "n " << c.n << " m " << c.m << " lambda " << c.lambda
                                    << " poison " << c.poison << " at " << c.poisonAt);
    std::vector<double> A = awkwardValues(dataNum * c.n, seed++);
    const std::vector<double> B = awkwardValues(dataNum * c.m, seed++);
    if (c.poisonAt >= 0)
      A[c.poisonAt] = c.poison;
    LiteralEstimator literal(c.n, c.m);
    std::vector<double> rowA(c.n), rowB(c.m), theta(c.n * c.m, 9.0);
    rlseReset<double>();
    for (int i = 0; i < dataNum; ++i) {
      for (int j = 0; j < c.n; ++j)
        rowA[j] = A[i + j * dataNum];
      for (int j = 0; j < c.m; ++j)
        rowB[j] = B[i + j * dataNum];
      const double expected = literal.update(rowA.data(), rowB.data(), c.lambda);
      const double actual =
          rlseOneUpdate(rowA.data(), c.n, rowB.data(), c.m, c.lambda, i % 2 ? theta.data() : nullptr);
      ASSERT_TRUE(sameBitsAnyNaN({actual}, {expected})) << "update " << i;
    }
    EXPECT_TRUE(sameBitsAnyNaN(theta, literal.theta()));

    for (KernelTarget target : supportedKernelTargets()) {
      ScopedKernelTarget scoped(target);
      rlseReset<double>();
      std::vector<double> batchTheta(c.n * c.m);
      rlseBatch(A.data(), dataNum, c.n, B.data(), c.m, c.lambda, batchTheta.data());
      EXPECT_TRUE(sameBitsAnyNaN(batchTheta, literal.theta())) << kernelTargetName(target);
    }
  }
}

// On every instruction set, also with points whose powers the library must
// give (huge, tiny, next to a rounding midpoint: 94906267^2 and 209717^3 are
// ones), and points that are not finite (after which the estimate is NaN in
// both). 83 points leave a partial group of lanes at the end.
TEST_F(Rls, PolyfitOfEveryOrderMatchesTheLiteralUpdatesBitForBit) {
  std::vector<double> x = awkwardValues(83, 31);
  const std::vector<double> y = awkwardValues(83, 32);
  x[3] = 94906267.0;
  x[4] = -0.0;
  x[12] = 209717.0;
  x[13] = -209719.0;
  std::vector<double> nonFinite = x;
  nonFinite[40] = std::numeric_limits<double>::signaling_NaN();
  nonFinite[41] = -INFINITY;
  for (const std::vector<double> *points : {&x, &nonFinite})
    for (int order = 0; order <= 9; ++order) {
      LiteralEstimator literal(order + 1, 1);
      std::vector<double> row(order + 1);
      for (std::size_t i = 0; i < points->size(); ++i) {
        for (int j = 0; j <= order; ++j)
          row[j] = std::pow((*points)[i], static_cast<double>(order - j));
        literal.update(row.data(), &y[i], 1.0);
      }
      for (KernelTarget target : supportedKernelTargets()) {
        SCOPED_TRACE(testing::Message() << "order " << order << " on " << kernelTargetName(target)
                                        << (points == &x ? "" : ", not finite"));
        ScopedKernelTarget scoped(target);
        rlseReset<double>();
        EXPECT_TRUE(sameBitsAnyNaN(fit(*points, y, order), literal.theta()));
      }
    }
}

// Limits the address space so that creating an estimator for n inputs fails
// once its covariance exists, then lifts the limit and repeats the call; the
// result must equal that of a fresh estimator.
bool interruptedCreationIsRebuilt(const std::vector<double> &regressor) {
  const int n = static_cast<int>(regressor.size());
  const double target[] = {3.0};
  const bool failed = withAddressSpaceLimit(26LL << 20, [&] {
    try {
      rlseOneUpdate<double>(regressor.data(), n, target, 1, 1.0, nullptr);
    } catch (const HostError &) {
      return true;
    }
    return false;
  });
  std::vector<double> theta(n), freshTheta(n);
  const double next = rlseOneUpdate(regressor.data(), n, target, 1, 1.0, theta.data());
  rlseReset<double>();
  const double fresh = rlseOneUpdate(regressor.data(), n, target, 1, 1.0, freshTheta.data());
  return failed && next == fresh && theta == freshTheta;
}

// The host's error exit interrupts the creation of the estimator: the next
// call of the same size must not use the half-built state but build a whole
// new one.
TEST(RlsDeathTest, AnInterruptedCreationIsRebuiltAtTheNextCall) {
  if (kAddressSanitizer)
    GTEST_SKIP() << "needs an address-space limit";
  rlseReset<double>();
  const std::vector<double> regressor = noisyPoints(1500, 11, -1, 1); // S: 18 MB
  EXPECT_EXIT(std::exit(interruptedCreationIsRebuilt(regressor) ? 0 : 1),
              testing::ExitedWithCode(0), "");
}

} // namespace
