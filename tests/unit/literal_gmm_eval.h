// gmmEval as three plain passes over all vectors, term by term: the oracle
// that the library's evaluation must match bit for bit (the unit tests), and
// its baseline (the benchmark).
#ifndef CLUSTERKIT_LITERAL_GMM_EVAL_H
#define CLUSTERKIT_LITERAL_GMM_EVAL_H

#include "clusterkit.h"

#include <cmath>
#include <vector>

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
    logProb[i] = mixLogSum(weighted.data(), mixNum);
  }
  for (int k = 0; k < mixNum * dataNum; ++k)
    mixProb[k] = std::exp(mixProb[k]);
}

#endif // CLUSTERKIT_LITERAL_GMM_EVAL_H
