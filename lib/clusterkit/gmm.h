// Gaussian densities, the sequential log-sum and mixture evaluation.
#ifndef CLUSTERKIT_GMM_H
#define CLUSTERKIT_GMM_H

#include "utility.h"

// Every variance argument is the variance itself, not a standard deviation.
// The suffix 01 means one variance shared by all dimensions (sigma points at
// one value), 02 one variance per dimension (sigma points at dim values).
// Sums run over the dimensions in index order from 0.0, products from 1.0.

/// 2*pi as these densities use it (not the full-precision value).
constexpr double GMM_TWO_PI = 6.28318530717958;
/// ln(GMM_TWO_PI), the constant of gaussian02Log.
constexpr double GMM_LOG_TWO_PI = 1.8378770664093445;
/// ln(2*pi) as gaussianLog writes it (differs in the last digits).
constexpr double GMM_LOG_TWO_PI_SHORT = 1.83787706640935;

/// A Gaussian mixture model. The four arrays are separate heap blocks owned
/// by the record: made by gmmAllocate() (gmmRead and the mixture plug-in use
/// it) and released by gmmFree(). Character fields hold at most 99
/// characters and their terminator.
struct GMMPARAM {
  char fileName[100]; ///< file the model was read from (set by gmmRead only)
  char comment[100];  ///< one line of free text
  char version[100];  ///< version text, one token
  int gmmType;        ///< 1 shared variance, 2 per dimension, 3 full; not used by gmmEval
  char name[100];     ///< model name, one token when it is to be read back
  int dim;            ///< dimension of the vectors
  int mixNum;         ///< number of mixtures
  double *mean;       ///< mixNum*dim values, mixture j at mean[j*dim]
  double *covariance; ///< mixNum values: each mixture's shared variance
  double *weight;     ///< mixNum mixture weights
  double *gConst;     ///< mixNum log normalising terms; carried, not used by gmmEval
};

/// Density of a Gaussian with one variance *sigma shared by all dim
/// dimensions, at x.
double gaussian01(double *x, int dim, double *mu, double *sigma);

/// Density of a Gaussian with the dim variances sigma[k], at x.
double gaussian02(double *x, int dim, double *mu, double *sigma);

/// Natural log of gaussian01(). gConst is the log normalising term
/// dim*ln(2*pi*sigma); 0.0 asks for it to be computed here.
double gaussian01Log(double *x, int dim, double *mu, double *sigma, double gConst);

/// Natural log of gaussian02(). gConst is ln(prod sigma[k]) + dim*ln(2*pi);
/// 0.0 asks for it to be computed here.
double gaussian02Log(double *x, int dim, double *mu, double *sigma, double gConst);

/// Natural log of the one-dimensional Gaussian density with mean mu and
/// variance sigma, at x.
double gaussianLog(double x, double mu, double sigma);

/// ln(sum of exp(logValue[i])), accumulated pairwise in array order with
/// acc = ln(exp(lo - hi) + 1) + hi. Two -Inf in a row make NaN, as does any
/// NaN. Fewer than one value gives -Inf, the logarithm of an empty sum.
double mixLogSum(double *logValue, int count);

/// Scores dataNum vectors of dimension gmm.dim under the mixture gmm, each
/// mixture with its one shared variance covariance[j] (gmmType and gConst are
/// not consulted). logProb (dataNum values) receives each vector's
/// log-likelihood; mixProb (mixNum x dataNum, column-major) the unweighted
/// density of each mixture at each vector; mixProb may be null when the
/// densities are not wanted, which saves their exp calls. A model without
/// mixtures gives -Inf. Fails through myExit when its scratch block
/// cannot be had.
void gmmEval(double *data, int dim, int dataNum, GMMPARAM &gmm, double *logProb,
             double *mixProb);

#endif // CLUSTERKIT_GMM_H
