// The recursive least-squares estimator written out step by step through
// the matrix templates, with its own state: the oracle of every path of
// rlseOneUpdate (the unit tests) and its baseline (the benchmark).
#ifndef CLUSTERKIT_LITERAL_RLS_H
#define CLUSTERKIT_LITERAL_RLS_H

#include "rls.h"
#include "utility.h"

#include <cstddef>
#include <vector>

// A row-pointer matrix, filled row by row.
class Matrix {
public:
  Matrix(int rows, int cols, std::vector<double> values = {}) : rows_(rows) {
    data_ = reinterpret_cast<double **>(fisCreateMatrix(rows, cols, sizeof(double)));
    for (std::size_t k = 0; k < values.size(); ++k)
      data_[k / cols][k % cols] = values[k];
  }
  ~Matrix() { fisFreeMatrix(reinterpret_cast<void **>(data_), rows_); }
  Matrix(const Matrix &) = delete;
  Matrix &operator=(const Matrix &) = delete;
  operator double **() const { return data_; }

private:
  int rows_;
  double **data_;
};

// The estimator for n inputs and m outputs, from covariance 1e6 * I and
// estimate 0.
class LiteralEstimator {
public:
  LiteralEstimator(int n, int m)
      : n_(n), m_(m), S(n, n), P(n, m), a(n, 1), b(m, 1), a_t(1, n), b_t(1, m), tmp1(n, 1),
        tmp2(1, 1), tmp3(1, n), tmp4(n, n), tmp5(1, m), tmp6(n, m), tmp7(n, m) {
    for (int i = 0; i < n; ++i)
      S[i][i] = 1000000.0;
  }

  double update(const double *regressor, const double *target, double lambda) {
    const int n = n_, m = m_;
    for (int i = 0; i < n; ++i)
      a[i][0] = regressor[i];
    for (int j = 0; j < m; ++j)
      b[j][0] = target[j];
    matTranspose<double>(a, n, 1, a_t);
    matTranspose<double>(b, m, 1, b_t);
    matMultiply<double>(S, a, n, n, 1, tmp1);
    matMultiply<double>(a_t, tmp1, 1, n, 1, tmp2);
    const double d = lambda + tmp2[0][0];
    matMultiply<double>(a_t, S, 1, n, n, tmp3);
    matMultiply<double>(tmp1, tmp3, n, 1, n, tmp4);
    matMultiplyScalar<double>(1.0 / d, tmp4, n, n, tmp4);
    matSubtract<double>(S, tmp4, n, n, S);
    matMultiplyScalar<double>(1.0 / lambda, S, n, n, S);
    matMultiply<double>(a_t, P, 1, n, m, tmp5);
    matSubtract<double>(b_t, tmp5, 1, m, tmp5);
    matMultiply<double>(a, tmp5, n, 1, m, tmp6);
    matMultiply<double>(S, tmp6, n, n, m, tmp7);
    matAdd<double>(P, tmp7, n, m, P);
    matMultiply<double>(a_t, P, 1, n, m, tmp5);
    return tmp5[0][0];
  }

  std::vector<double> theta() const {
    std::vector<double> out(static_cast<std::size_t>(n_) * m_);
    for (int i = 0; i < n_; ++i)
      for (int j = 0; j < m_; ++j)
        out[i + j * n_] = P[i][j];
    return out;
  }

private:
  int n_, m_;
  Matrix S, P, a, b, a_t, b_t, tmp1, tmp2, tmp3, tmp4, tmp5, tmp6, tmp7;
};

#endif // CLUSTERKIT_LITERAL_RLS_H
