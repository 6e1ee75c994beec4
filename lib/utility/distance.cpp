// Distance kernels: L1 and squared-L2 sums in index order, optionally
// abandoned once the running sum passes a bound.
#include "distance.h"

#include "column_major.h"
#include "console.h"
#include "failure.h"
#include "host_interface.h"
#include "simd_lanes.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

[[noreturn]] void failUnknownMethod(bool platformConsole) {
  if (platformConsole)
    platformPrintf("Unknown method!\n");
  else
    mexPrintf("Unknown method!\n");
  // A plug-in must survive a bad type code: end the call, not the process.
  myExit("Unknown method!");
}

inline bool isKnownType(int type) { return type == 1 || type == 2; }

// d when d > 0, else -d, bit for bit, without a branch (see simd_lanes.h).
inline double conditionalAbs(double d) { return LanesScalar::conditionalAbs(d); }

// The sum of one type, abandoned as soon as it exceeds bound. The loops are
// written once per type so that the inner loop has no branch on the type.
template <int Type>
bool boundedSum(const double *vec1, const double *vec2, int dim, double bound, double &sum) {
  double running = 0.0;
  for (int i = 0; i < dim; ++i) {
    const double d = vec1[i] - vec2[i];
    if (Type == 1)
      running += conditionalAbs(d);
    else
      running += d * d;
    if (running > bound)
      return false;
  }
  sum = running;
  return true;
}

} // namespace

template <class T> T vecDistance(const T *vec1, const T *vec2, int dim, int type) {
  if (!isKnownType(type))
    failUnknownMethod(false);
  T sum = 0.0;
  if (type == 1) {
    for (int i = 0; i < dim; ++i)
      sum += conditionalAbs(vec1[i] - vec2[i]);
  } else {
    for (int i = 0; i < dim; ++i) {
      const T d = vec1[i] - vec2[i];
      sum += d * d;
    }
  }
  return sum;
}

bool vecDistanceWithinBound(const double *vec1, const double *vec2, int dim, int type,
                            double bound, double &distance) {
  if (!isKnownType(type))
    failUnknownMethod(true);
  if (dim <= 0) {
    distance = 0.0;
    return true;
  }
  return type == 1 ? boundedSum<1>(vec1, vec2, dim, bound, distance)
                   : boundedSum<2>(vec1, vec2, dim, bound, distance);
}

template <class T>
T vecDistanceWithBound(const T *vec1, const T *vec2, int dim, int type, T bound) {
  double distance;
  return vecDistanceWithinBound(vec1, vec2, dim, type, bound, distance) ? distance
                                                                        : TOO_FAR_DISTANCE;
}

double squaredDistance(const double *vec1, const double *vec2, int dim) {
  double sum = 0.0;
  for (int i = 0; i < dim; ++i) {
    const double d = vec1[i] - vec2[i];
    sum += d * d;
  }
  return sum;
}

namespace {

template <bool VectorFirst> inline double difference(double v, double c) {
  return VectorFirst ? v - c : c - v;
}

// Four sums side by side: each keeps its own accumulator and adds its terms
// in ascending index, exactly as squaredDistance() would, so the bits are the
// same while the four addition chains overlap in the processor.
template <bool VectorFirst>
void distancesToColumns(const double *vector, const double *columns, int dim, int count,
                        double *out) {
  int i = 0;
  for (; i <= count - 4; i += 4) { // i + 4 would pass INT_MAX for count near it
    const double *c0 = columnOf(columns, dim, i);
    const double *c1 = c0 + dim;
    const double *c2 = c1 + dim;
    const double *c3 = c2 + dim;
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    for (int d = 0; d < dim; ++d) {
      const double v = vector[d];
      const double d0 = difference<VectorFirst>(v, c0[d]);
      const double d1 = difference<VectorFirst>(v, c1[d]);
      const double d2 = difference<VectorFirst>(v, c2[d]);
      const double d3 = difference<VectorFirst>(v, c3[d]);
      s0 += d0 * d0;
      s1 += d1 * d1;
      s2 += d2 * d2;
      s3 += d3 * d3;
    }
    out[i] = s0;
    out[i + 1] = s1;
    out[i + 2] = s2;
    out[i + 3] = s3;
  }
  for (; i < count; ++i) {
    const double *c = columnOf(columns, dim, i);
    out[i] = VectorFirst ? squaredDistance(vector, c, dim) : squaredDistance(c, vector, dim);
  }
}

} // namespace

void squaredDistancesToColumns(const double *vector, const double *columns, int dim, int count,
                               double *out) {
  distancesToColumns<true>(vector, columns, dim, count, out);
}

void squaredDistancesFromColumns(const double *vector, const double *columns, int dim,
                                 int count, double *out) {
  distancesToColumns<false>(vector, columns, dim, count, out);
}

template double vecDistance<double>(const double *, const double *, int, int);
template double vecDistanceWithBound<double>(const double *, const double *, int, int, double);
