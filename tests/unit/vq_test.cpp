#include "clusterkit.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Literal k-means, the reference the library must match bit for bit.
// ---------------------------------------------------------------------------

struct Pass {
  std::vector<double> center;
  std::vector<int> memberIndex;
  std::vector<int> memberCount;
  double distortion;
};

Pass literalPass(const std::vector<double> &data, int dim, std::vector<double> center) {
  const int dataNum = static_cast<int>(data.size()) / dim;
  const int centerNum = static_cast<int>(center.size()) / dim;
  const std::vector<double> before = center;
  Pass pass{{}, std::vector<int>(dataNum), std::vector<int>(centerNum, 0), 0.0};
  for (int j = 0; j < dataNum; ++j) {
    int best = 0;
    double bestDistance = 0.0;
    for (int k = 0; k < centerNum; ++k) {
      double sum = 0.0;
      for (int d = 0; d < dim; ++d) {
        const double diff = data[j * dim + d] - before[k * dim + d];
        sum += diff * diff;
      }
      if (k == 0 || bestDistance > sum) {
        bestDistance = sum;
        best = k;
      }
    }
    pass.memberIndex[j] = best;
    pass.distortion += bestDistance;
  }
  for (int j = 0; j < dataNum; ++j)
    ++pass.memberCount[pass.memberIndex[j]];
  for (double &value : center)
    value = 0.0;
  for (int j = 0; j < dataNum; ++j)
    for (int d = 0; d < dim; ++d)
      center[pass.memberIndex[j] * dim + d] += data[j * dim + d];
  for (int k = 0; k < centerNum; ++k)
    for (int d = 0; d < dim; ++d)
      center[k * dim + d] = pass.memberCount[k] > 0
                                ? center[k * dim + d] / static_cast<double>(pass.memberCount[k])
                                : before[k * dim + d];
  pass.center = center;
  return pass;
}

// Work space and results of one vqKmeans call.
struct Training {
  std::vector<double> center;
  std::vector<int> memberIndex, memberCount;
  std::vector<double> distVec, distortion;
  int passes;
};

Training train(const std::vector<double> &data, int dim, std::vector<double> center,
               int maxLoopCount, int plotOpt = 0) {
  const int dataNum = static_cast<int>(data.size()) / dim;
  const int centerNum = static_cast<int>(center.size()) / dim;
  Training t{std::move(center), std::vector<int>(dataNum, -7), std::vector<int>(centerNum, -7),
             std::vector<double>(centerNum), std::vector<double>(maxLoopCount > 0 ? maxLoopCount : 1, -1.0), 0};
  t.passes = vqKmeans(data.data(), dim, dataNum, t.center.data(), centerNum, t.memberIndex.data(),
                      t.distVec.data(), t.memberCount.data(), t.distortion.data(), maxLoopCount,
                      plotOpt);
  return t;
}

std::vector<double> randomPoints(int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> normal;
  std::vector<double> values(count);
  for (double &v : values)
    v = normal(rng);
  return values;
}

TEST(FindVecMin, TakesTheFirstStrictlySmallestAndNeverANaN) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  double minValue = -1.0;
  const double ties[] = {3, 1, 1};
  EXPECT_EQ(findVecMin(ties, 3, minValue), 1);
  EXPECT_EQ(minValue, 1.0);
  const double single[] = {4};
  EXPECT_EQ(findVecMin(single, 1, minValue), 0);
  EXPECT_EQ(minValue, 4.0);
  const double nanInside[] = {2, nan, 1};
  EXPECT_EQ(findVecMin(nanInside, 3, minValue), 2);
  const double nanFirst[] = {nan, 0, -1};
  EXPECT_EQ(findVecMin(nanFirst, 3, minValue), 0);
  EXPECT_TRUE(std::isnan(minValue));
}

TEST(InitVqCenter, CopiesTheFirstColumns) {
  const std::vector<double> data = {1, 2, 3, 4, 5, 6, 7, 8};
  std::vector<double> center(4, 0.0);
  initVqCenter(data.data(), 2, 4, center.data(), 2);
  EXPECT_EQ(center, (std::vector<double>{1, 2, 3, 4}));
}

TEST(UpdateVqCenter, MatchesTheLiteralPassBitForBit) {
  const int dim = 3, dataNum = 200, centerNum = 7;
  const std::vector<double> data = randomPoints(dim * dataNum, 11);
  std::vector<double> center(data.begin(), data.begin() + dim * centerNum);
  for (int pass = 0; pass < 5; ++pass) {
    const Pass expected = literalPass(data, dim, center);
    std::vector<int> memberIndex(dataNum), memberCount(centerNum);
    std::vector<double> distVec(centerNum);
    const double distortion =
        updateVqCenter(data.data(), dim, dataNum, center.data(), centerNum, memberIndex.data(),
                       distVec.data(), memberCount.data());
    EXPECT_EQ(distortion, expected.distortion);
    EXPECT_EQ(center, expected.center);
    EXPECT_EQ(memberIndex, expected.memberIndex);
    EXPECT_EQ(memberCount, expected.memberCount);
  }
}

