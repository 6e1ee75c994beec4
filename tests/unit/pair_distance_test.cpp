#include "pair_distance.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

namespace {

// The literal sum of one element: (mat1(d, i) - mat2(d, j))^2 over ascending d.
double literalDistance(const double *column1, const double *column2, int dim) {
  double sum = 0.0;
  for (int d = 0; d < dim; ++d)
    sum += (column1[d] - column2[d]) * (column1[d] - column2[d]);
  return sum;
}

std::vector<double> randomMatrix(int dim, int columns, std::mt19937 &rng) {
  std::uniform_real_distribution<double> uniform(-1e3, 1e3);
  std::vector<double> values(static_cast<std::size_t>(dim) * columns);
  for (double &v : values)
    v = uniform(rng);
  return values;
}

TEST(PairDistanceMatrix, EveryElementHasTheBitsOfTheLiteralSum) {
  std::mt19937 rng(5);
  // Column counts around the four-at-a-time blocks, and short and empty rows.
  for (int dim : {0, 1, 5, 33})
    for (int dataNum1 : {0, 1, 3, 4, 7, 9})
      for (int dataNum2 : {0, 1, 6}) {
        const std::vector<double> mat1 = randomMatrix(dim, dataNum1, rng);
        const std::vector<double> mat2 = randomMatrix(dim, dataNum2, rng);
        std::vector<double> distMat(static_cast<std::size_t>(dataNum1) * dataNum2, -1.0);
        pairDistanceMatrix(mat1.data(), dataNum1, mat2.data(), dataNum2, dim, distMat.data());
        for (int j = 0; j < dataNum2; ++j)
          for (int i = 0; i < dataNum1; ++i) {
            const double expected = literalDistance(&mat1[i * dim], &mat2[j * dim], dim);
            ASSERT_EQ(distMat[i + j * dataNum1], expected)
                << "dim " << dim << " (" << i << ", " << j << ") of " << dataNum1 << " x "
                << dataNum2;
            ASSERT_EQ(expected, squaredDistance(&mat1[i * dim], &mat2[j * dim], dim));
          }
      }
}

TEST(PairDistanceSymmetric, FillsBothTrianglesAndNeverWritesTheDiagonal) {
  std::mt19937 rng(9);
  for (int dataNum : {0, 1, 2, 5, 8, 11}) {
    const int dim = 3;
    const std::vector<double> mat = randomMatrix(dim, dataNum, rng);
    std::vector<double> distMat(static_cast<std::size_t>(dataNum) * dataNum, -1.0);
    pairDistanceSymmetric(mat.data(), dataNum, dim, distMat.data());
    for (int j = 0; j < dataNum; ++j)
      for (int i = 0; i < dataNum; ++i) {
        const double value = distMat[i + j * dataNum];
        if (i == j)
          ASSERT_EQ(value, -1.0) << "diagonal " << i;
        else
          ASSERT_EQ(value, literalDistance(&mat[i * dim], &mat[j * dim], dim))
              << "(" << i << ", " << j << ") of " << dataNum;
      }
  }
}

TEST(PairDistanceMatrix, NonFiniteValuesPropagateAsInTheLiteralSum) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double mat1[] = {0, 0, inf, 0, nan, 1, 1, 1, 3, 4};
  const double mat2[] = {0, 0};
  double distMat[5];
  pairDistanceMatrix(mat1, 5, mat2, 1, 2, distMat);
  EXPECT_EQ(distMat[0], 0.0);
  EXPECT_EQ(distMat[1], inf);
  EXPECT_TRUE(std::isnan(distMat[2]));
  EXPECT_EQ(distMat[3], 2.0);
  EXPECT_EQ(distMat[4], 25.0);
}

} // namespace
