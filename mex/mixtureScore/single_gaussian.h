// The host-free part of the mixtureScore plug-in: the covariance type that a
// "sigma" field's size stands for, single-Gaussian scoring, and the
// plug-in's vector printing.
#ifndef CLUSTERKIT_SINGLE_GAUSSIAN_H
#define CLUSTERKIT_SINGLE_GAUSSIAN_H

#include <iostream>

/// The covariance type that a "sigma" of sigmaCount values stands for with
/// vectors of dimension dim, tested in this order: 1 value is one shared
/// variance (1), dim values one variance per dimension (2), dim*dim values a
/// full matrix (3). Any other count gives 0.
int covarianceTypeOf(long long sigmaCount, int dim);

/// Scores the dataNum columns of data (dim x dataNum) under one Gaussian:
/// logProb[i] = gaussian01Log of column i for covariance type 1 (sigma holds
/// one variance), gaussian02Log for type 2 (dim variances). Any other type
/// leaves logProb untouched.
void scoreSingleGaussian(double *data, int dim, int dataNum, double *mu, double *sigma,
                         int covarianceType, double *logProb);

/// Writes "vec = ", the n values in the stream's default form (as %g), each
/// followed by a blank, and a newline to standard output, then flushes it.
template <class T> void vecPrint(const T *vec, int n) {
  std::cout << "vec = ";
  for (int i = 0; i < n; ++i)
    std::cout << vec[i] << " ";
  std::cout << std::endl;
}

#endif // CLUSTERKIT_SINGLE_GAUSSIAN_H
