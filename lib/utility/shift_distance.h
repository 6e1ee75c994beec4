// The shift-tolerant distance: the shorter vector slid along the longer, its
// offset removed at each alignment.
#ifndef CLUSTERKIT_SHIFT_DISTANCE_H
#define CLUSTERKIT_SHIFT_DISTANCE_H

/// Slides the shorter vector S along the longer T (the first argument is S
/// when the lengths are equal) and at each alignment i = 0 .. m-n removes the
/// offset of S - T[i .. i+n-1] (median for type 1, mean for type 2) before
/// taking vecDistance(S - offset, T[i ..], n, type), not divided by n.
/// Returns the smallest distance; bestAlignment is the lowest alignment that
/// gives it and bestOffset its offset (shorter minus longer). Distances must
/// be strictly below TOO_FAR_DISTANCE to count: otherwise bestAlignment is -1
/// and bestOffset keeps its value. An empty vector (length below 1) gives
/// TOO_FAR_DISTANCE with bestOffset = TOO_FAR_DISTANCE and bestAlignment =
/// -1. Any other type fails with "Unknown distance type (line %d of %s)".
double lrShiftDist(const double *vec1, int length1, const double *vec2, int length2,
                   int distanceType, double &bestOffset, int &bestAlignment);

#endif // CLUSTERKIT_SHIFT_DISTANCE_H
