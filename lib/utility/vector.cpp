// Vector helpers of the utility unit: element-wise differences, mean, minimum,
// medians, resampling, rounding, sort comparators, range search, table
// lookups and two in-place clean-ups. All work on caller-owned arrays; only
// vecMedian allocates (a scratch copy).
#include "vector.h"

#include "failure.h"
#include "host_interface.h"
#include "internal.h"
#include "scratch.h"

#include <cmath>
#include <cstdint>
#include <limits>

// ---------------------------------------------------------------------------
// Differences, mean, minimum
// ---------------------------------------------------------------------------

template <class T> void vecMinus(const T *a, const T *b, int n, T *out) {
  for (int i = 0; i < n; ++i)
    out[i] = a[i] - b[i];
}

template <class T> void vecMinus(const T *src, typename TypeIdentity<T>::type x, int n, T *dst) {
  for (int i = 0; i < n; ++i)
    dst[i] = src[i] - x;
}

template <class T> T vecMean(const T *v, int n) {
  T sum = 0.0;
  for (int i = 0; i < n; ++i)
    sum += v[i];
  return sum / n;
}

template <class T> T vecMin(const T *v, int n, int &index) {
  T smallest = v[0];
  index = 0;
  for (int i = 1; i < n; ++i) {
    if (v[i] < smallest) {
      smallest = v[i];
      index = i;
    }
  }
  return smallest;
}

// ---------------------------------------------------------------------------
// Medians
// ---------------------------------------------------------------------------

template <class T> void split4vecMedian(T *v, int lo, int hi, int *pivotPos) {
  const T pivot = v[lo];
  int j = lo;
  for (int i = lo + 1; i <= hi; ++i) {
    if (v[i] < pivot) {
      ++j;
      if (i != j) {
        const T moved = v[i];
        v[i] = v[j];
        v[j] = moved;
      }
    }
  }
  const T first = v[lo];
  v[lo] = v[j];
  v[j] = first;
  *pivotPos = j;
}

template <class T> T medianInPlace(T *w, int n) {
  if (n < 1)
    return std::numeric_limits<T>::quiet_NaN();
  const int m = (n - 1) / 2;
  int lo = 0;
  int hi = n - 1;
  for (;;) {
    int k;
    split4vecMedian(w, lo, hi, &k);
    if (k == m)
      break;
    if (m < k)
      hi = k - 1;
    else
      lo = k + 1;
  }
  if (n % 2 == 1)
    return w[m];
  // Everything right of m is at least w[m]; the smallest of it is within
  // w[m+1 .. hi], or is w[m+1] itself when the last split ended at m.
  T upperMiddle = w[m + 1];
  for (int i = m + 2; i <= hi; ++i) {
    if (w[i] < upperMiddle)
      upperMiddle = w[i];
  }
  return (w[m] + upperMiddle) * 0.5;
}

template <class T> T vecMedian(const T *v, int n) {
  if (n < 1)
    return std::numeric_limits<T>::quiet_NaN();
  std::unique_ptr<T[]> scratch = allocateScratch<T>(static_cast<std::size_t>(n), "vecMedian");
  for (int i = 0; i < n; ++i)
    scratch[i] = v[i];
  return medianInPlace(scratch.get(), n);
}

int vecMedianByCounting(const int *vec, int n, int *hist, int histVecLen) {
  for (int k = 0; k < histVecLen; ++k)
    hist[k] = 0;
  for (int i = 0; i < n; ++i) {
    if (vec[i] < 0 || vec[i] >= histVecLen) {
      mexPrintf("Out of bound!\n");
      mexPrintf("vec[%d]=%d, histVecLen=%d\n", i, vec[i], histVecLen);
      continue;
    }
    ++hist[vec[i]];
  }
  const int threshold = n / 2 + 1;
  int runningSum = 0;
  int previous = -1;
  for (int k = 0; k < histVecLen; ++k) {
    if (hist[k] == 0)
      continue;
    runningSum += hist[k];
    if (runningSum >= threshold)
      return (n % 2 == 1 || hist[k] > 1) ? k : (k + previous) / 2;
    previous = k;
  }
  return -1; // nothing counted, or too few elements in range to reach the middle
}

// ---------------------------------------------------------------------------
// Resampling
// ---------------------------------------------------------------------------

namespace {
// The cases without interpolation: nothing to read or write, or a single
// source element, onto which every position maps (interpolating would read
// one element past it). True when dst is done.
template <class T>
bool resampledWithoutInterpolation(const T *src, int srcLen, T *dst, int dstLen) {
  if (srcLen < 1 || dstLen < 1)
    return true;
  if (srcLen > 1)
    return false;
  for (int i = 0; i < dstLen; ++i)
    dst[i] = src[0];
  return true;
}
} // namespace

void vecResample(const double *src, int srcLen, double *dst, int dstLen) {
  if (resampledWithoutInterpolation(src, srcLen, dst, dstLen))
    return;
  const int m = srcLen - 1;
  const int n = dstLen - 1;
  dst[0] = src[0];
  dst[n] = src[m];
  for (int i = 1; i < n; ++i) {
    // i * m in 64 bits: long vectors would overflow an int product.
    const int k = static_cast<int>(static_cast<std::int64_t>(i) * m / n);
    const double fraction = (static_cast<double>(i) * m) / n - k;
    dst[i] = fraction * src[k + 1] + (1 - fraction) * src[k];
  }
}

