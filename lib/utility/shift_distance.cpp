// Shift-tolerant distance: the shorter vector slid along the longer one, with
// the best constant offset removed at every alignment.
#include "shift_distance.h"

#include "distance.h"
#include "failure.h"
#include "internal.h"
#include "scratch.h"
#include "vector.h"

#include <cstddef>

namespace {

// Offset of the differences by distance type: median for the L1 norm, mean
// for the squared L2 norm. May reorder differences.
double offsetOf(double *differences, int n, int distanceType) {
  if (distanceType == 1)
    return medianInPlace(differences, n);
  if (distanceType == 2)
    return vecMean(differences, n);
  myExitFormatted("Unknown distance type (line %d of %s)", __LINE__, UTILITY_SOURCE_PATH);
}

} // namespace

double lrShiftDist(const double *vec1, int length1, const double *vec2, int length2,
                   int distanceType, double &bestOffset, int &bestAlignment) {
  if (length1 < 1 || length2 < 1) {
    bestOffset = TOO_FAR_DISTANCE;
    bestAlignment = -1;
    return TOO_FAR_DISTANCE;
  }
  const bool firstIsShorter = length1 <= length2;
  const double *shorter = firstIsShorter ? vec1 : vec2;
  const double *longer = firstIsShorter ? vec2 : vec1;
  const int n = firstIsShorter ? length1 : length2;
  const int m = firstIsShorter ? length2 : length1;

  std::unique_ptr<double[]> differences = allocateScratch<double>(n, "lrShiftDist");
  std::unique_ptr<double[]> shifted = allocateScratch<double>(n, "lrShiftDist");
  bestAlignment = -1;
  double smallest = TOO_FAR_DISTANCE;
  for (int i = 0; i <= m - n; ++i) {
    const double *segment = longer + i;
    vecMinus(shorter, segment, n, differences.get());
    // The differences are not needed after their offset, so the median may
    // partition them in place: same result as vecMedian, without its copy.
    const double offset = offsetOf(differences.get(), n, distanceType);
    vecMinus(shorter, offset, n, shifted.get());
    const double distance = vecDistance(shifted.get(), segment, n, distanceType);
    if (distance < smallest) {
      bestAlignment = i;
      bestOffset = offset;
      smallest = distance;
    }
  }
  return smallest;
}
