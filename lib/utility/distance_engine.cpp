// The distance engine's entry points: the kernels of
// distance_engine_kernels.inc built once per target, and the switch that
// sends each call to the target cpu_dispatch.h chose.
#include "distance.h"

#include "column_major.h"
#include "cpu_dispatch.h"
#include "scratch.h"
#include "simd_lanes.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>

namespace {

// Doubles of the stack tile (32 KB: the first-level data cache of current
// processors). A tile holds whole columns, a multiple of the lane width.
constexpr int kTileDoubles = 4096;

// The neighbour search's tile is one of kSearchTileChoices (the larger from
// the heap). Its float copy is what every query reads in turn; where that
// copy of the larger tile (32 KB) fits the first-level data cache beside the
// rest (48 KB caches), twice the columns per tile halve the per-query work
// of each tile (measured with a 48 KB cache, 100,000 uniform columns: L2
// takes 11 % less time at dim 32 and 27 % less at dim 128 than with 4096
// doubles, within 3 % either way at dim 8 and 16; L1 within 5 %); in a
// 32 KB cache the copy would be evicted by the double tile's reads.
constexpr int kLargestSearchTile = kSearchTileChoices[std::size(kSearchTileChoices) - 1];
constexpr long long kAssumedCacheBytes = 32 * 1024;

int &forcedSearchTile() {
  static int doubles = 0; // 0: the processor's choice
  return doubles;
}

class TileBuffer {
public:
  /// Columns per tile for columns of dim >= 1 values: as many whole blocks of
  /// width columns as fit in tileDoubles, at least one block.
  int columnsPerTile(int dim, int width, int tileDoubles = kTileDoubles) const {
    const long long blockDoubles = static_cast<long long>(dim) * width;
    return blockDoubles > tileDoubles ? width
                                      : width * static_cast<int>(tileDoubles / blockDoubles);
  }
  /// Room for columns x dim doubles: the stack tile, or for long columns one
  /// block from the heap (failing through myExit when there is none).
  double *prepare(int columns, int dim) {
    const std::size_t needed = static_cast<std::size_t>(columns) * static_cast<std::size_t>(dim);
    if (needed <= static_cast<std::size_t>(kTileDoubles))
      return stack_;
    heap_ = allocateScratch<double>(needed, "the distance engine");
    return heap_.get();
  }

private:
  alignas(64) double stack_[kTileDoubles];
  std::unique_ptr<double[]> heap_;
};

// ---------------------------------------------------------------------------
// Float lower bounds for the neighbour search
// ---------------------------------------------------------------------------
//
// Before its exact double sum, a candidate x may be rejected by a sum in
// float over the whole vector, which costs less than the exact one (twice
// the lanes per register and, for L2, two operations per term instead of
// three). The float sum only decides what may be skipped; every candidate it
// keeps is summed exactly as before. A candidate can enter only when its
// exact sum S (the literal double sum in index order) is strictly below the
// worst kept distance W, and W only shrinks; so rejecting it is sound when
// S > W is proven for the W at the time of the test.
//
// Notation: n = dim; q, x the double vectors; q~, x~ their values rounded to
// float; u = 2^-24 (float) and u' = 2^-53 (double) unit roundoffs; eta = 2^-150
// (half the smallest float subnormal); g = n u / (1 - n u).
//
// Premises, checked per vector (else the candidate or query goes the exact
// way only): every value finite with |v| <= 2^50, and n <= 2^16. Then no
// float operation below overflows (|products| <= 2^100, sums <= 2^117), and
// |v - v~| <= u |v| + eta for every value (rounding to nearest; eta covers
// the subnormal range).
//
// The exact sum against the real distance. Each double difference has
// |fl(q_i - x_i)| >= (1 - u') |q_i - x_i| (a subnormal difference is exact),
// each square loses at most a factor (1 - u') and 2^-1075, and each addition
// of terms >= 0 a factor (1 - u'). So, with D1 = sum |q_i - x_i| and
// D2 = sqrt(sum (q_i - x_i)^2),
//   L1: S >= (1 - n u') D1,
//   L2: S >= (1 - (n + 2) u') D2^2 - n 2^-1075
// (S = +inf satisfies any of these).
//
// L1. B = the float sum of |q~_i - x~_i| in any order. Each float difference
// is |q~_i - x~_i| (1 + d) with |d| <= u, each addition of terms >= 0 adds a
// factor <= (1 + u), so B <= (1 + u)^n D1~ and D1~ >= (1 - n u) B. By the
// triangle inequality D1 >= D1~ - sum(|q_i - q~_i| + |x_i - x~_i|)
// >= D1~ - u (|q|_1 + |x|_1) - 2 n eta. Hence
//   B > t1 >= (W / (1 - n u') + u (|q|_1 + |x|_1) + 2 n eta) / (1 - n u)
// gives D1 > W / (1 - n u') and S > W.
//
// L2 (the expanded form: the float dot product A of q~ and x~ is two
// operations per term). Exactly, D2~^2 = |q~|^2 + |x~|^2 - 2 q~.x~, and the
// float dot product has |A - q~.x~| <= g |q~| |x~| + 2 n eta (the standard
// bound with Cauchy-Schwarz; eta per underflowing product). The lane keeps
// h <= |x~|^2 / 2 as a float and computes r = fl(h - A) = (h - A)(1 + d),
// |d| <= u (a subnormal difference is exact). With
//   theta >= e + sqrt((W + n 2^-1075) / (1 - (n + 2) u')),
//   e     >= u (|q| + |x|) + 2 sqrt(n) eta      (>= |q - q~| + |x - x~|),
//   tau   >= (theta^2 - |q~|^2) / 2 + g |q~| |x~| + 2 n eta,
//   t     >= (1 + u) tau when tau > 0, t >= (1 - u) tau otherwise,
// r > t gives h - A > tau (for r > 0, h - A >= r / (1 + u); for r <= 0,
// h - A >= r / (1 - u)), so |x~|^2 / 2 - A > tau, D2~^2 > theta^2,
// D2~ > theta, and by the triangle inequality
// D2 >= D2~ - e > sqrt((W + n 2^-1075) / (1 - (n + 2) u')), which gives S > W.
// (tau is usually negative: |q~|^2 / 2 is left out of the lane's value.)
//
// Evaluating the thresholds in double. Norms come as bounds: above for |q|,
// |x|, |q|_1, |x|_1 (per tile, the largest of its columns), below for |q~|^2
// and |x~|^2 (squares of floats are exact in double). Every double rounding
// below is a relative 2^-53 per operation and at most a few dozen of them
// meet, and (n + 2) u' <= 2^-36, so one relative slack of 2^-30 on each
// quantity, plus 2^-100 (far above every eta or 2^-1075 term) where an
// absolute one is needed, keeps every inequality above. A float threshold is
// rounded up from its double value (+inf when beyond float), a float h down.
// W = the largest double, or a margin that swamps W (data far from the origin
// with small spread), gives +inf: the bound is skipped.
constexpr double kFloatRoundoff = 0x1p-24;
constexpr double kSlack = 0x1p-30;
constexpr double kTiny = 0x1p-100;
constexpr double kFloatBoundLargest = 0x1p50;
constexpr int kFloatBoundMaxDim = 1 << 16;

/// The smallest float >= v (+inf beyond the float range; v not NaN). Called
/// for every group of candidates, so the step to the next float is done on
/// the bits in place of a library call. It is taken only when f < v, where f
/// is finite and not -0 (a v that rounds to -0 is <= 0): the next float up
/// is one unit more in the last place for f >= 0 (+0 gives the smallest
/// subnormal) and one unit less for f < 0.
float floatAtLeast(double v) {
  if (v > static_cast<double>(FLT_MAX))
    return HUGE_VALF;
  float f = static_cast<float>(v);
  if (static_cast<double>(f) < v) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    bits = f >= 0.0f ? bits + 1 : bits - 1;
    std::memcpy(&f, &bits, sizeof f);
  }
  return f;
}

