// The recursive least-squares estimator: one process-wide state, its update,
// the batch driver and the polynomial fit built on it.
#include "rls.h"

#include "scratch.h"
#include "utility.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

constexpr double kInitialCovariance = 1000000.0;

// A row-pointer matrix of T, freed with its row count.
template <class T> T **createMatrix(int rows, int cols) {
  return reinterpret_cast<T **>(fisCreateMatrix(rows, cols, static_cast<int>(sizeof(T))));
}

template <class T> void freeMatrix(T **&matrix, int rows) {
  fisFreeMatrix(reinterpret_cast<void **>(matrix), rows);
  matrix = nullptr;
}

// The estimator and its scratch matrices. Each matrix is stored as soon as it
// exists and the state counts as built only once all of them do: when the
// host's error exit interrupts the creation (it does not return), the next
// call finds an unfinished state, releases what was made and builds it anew.
template <class T> class RlsState {
public:
  RlsState() = default;
  RlsState(const RlsState &) = delete;
  RlsState &operator=(const RlsState &) = delete;
  // Runs when the plug-in is unloaded, so that clearing it loses no memory.
  ~RlsState() { release(); }

  bool fits(int n, int m) const { return complete_ && n_ == n && m_ == m; }

  void create(int n, int m) {
    release();
    n_ = n;
    m_ = m;
    for (const Slot &slot : slots())
      *slot.matrix = createMatrix<T>(slot.rows, slot.cols);
    complete_ = true;
  }

  void release() {
    for (const Slot &slot : slots())
      freeMatrix(*slot.matrix, slot.rows);
    complete_ = false;
    flag = 0;
  }

  // Counts a call. It saturates instead of overflowing: a count that wrapped
  // round to 0 would make a later call throw the estimate away.
  void countCall() {
    if (flag < INT_MAX)
      ++flag;
  }

  T **S = nullptr;    // n x n covariance
  T **P = nullptr;    // n x m estimate
  T **a = nullptr;    // n x 1 regressor
  T **b = nullptr;    // m x 1 target
  T **a_t = nullptr;  // 1 x n
  T **b_t = nullptr;  // 1 x m
  T **tmp1 = nullptr; // n x 1: S a
  T **tmp2 = nullptr; // 1 x 1: a' S a
  T **tmp3 = nullptr; // 1 x n: a' S
  T **tmp4 = nullptr; // n x n: S a a' S
  T **tmp5 = nullptr; // 1 x m: prediction, then error, then new prediction
  T **tmp6 = nullptr; // n x m: a error
  T **tmp7 = nullptr; // n x m: S a error
  int flag = 0;       // calls so far; 0 until S and P are initialised

private:
  struct Slot {
    T ***matrix;
    int rows;
    int cols;
  };

  // Every matrix with its sizes, in the order of creation.
  std::array<Slot, 13> slots() {
    const int n = n_, m = m_;
    return {{{&S, n, n},
             {&P, n, m},
             {&a, n, 1},
             {&b, m, 1},
             {&a_t, 1, n},
             {&b_t, 1, m},
             {&tmp1, n, 1},
             {&tmp2, 1, 1},
             {&tmp3, 1, n},
             {&tmp4, n, n},
             {&tmp5, 1, m},
             {&tmp6, n, m},
             {&tmp7, n, m}}};
  }

  int n_ = 0;
  int m_ = 0;
  bool complete_ = false;
};

template <class T> RlsState<T> &estimator() {
  static RlsState<T> state;
  return state;
}

template <class T> void initialiseEstimate(RlsState<T> &state, int n, int m) {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < m; ++j)
      state.P[i][j] = 0;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j)
      state.S[i][j] = i == j ? kInitialCovariance : 0.0;
}

} // namespace

