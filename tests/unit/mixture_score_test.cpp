#include "clusterkit.h"
#include "single_gaussian.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST(ScoreSingleGaussian, PicksTheFormulaByCovarianceType) {
  double data[] = {1.0, 2.0, -1.0, 0.5}, mu[] = {0.5, 0.5}, shared[] = {0.7},
         perDim[] = {0.7, 1.3};
  double logProb[2];
  scoreSingleGaussian(data, 2, 2, mu, shared, 1, logProb);
  EXPECT_EQ(logProb[1], gaussian01Log(data + 2, 2, mu, shared, 0.0));
  scoreSingleGaussian(data, 2, 2, mu, perDim, 2, logProb);
  EXPECT_EQ(logProb[1], gaussian02Log(data + 2, 2, mu, perDim, 0.0));
  logProb[0] = logProb[1] = 0.0;
  scoreSingleGaussian(data, 2, 2, mu, perDim, 0, logProb);
  EXPECT_EQ(logProb[0], 0.0);
  scoreSingleGaussian(data, 2, 2, mu, perDim, 3, logProb);
  EXPECT_EQ(logProb[1], 0.0);
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