/// The smallest power of two >= v, for a finite v > 0: a norm bound that
/// stays a bound (the thresholds only need normAbove >= the norm).
double powerOfTwoAtLeast(double v) {
  int exponent;
  const double mantissa = std::frexp(v, &exponent); // v = mantissa 2^exponent, mantissa in [1/2, 1)
  return mantissa == 0.5 ? v : std::ldexp(1.0, exponent);
}

/// The largest float <= v, for |v| within the float range.
float floatAtMost(double v) {
  float f = static_cast<float>(v);
  if (static_cast<double>(f) > v)
    f = std::nextafter(f, -HUGE_VALF);
  return f;
}

/// What the float bound needs of one vector (a query or a data column).
struct FloatBoundSide {
  bool usable = false;         // finite, every |v| <= 2^50
  double normAbove = 0.0;      // >= |v| (type 2) or |v|_1 (type 1)
  double roundedSqBelow = 0.0; // <= |v~|^2, v~ = v rounded to float (type 2)
};

/// The side of a vector within the premises from its sums of v_i^2, |v_i|
/// and (v_i rounded to float)^2 (the last exact squares in double).
FloatBoundSide floatBoundSideOfSums(double sumSq, double sumAbs, double roundedSq, int type) {
  FloatBoundSide side;
  side.usable = true;
  side.normAbove = type == 1 ? sumAbs * (1.0 + kSlack) + kTiny
                             : std::sqrt(sumSq * (1.0 + kSlack) + kTiny) * (1.0 + kSlack);
  side.roundedSqBelow = roundedSq * (1.0 - kSlack);
  return side;
}

