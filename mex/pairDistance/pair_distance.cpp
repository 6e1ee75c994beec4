#include "pair_distance.h"

#include "distance.h"

void pairDistanceMatrix(const double *mat1, int dataNum1, const double *mat2, int dataNum2,
                        int dim, double *distMat) {
  squaredDistanceTable(mat1, dataNum1, mat2, dataNum2, dim, distMat);
}

void pairDistanceSymmetric(const double *mat, int dataNum, int dim, double *distMat) {
  squaredDistanceTableSymmetric(mat, dataNum, dim, distMat);
}
