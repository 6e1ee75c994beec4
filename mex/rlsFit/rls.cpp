// The recursive least-squares estimator: one process-wide state, its update,
// the batch driver and the polynomial fit built on it.
#include "rls.h"

#include "integer_power.h"

#include "cpu_dispatch.h"
#include "scratch.h"
#include "simd_lanes.h"
#include "utility.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>

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

// The estimator for N inputs and one output (m = 1) on fixed-size arrays:
// the same products and sums, in the same order and from the same starting
// zeros, as the general update through the matrix templates, so the same
// bits. The covariance is held by columns (column k holds S[0..N-1][k]), so
// that the sums S a and S (a error), one per row, run side by side with k
// in order for each, which the compiler vectorises across rows. Scratch
// values that the general path keeps in tmp1 .. tmp7 live in locals here;
// they carry nothing from one update to the next.
template <class T, int N> class SmallEstimator {
public:
  explicit SmallEstimator(const RlsState<T> &state) {
    for (int i = 0; i < N; ++i) {
      for (int k = 0; k < N; ++k)
        column_[k][i] = state.S[i][k];
      P_[i] = state.P[i][0];
    }
  }

  void storeInto(RlsState<T> &state) const {
    for (int i = 0; i < N; ++i) {
      for (int k = 0; k < N; ++k)
        state.S[i][k] = column_[k][i];
      state.P[i][0] = P_[i];
    }
  }

  // One update with regressor a (N values) and target b; returns a' P.
  T update(const T *a, T b, T lambda) {
    T Sa[N]; // tmp1 = S a
    timesColumns(a, Sa);
    T aSa = 0; // tmp2
    for (int k = 0; k < N; ++k)
      aSa = a[k] * Sa[k] + aSa;
    const T denominator = lambda + aSa;
    T aS[N]; // tmp3 = a' S
    for (int j = 0; j < N; ++j) {
      T sum = 0;
      for (int k = 0; k < N; ++k)
        sum = a[k] * column_[j][k] + sum;
      aS[j] = sum;
    }
    const T inverseDenominator = static_cast<T>(1.0) / denominator;
    const T inverseLambda = static_cast<T>(1.0) / lambda;
    for (int j = 0; j < N; ++j)
      for (int i = 0; i < N; ++i) {
        const T correction = (Sa[i] * aS[j] + static_cast<T>(0)) * inverseDenominator; // tmp4
        column_[j][i] = (column_[j][i] - correction) * inverseLambda;
      }
    const T error = b - prediction(a); // tmp5
    T aError[N];                       // tmp6
    for (int i = 0; i < N; ++i)
      aError[i] = a[i] * error + static_cast<T>(0);
    T step[N]; // tmp7 = S tmp6, with the S just updated
    timesColumns(aError, step);
    for (int i = 0; i < N; ++i)
      P_[i] = P_[i] + step[i];
    return prediction(a);
  }

private:
  // out = S v: out[i] starts at 0 and adds S[i][k] v[k] for k in order.
  void timesColumns(const T *v, T *out) const {
    for (int i = 0; i < N; ++i)
      out[i] = 0;
    for (int k = 0; k < N; ++k)
      for (int i = 0; i < N; ++i)
        out[i] = column_[k][i] * v[k] + out[i];
  }

  T prediction(const T *a) const {
    T sum = 0;
    for (int k = 0; k < N; ++k)
      sum = a[k] * P_[k] + sum;
    return sum;
  }

  T column_[N][N];
  T P_[N];
};

// The batch estimator for N inputs and one output (symmetricUpdates in
// rls_kernels.inc), giving the bits of the general update with fewer
// operations, vectorised across the rows of S. It rests on these facts
// about IEEE arithmetic, valid while no NaN occurs:
//  - The covariance stays symmetric bit for bit: a'S and S a add the same
//    products (a[k] S[k][j] = S[j][k] a[k]) in the same order, so the
//    correction S a a'S / d is symmetric, and so is S after the update. a'S
//    is therefore S a, computed once.
//  - A sum that starts from 0, ((0 + p0) + p1) + ..., equals the sum without
//    the 0 except that a -0 becomes +0 (x + y is -0 only when both are -0).
//    The sums here skip the 0, and a error skips the + 0 that the general
//    update's product with its 1 x 1 factor adds, so they differ from the
//    general update's at most in the sign of a zero.
//    That sign never reaches the state: S a enters the correction through
//    (S a)[i] (S a)[j] + 0, which is +0 for either sign; a'S a enters
//    through lambda + a'S a, which ignores it when lambda is not zero; the
//    error's sign of zero enters only products with the same magnitude, and
//    P + step ignores it while P holds no -0, which P + step never creates.
//  - With NaNs the same holds for every value that is not NaN, and the NaNs
//    arise in the same places; which NaN payload survives where two meet
//    depends on the order of operands, which the compiler may swap anywhere
//    (the general update's copies differ among themselves).
// symmetricSuits() checks the conditions at the start: S symmetric, no NaN
// in S or P, no -0 in P, lambda neither zero nor NaN. With lambda = 1 the
// final multiplication by 1/lambda = 1 changes nothing (x * 1 == x) and is
// left out.
//
// Columns are padded to whole vectors of the widest target.
constexpr int kSymmetricPadding = 8;

