#include "utility.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

TEST(VecDistance, L2IsTheSquaredSumAndMatchesSquaredDistance) {
  std::mt19937 rng(7);
  std::normal_distribution<double> normal;
  for (int dim : {1, 3, 17}) {
    std::vector<double> a(dim), b(dim);
    for (int i = 0; i < dim; ++i) {
      a[i] = normal(rng);
      b[i] = normal(rng);
    }
    double literal = 0.0;
    for (int i = 0; i < dim; ++i)
      literal += (a[i] - b[i]) * (a[i] - b[i]);
    EXPECT_EQ(vecDistance(a.data(), b.data(), dim, 2), literal);
    EXPECT_EQ(squaredDistance(a.data(), b.data(), dim), literal);
  }
  double p[] = {0, 0}, q[] = {3, 4};
  EXPECT_EQ(vecDistance(p, q, 2, 2), 25.0);
  EXPECT_EQ(vecDistance(p, q, 2, 1), 7.0);
}

std::uint64_t bitsOf(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

// The kernels written out term by term, the way the arithmetic is defined.
double literalL1(const std::vector<double> &a, const std::vector<double> &b, double bound) {
  double sum = 0.0;
  for (size_t i = 0; i < a.size(); ++i) {
    const double d = a[i] - b[i];
    sum += d > 0 ? d : -d;
    if (sum > bound)
      return 2147483647.0;
  }
  return sum;
}

TEST(VecDistance, L1KeepsTheBitsOfTheConditionalNegation) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  std::vector<std::vector<double>> cases = {
      {0.0, -0.0}, {-0.0}, {nan, 1.0}, {-nan}, {inf, -inf}, {1e308, 1e308}, {}};
  for (int k = 0; k < 50; ++k) {
    std::vector<double> v(1 + k % 9);
    for (double &x : v)
      x = uniform(rng);
    cases.push_back(v);
  }
  for (const auto &a : cases) {
    const std::vector<double> b(a.size(), 0.0);
    const std::vector<double> c(a.rbegin(), a.rend());
    for (const auto *other : {&b, &c}) {
      const int n = static_cast<int>(a.size());
      EXPECT_EQ(bitsOf(vecDistance(a.data(), other->data(), n, 1)),
                bitsOf(literalL1(a, *other, std::numeric_limits<double>::infinity())));
      for (double bound : {0.0, 0.5, 2.0, 1e300})
        EXPECT_EQ(bitsOf(vecDistanceWithBound(a.data(), other->data(), n, 1, bound)),
                  bitsOf(literalL1(a, *other, bound)));
    }
  }
}

TEST(VecDistanceWithBound, AbandonsOnlyWhenTheRunningSumExceedsTheBound) {
  double a[] = {0, 0, 0}, b[] = {1, -2, 1};
  EXPECT_EQ(vecDistanceWithBound(a, b, 3, 1, 3.0), TOO_FAR_DISTANCE);
  EXPECT_EQ(vecDistanceWithBound(a, b, 3, 1, 4.0), 4.0); // equal to the bound goes on
  EXPECT_EQ(vecDistanceWithBound(a, b, 3, 1, 0.5), TOO_FAR_DISTANCE); // after the first term
  EXPECT_EQ(vecDistanceWithBound(a, b, 3, 2, 5.0), TOO_FAR_DISTANCE); // squared sum 6
  EXPECT_EQ(vecDistanceWithBound(a, b, 3, 2, 6.0), 6.0);
}

TEST(VecDistanceWithBound, SentinelIsTheLargestIntNotInfinity) {
  EXPECT_EQ(TOO_FAR_DISTANCE, 2147483647.0);
  double a[] = {1e10}, b[] = {0};
  EXPECT_EQ(vecDistanceWithBound(a, b, 1, 2, 1.0), 2147483647.0);
}

TEST(VecDistanceWithinBound, TellsAnAbandonedCandidateFromARealDistance) {
  double a[] = {2147483647.0}, b[] = {0};
  double distance = -1;
  ASSERT_TRUE(vecDistanceWithinBound(a, b, 1, 1, 1e300, distance));
  EXPECT_EQ(distance, 2147483647.0);
  EXPECT_FALSE(vecDistanceWithinBound(a, b, 1, 1, 1.0, distance));
}

TEST(DistanceKernels, EmptyVectorsGiveZeroForValidTypes) {
  double a[] = {1}, b[] = {2};
  for (int type : {1, 2}) {
    EXPECT_EQ(vecDistance(a, b, 0, type), 0.0);
    EXPECT_EQ(vecDistanceWithBound(a, b, -3, type, 0.0), 0.0);
  }
  EXPECT_EQ(squaredDistance(a, b, 0), 0.0);
}

TEST(DistanceKernels, UnknownTypeFailsThroughTheLibraryEvenWhenEmpty) {
  double a[] = {1}, b[] = {2};
  testing::internal::CaptureStdout();
  EXPECT_THROW(vecDistance(a, b, 0, 3), LibraryFailure);
  EXPECT_THROW(vecDistanceWithBound(a, b, 1, 0, 10.0), LibraryFailure);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Unknown method!\n"), std::string::npos);
  try {
    vecDistance(a, b, 1, 7);
    FAIL() << "no failure";
  } catch (const LibraryFailure &failure) {
    EXPECT_STREQ(failure.what(), "Unknown method!");
  }
}

} // namespace