FloatBoundSide floatBoundSide(const double *v, int dim, int type) {
  double sumSq = 0.0, sumAbs = 0.0, roundedSq = 0.0;
  for (int i = 0; i < dim; ++i) {
    const double a = std::fabs(v[i]);
    if (!(a <= kFloatBoundLargest)) // NaN fails too
      return FloatBoundSide();
    const double rounded = static_cast<float>(v[i]); // exact square in double
    sumSq += a * a;
    sumAbs += a;
    roundedSq += rounded * rounded;
  }
  return floatBoundSideOfSums(sumSq, sumAbs, roundedSq, type);
}

/// The float rejection threshold of an L1 candidate: a float sum B > t
/// proves S > worst (see above). tileNorm bounds |x|_1 of every column.
float l1RejectThreshold(double worst, int dim, double queryNorm, double tileNorm) {
  const double n = dim;
  const double tau = (worst * (1.0 + kSlack) + kFloatRoundoff * (queryNorm + tileNorm) + kTiny) *
                     (1.0 + kSlack);
  return floatAtLeast(tau / (1.0 - n * kFloatRoundoff) * (1.0 + kSlack));
}

/// sqrt(worst (1 + kSlack) + kTiny), the root in the L2 threshold below.
double l2WorstRoot(double worst) { return std::sqrt(worst * (1.0 + kSlack) + kTiny); }

/// The float rejection threshold of an L2 candidate: fl(h - A) > t proves
/// S > worst (see above). tileNorm bounds |x| of every column; worstRoot is
/// l2WorstRoot(worst), which callers keep while worst stays.
float l2RejectThreshold(double worst, double worstRoot, int dim, const FloatBoundSide &query,
                        double tileNorm) {
  const double n = dim;
  const double g = n * kFloatRoundoff / (1.0 - n * kFloatRoundoff);
  // |q~| <= (1 + u) |q| + sqrt(n) eta, likewise |x~|.
  const double roundedQuery = query.normAbove * (1.0 + kFloatRoundoff) + kTiny;
  const double roundedTile = tileNorm * (1.0 + kFloatRoundoff) + kTiny;
  const double margin = g * roundedQuery * roundedTile * (1.0 + kSlack) + kTiny;
  if (!(margin < worst))
    return HUGE_VALF; // the float sum could hardly reject anything
  const double e = (kFloatRoundoff * (query.normAbove + tileNorm) + kTiny) * (1.0 + kSlack);
  const double theta = (e + worstRoot) * (1.0 + kSlack);
  const double thetaSq = theta * theta * (1.0 + kSlack);
  const double tau = (thetaSq - query.roundedSqBelow) / 2.0 + margin +
                     kSlack * (thetaSq + query.roundedSqBelow) + kTiny;
  return floatAtLeast(tau > 0.0 ? tau * (1.0 + 2.0 * kFloatRoundoff)
                                : tau * (1.0 - 2.0 * kFloatRoundoff));
}

