// Dense row-pointer matrix templates and the recursive least-squares
// estimator behind the rlsFit plug-in.
//
// The matrix templates work on row-pointer matrices (M[row][column], made by
// fisCreateMatrix); the estimator's batch interfaces take flat column-major
// arrays. Everything is used with T = double.
//
// Threads: the matrix templates keep no state and may run concurrently on
// matrices no other thread writes. The estimator (rlseOneUpdate, rlseBatch,
// polyfit, rlseReset) lives in process-wide static storage: calls from
// several threads at once race on it and must be serialised by the caller.
#ifndef CLUSTERKIT_RLS_H
#define CLUSTERKIT_RLS_H

/// At[j][i] = A[i][j] for every i < rows, j < cols.
template <class T> void matTranspose(const T *const *A, int rows, int cols, T **At) {
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j)
      At[j][i] = A[i][j];
}

/// C (p x r) = A (p x q) * B (q x r). Each C[i][j] starts at 0 and adds the
/// products A[i][k] * B[k][j] in the order k = 0 .. q-1. C must not share
/// storage with A or B.
template <class T>
void matMultiply(const T *const *A, const T *const *B, int p, int q, int r, T **C) {
  for (int i = 0; i < p; ++i)
    for (int j = 0; j < r; ++j) {
      C[i][j] = 0;
      for (int k = 0; k < q; ++k)
        C[i][j] = A[i][k] * B[k][j] + C[i][j];
    }
}

/// B[i][j] = A[i][j] * s; B may be A.
template <class T> void matMultiplyScalar(T s, const T *const *A, int rows, int cols, T **B) {
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j)
      B[i][j] = A[i][j] * s;
}

/// C[i][j] = A[i][j] - B[i][j]; C may be A or B.
template <class T>
void matSubtract(const T *const *A, const T *const *B, int rows, int cols, T **C) {
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j)
      C[i][j] = A[i][j] - B[i][j];
}

/// C[i][j] = A[i][j] + B[i][j]; C may be A or B.
template <class T> void matAdd(const T *const *A, const T *const *B, int rows, int cols, T **C) {
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j)
      C[i][j] = A[i][j] + B[i][j];
}

/// One step of recursive least squares with forgetting factor lambda, on the
/// estimator that the whole process shares. regressor holds the n inputs,
/// target the m outputs of one sample. The estimator is created at the first
/// call (covariance 1e6 * I, estimate 0) and carries over to every later
/// call; a call with other n or m than the estimator's releases it and starts
/// afresh with the new sizes. Returns element (0, 0) of the prediction that
/// the updated estimate gives for this regressor. When theta is not null, the
/// n x m estimate is copied into it column-major (element (i, j) at i + j*n).
/// n or m below 1 fails through the library's failure path; an allocation
/// failure while the estimator is created ends the call through fisError, and
/// the next call then builds it again from scratch.
template <class T>
T rlseOneUpdate(const T *regressor, int n, const T *target, int m, T lambda, T *theta);

/// Feeds row i of A (dataNum x n) and row i of B (dataNum x m), both
/// column-major, to rlseOneUpdate for i = 0 .. dataNum-1; theta (n*m values)
/// ends holding the estimate after the last row. dataNum <= 0 runs no update
/// and leaves theta alone.
template <class T>
void rlseBatch(const T *A, int dataNum, int n, const T *B, int m, T lambda, T *theta);

/// Fits a polynomial of degree order to the dataNum points (x[i], y[i]) by
/// recursive least squares without forgetting: the estimate continues from
/// earlier fits of the same order. coef (order+1 values) receives the
/// coefficients, highest power first, and is left alone when dataNum <= 0.
/// A negative order fails through the library's failure path.
template <class T> void polyfit(const T *x, int dataNum, const T *y, int order, T *coef);

/// Releases the shared estimator, so that the next update starts afresh.
/// The plug-in never calls it (unloading the plug-in has the same effect); it
/// serves C++ callers that run several independent estimations.
template <class T> void rlseReset();

#endif // CLUSTERKIT_RLS_H