template <int N> struct SymmetricState {
  static constexpr int size = N;
  double column[N][kSymmetricPadding]; // column[k][i] = S[i][k]; zeros beyond N
  double P[kSymmetricPadding];
  double lambda;
  double inverseLambda;
};

#define CLUSTERKIT_KERNEL_FILE "rls_kernels.inc"
#include "kernel_targets.inc"

// Calls fn with the Kernels of the active target (see rls_kernels.inc).
template <class Fn> void withActiveKernels(Fn &&fn) {
#if CLUSTERKIT_X86_DISPATCH
  switch (activeKernelTarget()) {
  case KernelTarget::Avx512:
    return fn(avx512_target::Kernels());
  case KernelTarget::Avx2:
    return fn(avx2_target::Kernels());
  case KernelTarget::Sse2:
    return fn(sse2_target::Kernels());
  default:
    break;
  }
#endif
  fn(scalar_target::Kernels());
}

template <int N> bool symmetricSuits(const RlsState<double> &state, double lambda) {
  if (std::isnan(lambda) || lambda == 0)
    return false;
  for (int i = 0; i < N; ++i) {
    if (std::isnan(state.P[i][0]) || (std::signbit(state.P[i][0]) && state.P[i][0] == 0))
      return false;
    for (int k = 0; k < N; ++k)
      if (std::isnan(state.S[i][k]) ||
          std::memcmp(&state.S[i][k], &state.S[k][i], sizeof(double)) != 0)
        return false;
  }
  return true;
}

// Runs one output's updates on the symmetric estimator and stores the
// result; returns false, with the state untouched, when the estimator does
// not suit the state. runBatch(kernels, symmetricState, forgets) makes the
// updates with the active target's Kernels; forgets is std::true_type when
// lambda != 1.
template <int N, class RunBatch>
bool runSymmetricUpdates(RlsState<double> &state, double lambda, RunBatch &runBatch) {
  if (!symmetricSuits<N>(state, lambda))
    return false;
  SymmetricState<N> symmetric{};
  for (int i = 0; i < N; ++i) {
    for (int k = 0; k < N; ++k)
      symmetric.column[k][i] = state.S[i][k];
    symmetric.P[i] = state.P[i][0];
  }
  symmetric.lambda = lambda;
  symmetric.inverseLambda = 1.0 / lambda;
  const bool forgets = symmetric.inverseLambda != 1.0;
  withActiveKernels([&](auto kernels) {
    if (forgets)
      runBatch(kernels, symmetric, std::true_type());
    else
      runBatch(kernels, symmetric, std::false_type());
  });
  for (int i = 0; i < N; ++i) {
    for (int k = 0; k < N; ++k)
      state.S[i][k] = symmetric.column[k][i];
    state.P[i][0] = symmetric.P[i];
  }
  return true;
}

// The largest input count that takes the fixed-size path.
constexpr int kLargestSmallEstimator = 8;

// Calls fn with std::integral_constant<int, n> when 1 <= n <= 8; returns
// whether it did.
template <class Fn> bool withSmallSize(int n, Fn &&fn) {
  switch (n) {
  case 1: fn(std::integral_constant<int, 1>()); return true;
  case 2: fn(std::integral_constant<int, 2>()); return true;
  case 3: fn(std::integral_constant<int, 3>()); return true;
  case 4: fn(std::integral_constant<int, 4>()); return true;
  case 5: fn(std::integral_constant<int, 5>()); return true;
  case 6: fn(std::integral_constant<int, 6>()); return true;
  case 7: fn(std::integral_constant<int, 7>()); return true;
  case 8: fn(std::integral_constant<int, 8>()); return true;
  default: return false;
  }
}
static_assert(kLargestSmallEstimator == 8, "withSmallSize lists every size up to the largest");

// The shared estimator, created or re-created for n inputs and m outputs,
// initialised on its first use, with count more calls counted.
template <class T> RlsState<T> &estimatorFor(int n, int m, int count) {
  if (n < 1 || m < 1)
    myExitFormatted("Error in rlseOneUpdate: n (%d) and m (%d) must be at least 1!", n, m);
  RlsState<T> &state = estimator<T>();
  if (!state.fits(n, m))
    state.create(n, m);
  if (state.flag == 0)
    initialiseEstimate(state, n, m);
  for (int k = 0; k < count; ++k)
    state.countCall();
  return state;
}

// The general update through the matrix templates, on the state's matrices.
template <class T>
T generalUpdate(RlsState<T> &state, const T *regressor, int n, const T *target, int m, T lambda) {
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
  return tmp5[0][0];
}

