// Linear scaling matcher: a query stretched to several lengths, each copy
// compared with the same number of leading reference elements.
#include "linear_scaling.h"

#include "column_major.h"
#include "distance.h"
#include "internal.h"
#include "numbers.h"
#include "scratch.h"
#include "vector.h"

#include <cstddef>

namespace {

// Ratio i of the grid; a count of 1 has only the lower ratio (the grid
// formula would divide 0 by 0).
double scalingRatio(int i, double lowerRatio, double upperRatio, int ratioCount) {
  if (ratioCount == 1)
    return lowerRatio;
  return (static_cast<double>(i) * (upperRatio - lowerRatio)) / (ratioCount - 1) + lowerRatio;
}

// A stretched length beyond the int range (or NaN, from a NaN ratio) would be
// undefined as an int; it saturates instead (NaN to the largest int), and the
// largest int fits no reference, so such a ratio ends the comparisons.
int truncatedLength(double ratio, int queryLength) {
  const double stretched = ratio * queryLength;
  int length;
  return saturatesInt(stretched, length) ? length : static_cast<int>(stretched);
}

int roundedLength(double ratio, int queryLength) {
  const double stretched = ratio * queryLength;
  int length;
  return saturatesInt(stretched, length) ? length : myRound(stretched);
}

void fillTooFar(double *distance, int ratioCount) {
  for (int i = 0; i < ratioCount; ++i)
    distance[i] = TOO_FAR_DISTANCE;
}

// Best index among the first `compared` entries (0 when there are none) and
// the smallest distance.
double pickBest(const double *distance, int compared, int &bestIndex) {
  bestIndex = 0;
  if (compared < 1)
    return TOO_FAR_DISTANCE;
  return vecMin(distance, compared, bestIndex);
}

// One offset-removing comparison: stretched holds the stretched query of
// length L and receives it with the offset removed. Returns the per-element
// distance.
double compareWithoutOffset(double *stretched, const double *reference, int length,
                            int distanceType, double *difference, double boundFactor,
                            double &shift) {
  vecMinus(stretched, reference, length, difference);
  if (distanceType == 1)
    shift = vecMedian(difference, length);
  else if (distanceType == 2)
    shift = vecMean(difference, length);
  else
    myExitFormatted("Unknown distance type (line %d of %s)", __LINE__, UTILITY_SOURCE_PATH);
  vecMinus(stretched, shift, length, stretched);
  return vecDistanceWithBound(stretched, reference, length, distanceType, length * boundFactor) /
         length;
}

} // namespace

void linearScaledVecCreate(const double *query, int queryLength, double lowerRatio,
                           double upperRatio, int ratioCount, SCALEDVECSET *set) {
  set->lowerRatio = lowerRatio;
  set->upperRatio = upperRatio;
  set->ratioCount = ratioCount;
  const int count = ratioCount > 0 ? ratioCount : 0;

  std::unique_ptr<int[]> lengths = allocateScratch<int>(count, "linearScaledVecCreate");
  int slotLength = truncatedLength(upperRatio, queryLength);
  for (int i = 0; i < count; ++i) {
    lengths[i] = truncatedLength(scalingRatio(i, lowerRatio, upperRatio, ratioCount), queryLength);
    if (lengths[i] > slotLength)
      slotLength = lengths[i];
  }
  if (slotLength < 0)
    slotLength = 0;

  std::unique_ptr<double[]> data = allocateScratch<double>(static_cast<std::size_t>(count) *
                                                               static_cast<std::size_t>(slotLength),
                                                           "linearScaledVecCreate");
  for (int i = 0; i < count; ++i)
    vecResample(query, queryLength, columnOf(data.get(), slotLength, i), lengths[i]);

  set->slotLength = slotLength;
  set->scaledData = data.release();
  set->scaledLength = lengths.release();
}

void linearScaledVecFree(SCALEDVECSET *set) {
  delete[] set->scaledData;
  delete[] set->scaledLength;
  set->scaledData = nullptr;
  set->scaledLength = nullptr;
}

double linearScaling(const double *query, int queryLength, const double *reference,
                     int referenceLength, double lowerRatio, double upperRatio, int ratioCount,
                     int distanceType, double *distance, double *work, int &bestIndex) {
  fillTooFar(distance, ratioCount);
  int compared = 0;
  for (; compared < ratioCount; ++compared) {
    const int length = truncatedLength(
        scalingRatio(compared, lowerRatio, upperRatio, ratioCount), queryLength);
    if (length > referenceLength)
      break;
    vecResample(query, queryLength, work, length);
    distance[compared] = vecDistance(work, reference, length, distanceType) / length;
  }
  return pickBest(distance, compared, bestIndex);
}

double linearScaling(const double *query, int queryLength, const double *reference,
                     int referenceLength, double lowerRatio, double upperRatio, int ratioCount,
                     int distanceType, double *distance, double *shift, double *work,
                     double *difference, int &bestIndex, double boundFactor) {
  fillTooFar(distance, ratioCount);
  int compared = 0;
  for (; compared < ratioCount; ++compared) {
    const int length =
        roundedLength(scalingRatio(compared, lowerRatio, upperRatio, ratioCount), queryLength);
    if (length > referenceLength)
      break;
    vecResample(query, queryLength, work, length);
    distance[compared] = compareWithoutOffset(work, reference, length, distanceType, difference,
                                              boundFactor, shift[compared]);
  }
  return pickBest(distance, compared, bestIndex);
}

double linearScaling2(SCALEDVECSET *set, const double *reference, int referenceLength,
                      int distanceType, double *distance, double *shift,
                      double * /*unusedBuffer*/, double *difference, int &bestIndex,
                      double boundFactor) {
  fillTooFar(distance, set->ratioCount);
  int compared = 0;
  for (; compared < set->ratioCount; ++compared) {
    const int length = set->scaledLength[compared];
    if (length > referenceLength)
      break;
    double *copy = columnOf(set->scaledData, set->slotLength, compared);
    distance[compared] = compareWithoutOffset(copy, reference, length, distanceType, difference,
                                              boundFactor, shift[compared]);
  }
  return pickBest(distance, compared, bestIndex);
}
