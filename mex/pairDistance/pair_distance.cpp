#include "pair_distance.h"

#include "utility.h"

void pairDistanceMatrix(const double *mat1, int dataNum1, const double *mat2, int dataNum2,
                        int dim, double *distMat) {
  // Column j of distMat is contiguous: fill it from column j of mat2 against
  // every column of mat1. Each element is an independent sum, so the order in
  // which elements are filled does not change any value.
  for (int j = 0; j < dataNum2; ++j)
    squaredDistancesFromColumns(columnOf(mat2, dim, j), mat1, dim, dataNum1,
                                columnOf(distMat, dataNum1, j));
}

void pairDistanceSymmetric(const double *mat, int dataNum, int dim, double *distMat) {
  for (int j = 1; j < dataNum; ++j) {
    double *upper = columnOf(distMat, dataNum, j); // (0..j-1, j)
    squaredDistancesFromColumns(columnOf(mat, dim, j), mat, dim, j, upper);
    for (int i = 0; i < j; ++i)
      distMat[j + columnOffset(i, dataNum)] = upper[i];
  }
}
