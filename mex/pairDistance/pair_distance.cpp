#include "pair_distance.h"

#include "utility.h"

#include <cstddef>

namespace {

inline const double *columnOf(const double *matrix, int rows, int column) {
  return matrix + static_cast<std::ptrdiff_t>(column) * rows;
}

} // namespace

void pairDistanceMatrix(const double *mat1, int dataNum1, const double *mat2, int dataNum2,
                        int dim, double *distMat) {
  // Column j of distMat is contiguous: fill it from column j of mat2 against
  // every column of mat1. Each element is an independent sum, so the order in
  // which elements are filled does not change any value.
  for (int j = 0; j < dataNum2; ++j)
    squaredDistancesFromColumns(columnOf(mat2, dim, j), mat1, dim, dataNum1,
                                distMat + static_cast<std::ptrdiff_t>(j) * dataNum1);
}

void pairDistanceSymmetric(const double *mat, int dataNum, int dim, double *distMat) {
  for (int j = 1; j < dataNum; ++j) {
    double *upper = distMat + static_cast<std::ptrdiff_t>(j) * dataNum; // (0..j-1, j)
    squaredDistancesFromColumns(columnOf(mat, dim, j), mat, dim, j, upper);
    for (int i = 0; i < j; ++i)
      distMat[j + static_cast<std::ptrdiff_t>(i) * dataNum] = upper[i];
  }
}
