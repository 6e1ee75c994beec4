#include "single_gaussian.h"

#include <gtest/gtest.h>

namespace {

TEST(CovarianceTypeOf, OneThenDimThenDimSquared) {
  EXPECT_EQ(covarianceTypeOf(1, 3), 1);
  EXPECT_EQ(covarianceTypeOf(3, 3), 2);
  EXPECT_EQ(covarianceTypeOf(9, 3), 3);
  EXPECT_EQ(covarianceTypeOf(2, 3), 0);
  EXPECT_EQ(covarianceTypeOf(1, 1), 1); // one value in one dimension is shared
  EXPECT_EQ(covarianceTypeOf(4, 2), 3);
  EXPECT_EQ(covarianceTypeOf(2, 2), 2);
  // dim*dim is taken wide: 65536 squared does not wrap to 0.
  EXPECT_EQ(covarianceTypeOf(0, 65536), 0);
  EXPECT_EQ(covarianceTypeOf(4294967296LL, 65536), 3);
}

TEST(VecPrint, GeneralNotationSixDigitsEachFollowedByABlank) {
  const double values[] = {1.0, 0.5, 1234567.0, 1.0 / 3.0, -2e-7};
  testing::internal::CaptureStdout();
  vecPrint(values, 5);
  vecPrint(values, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "vec = 1 0.5 1.23457e+06 0.333333 -2e-07 \nvec = \n");
}

} // namespace