TEST(UpdateVqCenter, EqualCentresGiveTheLowerOneEveryVectorAndTheEmptyOneStays) {
  // Centres 0 and 1 coincide; centre 2 is far from every vector.
  const std::vector<double> data = {1, 1, 3, 3, 2, 5};
  std::vector<double> center = {2, 2, 2, 2, 100, -100};
  std::vector<int> memberIndex(3), memberCount(3);
  std::vector<double> distVec(3);
  updateVqCenter(data.data(), 2, 3, center.data(), 3, memberIndex.data(), distVec.data(),
                 memberCount.data());
  EXPECT_EQ(memberIndex, (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(memberCount, (std::vector<int>{3, 0, 0}));
  EXPECT_EQ(center, (std::vector<double>{2, 3, 2, 2, 100, -100}));
}

TEST(VqKmeans, MatchesTheLiteralTrainingAndStopsWhenTheDistortionSettles) {
  const int dim = 2, centerNum = 4;
  const std::vector<double> data = randomPoints(dim * 150, 3);
  const std::vector<double> start(data.begin(), data.begin() + dim * centerNum);
  const Training t = train(data, dim, start, 100);

  std::vector<double> center = start;
  double previous = 1000000.0;
  int expectedPasses = 0;
  Pass last{};
  while (expectedPasses < 100) {
    last = literalPass(data, dim, center);
    center = last.center;
    EXPECT_EQ(t.distortion[expectedPasses], last.distortion) << "pass " << expectedPasses;
    ++expectedPasses;
    if (std::fabs(previous - last.distortion) / previous < DBL_EPSILON)
      break;
    previous = last.distortion;
  }
  ASSERT_LT(expectedPasses, 100) << "the sample should settle";
  EXPECT_GE(expectedPasses, 2);
  EXPECT_EQ(t.passes, expectedPasses);
  EXPECT_EQ(t.center, center);
  EXPECT_EQ(t.memberIndex, last.memberIndex);
  EXPECT_EQ(t.memberCount, last.memberCount);
}

TEST(VqKmeans, AFirstPassOfExactlyOneMillionEndsTheTraining) {
  // One centre at 0: the first pass measures 0 + 1000^2 = 1e6.
  const Training settled = train({0, 1000}, 1, {0}, 10);
  EXPECT_EQ(settled.passes, 1);
  EXPECT_EQ(settled.distortion[0], 1000000.0);
  EXPECT_EQ(settled.center[0], 500.0);
  // One unit less and the training goes on until a pass repeats itself.
  const Training moving = train({0, 999}, 1, {0}, 10);
  EXPECT_EQ(moving.passes, 3);
  EXPECT_EQ(moving.distortion[1], moving.distortion[2]);
}

TEST(VqKmeans, ZeroDistortionNeverSettlesAndRunsEveryPass) {
  // As many centres as distinct vectors: every pass measures 0, and 0/0 is
  // not below the limit.
  const Training t = train({1, 2, 3, 1}, 1, {1, 2, 3}, 7);
  EXPECT_EQ(t.passes, 7);
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(t.distortion[i], 0.0);
  EXPECT_EQ(t.memberIndex, (std::vector<int>{0, 1, 2, 0}));
}

TEST(VqKmeans, NoPassRunsForALimitOfZeroOrLess) {
  for (int limit : {0, -3}) {
    const Training t = train({0, 1, 5}, 1, {4}, limit);
    EXPECT_EQ(t.passes, 0);
    EXPECT_EQ(t.center[0], 4.0);
    EXPECT_EQ(t.distortion[0], -1.0);
    EXPECT_EQ(t.memberIndex[0], -7);
  }
}

TEST(VqKmeans, PrintsOneProgressLinePerPassOnlyForPlotOptOne) {
  // Both flavours print to standard output here: the Linux build directly,
  // the macOS build through the stand-in host console.
  testing::internal::CaptureStdout();
  const Training t = train({0, 999}, 1, {0}, 10, 1);
  const std::string printed = testing::internal::GetCapturedStdout();
  std::string expected;
  char line[100];
  for (int i = 0; i < t.passes; ++i) {
    std::snprintf(line, sizeof line, "i = %d, distortion = %f\n", i, t.distortion[i]);
    expected += line;
  }
  EXPECT_EQ(printed, expected);
  EXPECT_EQ(expected.substr(0, 34), "i = 0, distortion = 998001.000000\n");
  for (int plotOpt : {0, 2, -1}) {
    testing::internal::CaptureStdout();
    train({0, 999}, 1, {0}, 10, plotOpt);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "plotOpt " << plotOpt;
  }
}

TEST(PrintArray, PrintsRowByRowOfTheColumnMajorMatrix) {
  const double matrix[] = {1, 2, 3, 4, 5, 6.5};
  testing::internal::CaptureStdout();
  printArray(matrix, 2, 3);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "1 3 5 \n2 4 6.5 \n");
}

} // namespace