template <class T>
T rlseOneUpdate(const T *regressor, int n, const T *target, int m, T lambda, T *theta) {
  if (n < 1 || m < 1)
    myExitFormatted("Error in rlseOneUpdate: n (%d) and m (%d) must be at least 1!", n, m);
  RlsState<T> &state = estimator<T>();
  if (!state.fits(n, m))
    state.create(n, m);
  if (state.flag == 0)
    initialiseEstimate(state, n, m);
  state.countCall();

  T **S = state.S, **P = state.P, **a = state.a, **b = state.b;
  T **a_t = state.a_t, **b_t = state.b_t;
  T **tmp1 = state.tmp1, **tmp2 = state.tmp2, **tmp3 = state.tmp3, **tmp4 = state.tmp4;
  T **tmp5 = state.tmp5, **tmp6 = state.tmp6, **tmp7 = state.tmp7;

  for (int i = 0; i < n; ++i)
    a[i][0] = regressor[i];
  for (int j = 0; j < m; ++j)
    b[j][0] = target[j];
  matTranspose(a, n, 1, a_t);
  matTranspose(b, m, 1, b_t);

  // S = (S - S a a' S / (lambda + a' S a)) / lambda, each division taken as
  // a multiplication by the reciprocal.
  matMultiply(S, a, n, n, 1, tmp1);
  matMultiply(a_t, tmp1, 1, n, 1, tmp2);
  const T denominator = lambda + tmp2[0][0];
  matMultiply(a_t, S, 1, n, n, tmp3);
  matMultiply(tmp1, tmp3, n, 1, n, tmp4);
  matMultiplyScalar(static_cast<T>(1.0) / denominator, tmp4, n, n, tmp4);
  matSubtract(S, tmp4, n, n, S);
  matMultiplyScalar(static_cast<T>(1.0) / lambda, S, n, n, S);

  // P = P + S a (b' - a' P), with the S just updated.
  matMultiply(a_t, P, 1, n, m, tmp5);
  matSubtract(b_t, tmp5, 1, m, tmp5);
  matMultiply(a, tmp5, n, 1, m, tmp6);
  matMultiply(S, tmp6, n, n, m, tmp7);
  matAdd(P, tmp7, n, m, P);

  matMultiply(a_t, P, 1, n, m, tmp5);
  if (theta != nullptr)
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < m; ++j)
        theta[i + columnOffset(j, n)] = P[i][j];
  return tmp5[0][0];
}

template <class T>
void rlseBatch(const T *A, int dataNum, int n, const T *B, int m, T lambda, T *theta) {
  auto rowOfA = allocateScratch<T>(static_cast<std::size_t>(n > 0 ? n : 0), "rlseBatch");
  auto rowOfB = allocateScratch<T>(static_cast<std::size_t>(m > 0 ? m : 0), "rlseBatch");
  for (int i = 0; i < dataNum; ++i) {
    for (int j = 0; j < n; ++j)
      rowOfA[j] = A[i + columnOffset(j, dataNum)];
    for (int j = 0; j < m; ++j)
      rowOfB[j] = B[i + columnOffset(j, dataNum)];
    rlseOneUpdate(rowOfA.get(), n, rowOfB.get(), m, lambda, theta);
  }
}

// The regressor rows x^order, ..., x, 1 are made one at a time rather than as
// a whole dataNum x (order+1) matrix: the updates, and so the result, are the
// same as rlseBatch over that matrix, without its memory. Only the last
// update copies the estimate out, as every earlier copy would be overwritten.
template <class T> void polyfit(const T *x, int dataNum, const T *y, int order, T *coef) {
  if (order < 0 || order == INT_MAX)
    myExitFormatted("Error in polyfit: order (%d) is out of range!", order);
  const int n = order + 1;
  auto row = allocateScratch<T>(static_cast<std::size_t>(n), "polyfit");
  for (int i = 0; i < dataNum; ++i) {
    for (int j = 0; j <= order; ++j)
      row[j] = std::pow(x[i], static_cast<double>(order - j));
    rlseOneUpdate(row.get(), n, &y[i], 1, static_cast<T>(1.0), i == dataNum - 1 ? coef : nullptr);
  }
}

template <class T> void rlseReset() { estimator<T>().release(); }

template double rlseOneUpdate<double>(const double *, int, const double *, int, double, double *);
template void rlseBatch<double>(const double *, int, int, const double *, int, double, double *);
template void polyfit<double>(const double *, int, const double *, int, double *);
template void rlseReset<double>();