// ---------------------------------------------------------------------------
// Byte-code lower bound for the L1 neighbour search
// ---------------------------------------------------------------------------
//
// In place of the float bound, an L1 candidate may be rejected on byte codes
// of its values: one step s for every dimension, codes c = round((v - low_e) / s)
// in 0 .. 255, and the sum of |c_q - c_x| over the dimensions (an exact
// integer, summed eight bytes per instruction) bounds the distance from below.
//
// Premises: the data columns used (every |v| <= 2^50, no NaN, no infinity)
// lie in [low_e, high_e] per dimension e; R = the largest fl(high_e - low_e)
// with 2^-900 <= R; s = fl(R / 254); inverse = fl(1 / s); the query is
// finite with every |q_e| <= 2^50 too. Columns or queries outside these go
// the float or exact way only.
//
// Codes. high_e - low_e <= R / (1 - u') and s >= (1 - u') R / 254, so the
// real r = (v - low_e) / s of a value v in [low_e, high_e] lies in [0, 255).
// The computed fl(fl(v - low_e) * inverse) is r times three factors within
// (1 +- u'), plus at most 2^-1074 when it underflows: within 2^-43 of r.
// Adding 0.5 (one more rounding, < 2^-45 below 256) and truncating gives c
// with |c - r| <= 1/2 + 2^-42; clamping c to 255 only brings it nearer r.
// Hence |v - (low_e + c s)| <= s (1/2 + 2^-42). A query value is first
// clamped to [low_e, high_e] (exact); for x_e in that interval the clamped
// q'_e has |q'_e - x_e| <= |q_e - x_e|.
//
// Bound. Per dimension |q_e - x_e| >= |q'_e - x_e| >= s |c_q - c_x|
// - s (1 + 2^-41), so with C = the sum of |c_q - c_x|,
//   D1 >= s (C - n (1 + 2^-41)),
// and the exact sum has S >= (1 - n u') D1 (see the float bounds above).
// C > L with L >= n (1 + 2^-41) + W / (s (1 - n u')) gives
// D1 > W / (1 - n u') and S > W. L = floor(T) for T computed in double with
// a relative slack of 2^-30 on each term and on the sum (far above the few
// roundings of its evaluation); C > floor(T) is C > T for an integer C.
//
// L2 does not use the codes: bounding D2 through D1 <= sqrt(n) D2 lets a few
// percent of uniform candidates through, which then need the float bound
// too, and the float bound alone (sixteen lanes per instruction) was faster.
constexpr unsigned char kCodeLargest = 255;
constexpr double kCodeLevels = 254.0;
constexpr double kCodeSmallestRange = 0x1p-900;

/// Whether a vector meets the premises of the float and code bounds.
bool boundUsable(const double *v, int dim) {
  for (int e = 0; e < dim; ++e)
    if (!(std::fabs(v[e]) <= kFloatBoundLargest)) // NaN fails too
      return false;
  return true;
}

/// The quantisation of the code bound: per-dimension low and high of the
/// usable data columns, one step for all. usable is false when no column is
/// usable, when the spread is below the premises or the dimension is beyond
/// the float bound's.
struct CodeScale {
  bool usable = false;
  std::unique_ptr<double[]> low, high; // dim each
  double step = 0.0, inverse = 0.0;
  double limitFactor = 0.0; // 1 / (s (1 - n u')) and its slack, see codeRejectLimit
};

CodeScale codeScaleOf(const double *data, int dataNum, int dim) {
  CodeScale scale;
  if (dim > kFloatBoundMaxDim)
    return scale;
  scale.low = allocateScratch<double>(static_cast<std::size_t>(dim), "the distance engine");
  scale.high = allocateScratch<double>(static_cast<std::size_t>(dim), "the distance engine");
  bool any = false;
  for (int c = 0; c < dataNum; ++c) {
    const double *column = data + static_cast<long long>(c) * dim;
    if (!boundUsable(column, dim))
      continue;
    for (int e = 0; e < dim; ++e) {
      if (!any || column[e] < scale.low[e])
        scale.low[e] = column[e];
      if (!any || column[e] > scale.high[e])
        scale.high[e] = column[e];
    }
    any = true;
  }
  if (!any)
    return scale;
  double range = 0.0;
  for (int e = 0; e < dim; ++e)
    range = scale.high[e] - scale.low[e] > range ? scale.high[e] - scale.low[e] : range;
  if (!(range >= kCodeSmallestRange))
    return scale;
  scale.step = range / kCodeLevels;
  scale.inverse = 1.0 / scale.step;
  scale.limitFactor = scale.inverse / (1.0 - dim * 0x1p-53) * (1.0 + kSlack);
  scale.usable = true;
  return scale;
}

