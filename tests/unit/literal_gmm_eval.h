// gmmEval as three plain passes over all vectors, term by term: the oracle
// that the library's evaluation must match bit for bit (the unit tests), and
// its baseline (the benchmark).
#ifndef CLUSTERKIT_LITERAL_GMM_EVAL_H
#define CLUSTERKIT_LITERAL_GMM_EVAL_H

#include "clusterkit.h"

#include <cmath>
#include <vector>

// The sequential log-sum, one full step per value: the oracle of mixLogSum.
inline double literalMixLogSum(const double *logValue, int count) {
  double acc = logValue[0];
  for (int i = 1; i < count; ++i) {
    const double a = logValue[i];
    const double hi = a > acc ? a : acc;
    const double lo = a > acc ? acc : a;
    acc = std::log(std::exp(lo - hi) + 1.0) + hi;
  }
  return acc;
}

inline void literalGmmEval(double *data, int dim, int dataNum, GMMPARAM &gmm, double *logProb,
                           double *mixProb) {
  const int mixNum = gmm.mixNum;
  for (int i = 0; i < dataNum; ++i)
    for (int j = 0; j < mixNum; ++j)
      mixProb[j + i * mixNum] =
          gaussian01Log(data + i * dim, dim, gmm.mean + j * dim, gmm.covariance + j, 0.0);
  std::vector<double> logWeight(mixNum), weighted(mixNum);
  for (int j = 0; j < mixNum; ++j)
    logWeight[j] = std::log(gmm.weight[j]);
  for (int i = 0; i < dataNum; ++i) {
    for (int j = 0; j < mixNum; ++j)
      weighted[j] = logWeight[j] + mixProb[j + i * mixNum];
    logProb[i] = literalMixLogSum(weighted.data(), mixNum);
  }
  for (int k = 0; k < mixNum * dataNum; ++k)
    mixProb[k] = std::exp(mixProb[k]);
}

#endif // CLUSTERKIT_LITERAL_GMM_EVAL_H
