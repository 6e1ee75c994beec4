#include "single_gaussian.h"

#include "clusterkit.h"

#include <cstddef>

int covarianceTypeOf(long long sigmaCount, int dim) {
  if (sigmaCount == 1)
    return 1;
  if (sigmaCount == dim)
    return 2;
  if (sigmaCount == static_cast<long long>(dim) * dim)
    return 3;
  return 0;
}

void scoreSingleGaussian(double *data, int dim, int dataNum, double *mu, double *sigma,
                         int covarianceType, double *logProb) {
  if (covarianceType != 1 && covarianceType != 2)
    return;
  for (int i = 0; i < dataNum; ++i) {
    double *column = columnOf(data, dim, i);
    logProb[i] = covarianceType == 1 ? gaussian01Log(column, dim, mu, sigma, 0.0)
                                     : gaussian02Log(column, dim, mu, sigma, 0.0);
  }
}