template <class T> void copyEstimate(const RlsState<T> &state, int n, int m, T *theta) {
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < m; ++j)
      theta[i + columnOffset(j, n)] = state.P[i][j];
}

// count updates in order, fillRow(k, regressor, target, n) supplying the k-th
// sample (n as a std::integral_constant on the fixed-size paths, so that the
// row is made by fixed-size code too); theta, when not null, receives the
// estimate after the last one.
// The two row buffers are scratch; where names the routine that asked, in
// the message of a failed allocation.
// One output and at most kLargestSmallEstimator inputs take the fixed-size
// path, which loads the state once for all the updates: the symmetric
// estimator where it suits the state, through runBatch (see
// runSymmetricUpdates), else SmallEstimator.
template <class T, class FillRow, class RunBatch>
void runUpdates(int count, int n, int m, T lambda, FillRow fillRow, RunBatch runBatch, T *theta,
                const char *where) {
  if (count <= 0)
    return;
  RlsState<T> &state = estimatorFor<T>(n, m, count);
  auto regressor = allocateScratch<T>(static_cast<std::size_t>(n), where);
  auto target = allocateScratch<T>(static_cast<std::size_t>(m), where);
  const bool small = m == 1 && withSmallSize(n, [&](auto size) {
    constexpr int N = decltype(size)::value;
    if (runSymmetricUpdates<N>(state, lambda, runBatch))
      return;
    SmallEstimator<T, N> estimator(state);
    for (int k = 0; k < count; ++k) {
      fillRow(k, regressor.get(), target.get(), size);
      estimator.update(regressor.get(), target[0], lambda);
    }
    estimator.storeInto(state);
  });
  if (!small)
    for (int k = 0; k < count; ++k) {
      fillRow(k, regressor.get(), target.get(), n);
      generalUpdate(state, regressor.get(), n, target.get(), m, lambda);
    }
  if (theta != nullptr)
    copyEstimate(state, n, m, theta);
}

} // namespace

template <class T>
T rlseOneUpdate(const T *regressor, int n, const T *target, int m, T lambda, T *theta) {
  RlsState<T> &state = estimatorFor<T>(n, m, 1);
  T result = 0;
  const bool small = m == 1 && withSmallSize(n, [&](auto size) {
    SmallEstimator<T, decltype(size)::value> estimator(state);
    result = estimator.update(regressor, target[0], lambda);
    estimator.storeInto(state);
  });
  if (!small)
    result = generalUpdate(state, regressor, n, target, m, lambda);
  if (theta != nullptr)
    copyEstimate(state, n, m, theta);
  return result;
}

// Only the estimate after the last row reaches theta: every earlier copy
// would be overwritten.
template <class T>
void rlseBatch(const T *A, int dataNum, int n, const T *B, int m, T lambda, T *theta) {
  auto fillRow = [&](int i, T *rowOfA, T *rowOfB, auto columns) {
    for (int j = 0; j < columns; ++j)
      rowOfA[j] = A[i + columnOffset(j, dataNum)];
    for (int j = 0; j < m; ++j)
      rowOfB[j] = B[i + columnOffset(j, dataNum)];
  };
  auto runBatch = [&](auto kernels, auto &symmetric, auto forgets) {
    constexpr int N = std::decay_t<decltype(symmetric)>::size;
    decltype(kernels)::template updates<N, decltype(forgets)::value>(symmetric, A, dataNum, B,
                                                                      dataNum);
  };
  runUpdates(dataNum, n, m, lambda, fillRow, runBatch, theta, "rlseBatch");
}

// The regressor rows x^order, ..., x, 1 are made one at a time rather than as
// a whole dataNum x (order+1) matrix: the updates, and so the result, are the
// same as rlseBatch over that matrix, without its memory. fillPowerRow and
// the kernels' chainPowers give the bits of pow(x, order - j) and call pow
// only where they must.
template <class T> void polyfit(const T *x, int dataNum, const T *y, int order, T *coef) {
  if (order < 0 || order == INT_MAX)
    myExitFormatted("Error in polyfit: order (%d) is out of range!", order);
  auto fillRow = [&](int i, T *row, T *target, auto columns) {
    fillPowerRow(x[i], columns - 1, row);
    target[0] = y[i];
  };
  auto runBatch = [&](auto kernels, auto &symmetric, auto forgets) {
    constexpr int N = std::decay_t<decltype(symmetric)>::size;
    decltype(kernels)::template polyfit<N, decltype(forgets)::value>(symmetric, x, y, dataNum);
  };
  runUpdates(dataNum, order + 1, 1, static_cast<T>(1.0), fillRow, runBatch, coef, "polyfit");
}

template <class T> void rlseReset() { estimator<T>().release(); }

template double rlseOneUpdate<double>(const double *, int, const double *, int, double, double *);
template void rlseBatch<double>(const double *, int, int, const double *, int, double, double *);
template void polyfit<double>(const double *, int, const double *, int, double *);
template void rlseReset<double>();
