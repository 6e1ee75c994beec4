// Literal k-means passes: the oracle that vqKmeans and its fast assignment
// must match bit for bit, shared by the unit tests and the benchmark.
#ifndef CLUSTERKIT_TEST_LITERAL_KMEANS_H
#define CLUSTERKIT_TEST_LITERAL_KMEANS_H

#include "vq.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <vector>

// The squared distance as it reads: one sum in ascending dimension order.
inline double literalSquared(const double *a, const double *b, int dim) {
  double sum = 0.0;
  for (int e = 0; e < dim; ++e) {
    const double d = a[e] - b[e];
    sum += d * d;
  }
  return sum;
}

// vqKmeans as its steps are written: every distance, findVecMin, the update
// in vector order.
inline int literalKmeans(const std::vector<double> &data, int dim, std::vector<double> &center,
                         std::vector<int> &memberIndex, std::vector<double> &distortion,
                         int maxLoopCount) {
  const int dataNum = static_cast<int>(data.size()) / dim;
  const int centerNum = static_cast<int>(center.size()) / dim;
  std::vector<double> distVec(centerNum);
  std::vector<int> memberCount(centerNum);
  double previous = 1000000.0;
  for (int pass = 0; pass < maxLoopCount; ++pass) {
    double total = 0.0;
    for (int j = 0; j < dataNum; ++j) {
      for (int k = 0; k < centerNum; ++k)
        distVec[k] = literalSquared(data.data() + static_cast<std::size_t>(j) * dim,
                                    center.data() + static_cast<std::size_t>(k) * dim, dim);
      double m;
      memberIndex[j] = findVecMin(distVec.data(), centerNum, m);
      total += m;
    }
    std::fill(memberCount.begin(), memberCount.end(), 0);
    for (int j = 0; j < dataNum; ++j)
      ++memberCount[memberIndex[j]];
    for (int k = 0; k < centerNum; ++k)
      if (memberCount[k] > 0)
        std::fill(center.begin() + static_cast<long>(k) * dim,
                  center.begin() + static_cast<long>(k + 1) * dim, 0.0);
    for (int j = 0; j < dataNum; ++j)
      for (int e = 0; e < dim; ++e)
        center[static_cast<std::size_t>(memberIndex[j]) * dim + e] +=
            data[static_cast<std::size_t>(j) * dim + e];
    for (int k = 0; k < centerNum; ++k)
      if (memberCount[k] > 0)
        for (int e = 0; e < dim; ++e)
          center[static_cast<std::size_t>(k) * dim + e] /= static_cast<double>(memberCount[k]);
    distortion[pass] = total;
    if (std::fabs(previous - total) / previous < DBL_EPSILON)
      return pass + 1;
    previous = total;
  }
  return maxLoopCount;
}

#endif
