// Distance kernels over double vectors: L1 and squared-L2 sums in index order,
// optionally abandoned at a bound, and several sums to consecutive columns at
// once. The one place for distance kernels.
#ifndef CLUSTERKIT_DISTANCE_H
#define CLUSTERKIT_DISTANCE_H

#include "numbers.h"

/// The largest 32-bit int as a double: a distance abandoned at its bound or
/// never computed. Finite; compares like any distance.
constexpr double TOO_FAR_DISTANCE = INT_MAX_AS_DOUBLE;

/// Distance of the given type between two dim-vectors, summed in index order.
/// An unknown type prints "Unknown method!" and fails.
template <class T> T vecDistance(const T *vec1, const T *vec2, int dim, int type);

/// As vecDistance, but returns TOO_FAR_DISTANCE as soon as the running sum
/// exceeds bound (strictly; the test follows every term). For type 2 the bound
/// is compared with the squared sum.
template <class T>
T vecDistanceWithBound(const T *vec1, const T *vec2, int dim, int type, T bound);

/// The bounded kernel without the sentinel: true with the full distance when
/// the running sum never exceeded bound, false when it was abandoned. Lets a
/// caller tell an abandoned candidate from one whose distance happens to equal
/// TOO_FAR_DISTANCE.
bool vecDistanceWithinBound(const double *vec1, const double *vec2, int dim, int type,
                            double bound, double &distance);

/// Sum of squared differences of two dim-vectors; no type, no bound.
double squaredDistance(const double *vec1, const double *vec2, int dim);

/// out[i] = squaredDistance(vector, column i, dim) for the count consecutive
/// dim-element columns starting at columns, bit for bit; several sums run
/// side by side, each in index order.
void squaredDistancesToColumns(const double *vector, const double *columns, int dim, int count,
                               double *out);

/// As squaredDistancesToColumns, with each difference taken column minus
/// vector: out[i] = squaredDistance(column i, vector, dim) bit for bit. (The
/// two orders can differ only in which NaN a NaN-against-NaN term keeps.)
void squaredDistancesFromColumns(const double *vector, const double *columns, int dim,
                                 int count, double *out);

#endif // CLUSTERKIT_DISTANCE_H