void vecResampleInt(const int *src, int srcLen, int *dst, int dstLen) {
  if (resampledWithoutInterpolation(src, srcLen, dst, dstLen))
    return;
  constexpr std::int64_t kSteps = 128; // 7 fraction bits
  const std::int64_t m = srcLen - 1;
  const std::int64_t n = dstLen - 1;
  dst[0] = src[0];
  dst[n] = src[m];
  for (std::int64_t i = 1; i < n; ++i) {
    const std::int64_t k = i * m / n;
    const std::int64_t e = (i * m * kSteps + n / 2) / n - kSteps * k;
    dst[i] = static_cast<int>(((kSteps - e) * src[k] + e * src[k + 1]) / kSteps);
  }
}

// ---------------------------------------------------------------------------
// Rounding and conversions
// ---------------------------------------------------------------------------

int myRound(double x) { return x > 0 ? static_cast<int>(x + 0.5) : static_cast<int>(x - 0.5); }

int myRound(float x) { return myRound(static_cast<double>(x)); }

int intDiv(int a, int b) { return a > 0 ? (a + b / 2) / b : (a - b / 2) / b; }

void double2intVec(const double *src, int n, int *dst) {
  for (int i = 0; i < n; ++i)
    dst[i] = myRound(src[i]);
}

void int2doubleVec(const int *src, int n, double *dst) {
  for (int i = 0; i < n; ++i)
    dst[i] = src[i];
}

// ---------------------------------------------------------------------------
// Sort comparators
// ---------------------------------------------------------------------------

namespace {
template <class T> int signOfDifference(T difference) {
  if (difference == 0)
    return 0;
  return difference < 0 ? -1 : 1; // a NaN difference sorts as greater
}
} // namespace

int sortFunction(const void *a, const void *b) {
  return signOfDifference(*static_cast<const double *>(a) - *static_cast<const double *>(b));
}

int doubleSortFunction(const void *a, const void *b) { return sortFunction(a, b); }

int floatSortFunction(const void *a, const void *b) {
  const float difference = *static_cast<const float *>(a) - *static_cast<const float *>(b);
  return signOfDifference(difference);
}

int intSortFunction(const void *a, const void *b) {
  const int x = *static_cast<const int *>(a);
  const int y = *static_cast<const int *>(b);
  if (x == y)
    return 0;
  return x < y ? -1 : 1;
}

// ---------------------------------------------------------------------------
// Range search and table lookups
// ---------------------------------------------------------------------------

template <class T> int rangeSearchBinSub(T value, const T *table, int lo, int hi) {
  // The halving search, as a loop: each step keeps the half that can hold
  // the answer, exactly as the recursive description does.
  while (lo <= hi) {
    // lo + hi in 64 bits: it passes INT_MAX for tables of more than 2^30 entries.
    const int mid = static_cast<int>((static_cast<long long>(lo) + hi) / 2);
    if (table[mid] == value)
      return mid + 1;
    if (table[mid] > value)
      hi = mid - 1;
    else
      lo = mid + 1;
  }
  return hi + 1;
}

template <class T> int rangeSearchBin(const T *table, int n, T value) {
  return rangeSearchBinSub(value, table, 0, n - 1);
}

int tableLookupByRangeSearch(const int *table, int n, int value, int offset, int reverse) {
  const int position = rangeSearchBin(table, n, value);
  return reverse != 0 ? offset + n - position : offset + position;
}

double tableLookupByDirectMapping(const double *table, int n, double x, double xMin,
                                  double xMax, double step) {
  if (x <= xMin)
    return table[0];
  if (x >= xMax)
    return table[n - 1];
  if (n < 2)
    return table[0];
  const double position = (x - xMin) / step;
  if (std::isnan(position))
    return position;
  // An x just below xMax can round onto the last entry, and a table shorter
  // than its range would run past its end: both use the last interval.
  // The cast is made only inside the int range (a step of 0 gives an infinite
  // position).
  const int lastInterval = n - 2;
  int k = 0;
  if (position >= lastInterval)
    k = lastInterval;
  else if (position > 0)
    k = static_cast<int>(position);
  const double x0 = xMin + k * step;
  return ((x0 + step - x) * table[k] + (x - x0) * table[k + 1]) / step;
}

// ---------------------------------------------------------------------------
// In-place clean-ups
// ---------------------------------------------------------------------------

void packCharIndex(double *v, int n) {
  // Stable compaction: the same result as moving, for each -1.0 in turn, the
  // first later entry that is not -1.0 into its place.
  int kept = 0;
  for (int i = 0; i < n; ++i) {
    if (v[i] != -1.0)
      v[kept++] = v[i];
  }
  for (int i = kept; i < n; ++i)
    v[i] = -1.0;
}

void replaceZeroWithPrevOne(double *v, int n) {
  if (n < 1)
    return;
  if (v[0] == 0)
    myExitFormatted("Wrong vector format (line %d of %s)", __LINE__, UTILITY_SOURCE_PATH);
  for (int i = 1; i < n; ++i) {
    if (v[i] == 0)
      v[i] = v[i - 1];
  }
}

// ---------------------------------------------------------------------------
// Instances
// ---------------------------------------------------------------------------

template void vecMinus<double>(const double *, const double *, int, double *);
template void vecMinus<double>(const double *, double, int, double *);
template double vecMean<double>(const double *, int);
template double vecMin<double>(const double *, int, int &);
template void split4vecMedian<double>(double *, int, int, int *);
template double medianInPlace<double>(double *, int);
template double vecMedian<double>(const double *, int);
template int rangeSearchBinSub<int>(int, const int *, int, int);
template int rangeSearchBin<int>(const int *, int, int);
