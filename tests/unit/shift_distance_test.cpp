#include "numeric_oracles.h"
#include "test_support.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

struct Shift {
  double distance;
  double offset;
  int alignment;
};

// The sliding comparison, written out.
Shift literalShiftDist(const std::vector<double> &a, const std::vector<double> &b, int type) {
  const bool aShorter = a.size() <= b.size();
  const std::vector<double> &s = aShorter ? a : b, &t = aShorter ? b : a;
  const int n = static_cast<int>(s.size()), m = static_cast<int>(t.size());
  Shift best{2147483647.0, -12345.0, -1};
  for (int i = 0; i <= m - n; ++i) {
    std::vector<double> d(n), shifted(n);
    for (int j = 0; j < n; ++j)
      d[j] = s[j] - t[i + j];
    const double offset = type == 1 ? sortedMedian(d) : sequentialMean(d);
    for (int j = 0; j < n; ++j)
      shifted[j] = s[j] - offset;
    const double distance = literalDistance(shifted, t.data() + i, type);
    if (distance < best.distance)
      best = {distance, offset, i};
  }
  return best;
}

Shift run(const std::vector<double> &a, const std::vector<double> &b, int type) {
  Shift result{0, -12345.0, -7};
  result.distance = lrShiftDist(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), type, result.offset,
                                result.alignment);
  return result;
}

void expectSame(const Shift &actual, const Shift &expected, const std::string &what) {
  EXPECT_TRUE(sameBits(actual.distance, expected.distance)) << what;
  EXPECT_TRUE(sameBits(actual.offset, expected.offset)) << what;
  EXPECT_EQ(actual.alignment, expected.alignment) << what;
}

TEST(LrShiftDist, AgreesWithTheLiteralAlgorithmOnRandomDataInEitherOrder) {
  std::mt19937 rng(17);
  std::normal_distribution<double> normal(0.0, 2.0);
  std::uniform_int_distribution<int> coarse(-3, 3); // ties between alignments
  for (int trial = 0; trial < 200; ++trial) {
    const int n = 1 + trial % 9, m = n + static_cast<int>(rng() % 15);
    std::vector<double> s(n), t(m);
    for (double &x : s)
      x = trial % 4 == 0 ? coarse(rng) : normal(rng);
    for (double &x : t)
      x = trial % 4 == 0 ? coarse(rng) : normal(rng);
    for (int type : {1, 2}) {
      const std::string what = "trial " + std::to_string(trial) + " type " + std::to_string(type);
      const Shift expected = literalShiftDist(s, t, type);
      expectSame(run(s, t, type), expected, what);
      if (m != n)
        expectSame(run(t, s, type), expected, what + " swapped");
    }
  }
}

TEST(LrShiftDist, FindsAShiftedCopyWithItsOffset) {
  const std::vector<double> longer = {9, -4, 1, 5, 2, 8, 0};
  const std::vector<double> shorter = {1 + 2.5, 5 + 2.5, 2 + 2.5}; // segment at 2 plus 2.5
  for (int type : {1, 2}) {
    const Shift found = run(shorter, longer, type);
    EXPECT_EQ(found.distance, 0.0);
    EXPECT_EQ(found.offset, 2.5);
    EXPECT_EQ(found.alignment, 2);
    const Shift swapped = run(longer, shorter, type); // offset is still shorter - longer
    EXPECT_EQ(swapped.offset, 2.5);
    EXPECT_EQ(swapped.alignment, 2);
  }
}

TEST(LrShiftDist, EqualLengthsGiveOneAlignmentWithTheFirstAsShorter) {
  const std::vector<double> a = {1, 2, 10}, b = {0, 0, 0};
  const Shift median = run(a, b, 1);
  EXPECT_EQ(median.alignment, 0);
  EXPECT_EQ(median.offset, 2.0);
  EXPECT_EQ(median.distance, 9.0); // |-1| + 0 + 8
  const Shift mean = run(a, b, 2);
  EXPECT_EQ(mean.offset, 13.0 / 3);
  const Shift flipped = run(b, a, 1);
  EXPECT_EQ(flipped.offset, -2.0);
  EXPECT_EQ(flipped.distance, 9.0);
}

TEST(LrShiftDist, TiesKeepTheLowerAlignment) {
  const std::vector<double> periodic = {0, 1, 0, 1, 0, 1}, pattern = {5, 6};
  const Shift found = run(pattern, periodic, 1);
  EXPECT_EQ(found.distance, 0.0);
  EXPECT_EQ(found.alignment, 0); // alignments 0, 2 and 4 all give 0
}

TEST(LrShiftDist, EmptyInputAndDistancesThatNeverCount) {
  const std::vector<double> some = {1, 2}, none;
  for (const Shift &empty : {run(none, some, 1), run(some, none, 2), run(none, none, 3)}) {
    EXPECT_EQ(empty.distance, 2147483647.0);
    EXPECT_EQ(empty.offset, 2147483647.0);
    EXPECT_EQ(empty.alignment, -1);
  }
  double offset = -5;
  int alignment = 3;
  EXPECT_EQ(lrShiftDist(some.data(), -1, some.data(), 2, 1, offset, alignment), 2147483647.0);
  EXPECT_EQ(alignment, -1);

  // NaN data gives no distance below the too-far value: the offset is kept.
  const std::vector<double> nan = {std::nan(""), 1}, huge = {0, 1e10, 0};
  Shift noNumber = run(nan, some, 1);
  EXPECT_EQ(noNumber.distance, 2147483647.0);
  EXPECT_EQ(noNumber.alignment, -1);
  EXPECT_EQ(noNumber.offset, -12345.0);
  EXPECT_EQ(run(huge, std::vector<double>(3, 0.0), 2).alignment, -1);
}

TEST(LrShiftDist, UnknownTypeFailsWithItsMessage) {
  const std::vector<double> a = {1, 2}, b = {1, 2, 3};
  EXPECT_TRUE(isLocatedMessage(failureMessage([&] { run(a, b, 5); }), "Unknown distance type"));
  EXPECT_TRUE(isLocatedMessage(failureMessage([&] { run(b, a, 0); }), "Unknown distance type"));
}

} // namespace
