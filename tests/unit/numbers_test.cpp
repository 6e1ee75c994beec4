#include "utility.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

TEST(TruncateToInt, TowardZeroWithNaNAsZeroAndSaturationOutsideTheIntRange) {
  EXPECT_EQ(truncateToInt(2.9), 2);
  EXPECT_EQ(truncateToInt(-2.9), -2);
  EXPECT_EQ(truncateToInt(-0.5), 0);
  EXPECT_EQ(truncateToInt(std::nan("")), 0);
  EXPECT_EQ(truncateToInt(2147483647.5), INT_MAX);
  EXPECT_EQ(truncateToInt(1e300), INT_MAX);
  EXPECT_EQ(truncateToInt(-HUGE_VAL), INT_MIN);
  EXPECT_EQ(truncateToInt(-2147483648.0), INT_MIN);
}

} // namespace
