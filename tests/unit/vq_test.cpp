#include "clusterkit.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

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
  // Sentinels show what a call left untouched.
  Training t{std::move(center),
             std::vector<int>(dataNum, -7),
             std::vector<int>(centerNum, -7),
             std::vector<double>(centerNum),
             std::vector<double>(maxLoopCount > 0 ? maxLoopCount : 1, -1.0),
             0};
  t.passes = vqKmeans(data.data(), dim, dataNum, t.center.data(), centerNum, t.memberIndex.data(),
                      t.distVec.data(), t.memberCount.data(), t.distortion.data(), maxLoopCount,
                      plotOpt);
  return t;
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