/// The code of v in dimension e (see above); v finite.
unsigned codeOf(const CodeScale &scale, int e, double v) {
  const double clamped = v < scale.low[e] ? scale.low[e] : (v > scale.high[e] ? scale.high[e] : v);
  const int code = static_cast<int>((clamped - scale.low[e]) * scale.inverse + 0.5);
  return code > kCodeLargest ? kCodeLargest : static_cast<unsigned>(code);
}

/// The codes of dimensions 8 g .. 8 g + 7 of v in one word, dimension 8 g in
/// the lowest byte; dimensions past dim give 0 (as on the other side).
std::uint64_t codeWord(const CodeScale &scale, const double *v, int dim, int g) {
  std::uint64_t word = 0;
  for (int i = 0; i < 8 && 8 * g + i < dim; ++i)
    word |= static_cast<std::uint64_t>(codeOf(scale, 8 * g + i, v[8 * g + i])) << (8 * i);
  return word;
}

/// The rejection limit of an L1 candidate: a code sum C > limit proves
/// S > worst (see above); -1 when the bound cannot reject. The scale's
/// limitFactor and each term below carry a relative slack of 2^-30, far
/// above the few roundings of their evaluation.
long long codeRejectLimit(double worst, int dim, const CodeScale &scale) {
  const double t = (dim * (1.0 + kSlack) + worst * scale.limitFactor * (1.0 + kSlack)) *
                   (1.0 + kSlack);
  return t < 0x1p30 ? static_cast<long long>(t) : -1;
}

#define CLUSTERKIT_KERNEL_FILE "distance_engine_kernels.inc"
#include "kernel_targets.inc"

// Calls `function(arguments...)` in the namespace of the active target.
#if CLUSTERKIT_X86_DISPATCH
#define CLUSTERKIT_DISPATCH(function, ...)                                                      \
  switch (activeKernelTarget()) {                                                              \
  case KernelTarget::Avx512:                                                                   \
    return avx512_target::function(__VA_ARGS__);                                               \
  case KernelTarget::Avx2:                                                                     \
    return avx2_target::function(__VA_ARGS__);                                                 \
  case KernelTarget::Sse2:                                                                     \
    return sse2_target::function(__VA_ARGS__);                                                 \
  default:                                                                                     \
    return scalar_target::function(__VA_ARGS__);                                               \
  }
#else
#define CLUSTERKIT_DISPATCH(function, ...) return scalar_target::function(__VA_ARGS__);
#endif

// With no dimensions every distance is 0.0: the first slotCount columns not
// excluded fill the list, in order.
void nearestColumnsWithoutDimensions(int queryNum, int dataNum, const int *excluded,
                                     int excludedCount, int slotCount, int slotStride,
                                     double *slotIndex, double *slotDistance) {
  for (int c = 0; c < queryNum; ++c) {
    double *distances = slotDistance + static_cast<long long>(c) * slotStride;
    double *indices = slotIndex + static_cast<long long>(c) * slotStride;
    int filled = 0;
    while (filled < slotCount && distances[filled] <= 0.0)
      ++filled; // slots that already hold 0 stay ahead of every candidate
    int nextExcluded = 0;
    for (int i = 0; i < dataNum && filled < slotCount; ++i) {
      if (nextExcluded < excludedCount && excluded[nextExcluded] == i) {
        ++nextExcluded;
        continue;
      }
      for (int k = slotCount - 1; k > filled; --k) {
        distances[k] = distances[k - 1];
        indices[k] = indices[k - 1];
      }
      distances[filled] = 0.0;
      indices[filled] = i;
      ++filled;
    }
  }
}

void nearestColumnsDispatched(const double *queries, int queryNum, const double *data,
                              int dataNum, int dim, int type, const int *excluded,
                              int excludedCount, int slotCount, int slotStride,
                              double *slotIndex, double *slotDistance,
                              const CodeScale &codeScale, TileBuffer &buffer) {
  CLUSTERKIT_DISPATCH(nearestColumnsOnTarget, queries, queryNum, data, dataNum, dim, type,
                      excluded, excludedCount, slotCount, slotStride, slotIndex, slotDistance,
                      codeScale, buffer)
}

