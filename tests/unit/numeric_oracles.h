// Literal implementations of the vector helpers, written straight from their
// descriptions, and bit-for-bit comparison: the oracles the library's
// routines (and the matchers built on them) must match exactly.
#ifndef CLUSTERKIT_TEST_NUMERIC_ORACLES_H
#define CLUSTERKIT_TEST_NUMERIC_ORACLES_H

#include <algorithm>
#include <cstring>
#include <vector>

inline bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

inline bool sameBits(const std::vector<double> &a, const std::vector<double> &b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!sameBits(a[i], b[i]))
      return false;
  }
  return true;
}

// Where two NaNs of different payloads meet in an addition, the payload that
// survives is the first operand's on x86; GCC keeps the source order of the
// operands, clang treats addition as commutative and may swap them. Built with
// clang (the sanitizer trees), a NaN therefore matches any NaN; everything
// else, signed zeros included, must match bit for bit.
inline bool sameBitsUpToCompilerNan(const std::vector<double> &a, const std::vector<double> &b) {
#if defined(__clang__)
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!sameBits(a[i], b[i]) && !(a[i] != a[i] && b[i] != b[i]))
      return false;
  }
  return true;
#else
  return sameBits(a, b);
#endif
}

// Median by sorting a copy: the order statistics the partition must find
// (for data without NaN).
inline double sortedMedian(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t m = (v.size() - 1) / 2;
  return v.size() % 2 == 1 ? v[m] : (v[m] + v[m + 1]) * 0.5;
}

inline double sequentialMean(const std::vector<double> &v) {
  double sum = 0.0;
  for (double x : v)
    sum += x;
  return sum / static_cast<double>(v.size());
}

// Linear resampling with int products (small sizes, srcLen at least 2).
inline std::vector<double> literalResample(const std::vector<double> &src, int dstLen) {
  std::vector<double> dst(dstLen);
  const int m = static_cast<int>(src.size()) - 1, n = dstLen - 1;
  dst[0] = src[0];
  dst[n] = src[m];
  for (int i = 1; i < n; ++i) {
    const int k = (i * m) / n;
    const double f = (static_cast<double>(i) * m) / n - k;
    dst[i] = f * src[k + 1] + (1 - f) * src[k];
  }
  return dst;
}

// Sum of absolute (type 1) or squared (type 2) differences in index order.
inline double literalDistance(const std::vector<double> &a, const double *b, int type) {
  double sum = 0.0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const double d = a[i] - b[i];
    sum += type == 1 ? (d > 0 ? d : -d) : d * d;
  }
  return sum;
}

// The bounded form: 2147483647 once the running sum exceeds bound.
inline double literalBoundedDistance(const std::vector<double> &a, const double *b, int type,
                                     double bound) {
  double sum = 0.0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const double d = a[i] - b[i];
    sum += type == 1 ? (d > 0 ? d : -d) : d * d;
    if (sum > bound)
      return 2147483647.0;
  }
  return sum;
}

#endif // CLUSTERKIT_TEST_NUMERIC_ORACLES_H
