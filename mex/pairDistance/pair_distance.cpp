#include "pair_distance.h"

#include <cstddef>

namespace {

inline const double *columnOf(const double *matrix, int rows, int column) {
  return matrix + static_cast<std::ptrdiff_t>(column) * rows;
}

// Squared distances from `vector` to `count` consecutive columns of dim
// elements starting at `columns`, written to out[0 .. count-1].
//
// Four distances are summed side by side: each keeps its own accumulator and
// adds its terms in ascending d, exactly as a single sum would, so the result
// has the same bits while the four addition chains overlap in the processor.
void distancesToColumns(const double *vector, const double *columns, int dim, int count,
                        double *out) {
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const double *c0 = columnOf(columns, dim, i);
    const double *c1 = c0 + dim;
    const double *c2 = c1 + dim;
    const double *c3 = c2 + dim;
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    for (int d = 0; d < dim; ++d) {
      const double v = vector[d];
      const double d0 = c0[d] - v, d1 = c1[d] - v, d2 = c2[d] - v, d3 = c3[d] - v;
      s0 += d0 * d0;
      s1 += d1 * d1;
      s2 += d2 * d2;
      s3 += d3 * d3;
    }
    out[i] = s0;
    out[i + 1] = s1;
    out[i + 2] = s2;
    out[i + 3] = s3;
  }
  for (; i < count; ++i) {
    const double *c = columnOf(columns, dim, i);
    double s = 0.0;
    for (int d = 0; d < dim; ++d) {
      const double diff = c[d] - vector[d];
      s += diff * diff;
    }
    out[i] = s;
  }
}

} // namespace

void pairDistanceMatrix(const double *mat1, int dataNum1, const double *mat2, int dataNum2,
                        int dim, double *distMat) {
  // Column j of distMat is contiguous: fill it from column j of mat2 against
  // every column of mat1. Each element is an independent sum, so the order in
  // which elements are filled does not change any value.
  for (int j = 0; j < dataNum2; ++j)
    distancesToColumns(columnOf(mat2, dim, j), mat1, dim, dataNum1,
                       distMat + static_cast<std::ptrdiff_t>(j) * dataNum1);
}

void pairDistanceSymmetric(const double *mat, int dataNum, int dim, double *distMat) {
  for (int j = 1; j < dataNum; ++j) {
    double *upper = distMat + static_cast<std::ptrdiff_t>(j) * dataNum; // (0..j-1, j)
    distancesToColumns(columnOf(mat, dim, j), mat, dim, j, upper);
    for (int i = 0; i < j; ++i)
      distMat[j + static_cast<std::ptrdiff_t>(i) * dataNum] = upper[i];
  }
}