void tableDispatched(const double *mat1, int n1, const double *mat2, int n2, int dim,
                     bool symmetric, double *out, TileBuffer &buffer) {
  CLUSTERKIT_DISPATCH(squaredDistanceTableOnTarget, mat1, n1, mat2, n2, dim, symmetric, out,
                      buffer)
}

double assignDispatched(const double *data, int dim, int dataNum, const double *center,
                        int centerNum, const int *hint, int *memberIndex, TileBuffer &buffer) {
  CLUSTERKIT_DISPATCH(assignNearestCentersOnTarget, data, dim, dataNum, center, centerNum, hint,
                      memberIndex, buffer)
}

} // namespace

int searchTileDoublesForCache(long long cacheBytes) {
  const long long cache = cacheBytes > 0 ? cacheBytes : kAssumedCacheBytes;
  int chosen = kSearchTileChoices[0];
  for (int doubles : kSearchTileChoices)
    if (3 * static_cast<long long>(doubles * sizeof(float)) <= 2 * cache)
      chosen = doubles;
  return chosen;
}

int searchTileDoubles() {
  static const int processorChoice = searchTileDoublesForCache(firstLevelDataCacheBytes());
  return forcedSearchTile() > 0 ? forcedSearchTile() : processorChoice;
}

bool setSearchTileDoubles(int doubles) {
  for (int choice : kSearchTileChoices)
    if (doubles == choice) {
      forcedSearchTile() = doubles;
      return true;
    }
  return false;
}

void nearestColumns(const double *queries, int queryNum, const double *data, int dataNum, int dim,
                    int type, const int *excluded, int excludedCount, int slotCount,
                    int slotStride, double *slotIndex, double *slotDistance) {
  if (slotCount < 1 || queryNum < 1)
    return;
  if (dim < 1) {
    nearestColumnsWithoutDimensions(queryNum, dataNum, excluded, excludedCount, slotCount,
                                    slotStride, slotIndex, slotDistance);
    return;
  }
  const CodeScale codeScale = type == 1 ? codeScaleOf(data, dataNum, dim) : CodeScale();
  TileBuffer buffer;
  nearestColumnsDispatched(queries, queryNum, data, dataNum, dim, type, excluded, excludedCount,
                           slotCount, slotStride, slotIndex, slotDistance, codeScale, buffer);
}

void squaredDistanceTable(const double *mat1, int n1, const double *mat2, int n2, int dim,
                          double *out) {
  if (dim < 1) {
    const long long total = static_cast<long long>(n1) * (n2 > 0 ? n2 : 0);
    for (long long k = 0; k < total; ++k)
      out[k] = 0.0;
    return;
  }
  TileBuffer buffer;
  tableDispatched(mat1, n1, mat2, n2, dim, false, out, buffer);
}

void squaredDistanceTableSymmetric(const double *mat, int n, int dim, double *out) {
  if (dim < 1) {
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i)
        if (i != j)
          out[i + static_cast<long long>(j) * n] = 0.0;
    return;
  }
  TileBuffer buffer;
  tableDispatched(mat, n, mat, n, dim, true, out, buffer);
}

double assignNearestCenters(const double *data, int dim, int dataNum, const double *center,
                            int centerNum, const int *hint, int *memberIndex) {
  TileBuffer buffer;
  return assignDispatched(data, dim, dataNum, center, centerNum, hint, memberIndex, buffer);
}

bool allFinite(const double *values, long long count) {
  // v - v is 0 for a finite v and NaN for NaN or an infinity; four sums of
  // those stay 0 exactly when every value is finite, with no branch per value.
  double probe[4] = {0.0, 0.0, 0.0, 0.0};
  long long k = 0;
  for (; k + 4 <= count; k += 4)
    for (int lane = 0; lane < 4; ++lane)
      probe[lane] += values[k + lane] - values[k + lane];
  for (; k < count; ++k)
    probe[0] += values[k] - values[k];
  return probe[0] + probe[1] + probe[2] + probe[3] == 0.0;
}
