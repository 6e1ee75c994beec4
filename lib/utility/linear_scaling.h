// The linear scaling matcher: a query compared with the leading part of a
// reference under uniform time stretches.
#ifndef CLUSTERKIT_LINEAR_SCALING_H
#define CLUSTERKIT_LINEAR_SCALING_H

// Compares a query with the leading part of a reference under uniform time
// stretches. Ratio i of count is ((double)i * (upper - lower)) / (count - 1)
// + lower, so the grid runs evenly from lower to upper (a count of 1 uses
// lower alone; a count below 1 compares nothing). The stretched length of
// ratio i is ratio * query length made an int: truncated in
// linearScaledVecCreate and the plain linearScaling, rounded (myRound) in the
// offset-removing variants. Ratios are tried in order and the first stretched
// length longer than the reference ends the loop. Each stored distance is
// the kernel's distance divided by the stretched length; entries not
// compared stay TOO_FAR_DISTANCE. The best index is the lowest position of
// the smallest compared distance, 0 when nothing was compared.
// Distance types: 1 = mean absolute difference, with the median as the offset
// removed; 2 = mean squared difference, with the mean as the offset.

/// The stretched copies of one query, made once for matching many references.
/// Copy i lies at scaledData + i * slotLength with scaledLength[i] valid
/// elements. The record is the caller's; the two arrays belong to the set
/// between linearScaledVecCreate and linearScaledVecFree.
struct SCALEDVECSET {
  double lowerRatio;
  double upperRatio;
  int ratioCount;
  int slotLength;     ///< room per copy: query length * upperRatio, truncated
  double *scaledData; ///< ratioCount slots of slotLength doubles
  int *scaledLength;  ///< valid length of each copy
};

/// Fills set: the ratios, the slots, and in slot i the query resampled to
/// its truncated stretched length. slotLength is query length * upper
/// truncated, or the longest copy when that is longer (ratios that do not
/// rise, or rounding at the top ratio), so a copy never overruns its slot.
/// Fails through myExit when the arrays cannot be allocated.
void linearScaledVecCreate(const double *query, int queryLength, double lowerRatio,
                           double upperRatio, int ratioCount, SCALEDVECSET *set);

/// Releases the set's two arrays and sets their pointers to null; the other
/// fields are left as they are.
void linearScaledVecFree(SCALEDVECSET *set);

/// @param query            in: the query (size queryLength)
/// @param reference        in: the reference (size referenceLength)
/// @param lowerRatio, upperRatio, ratioCount  the ratio grid
/// @param distanceType     1 (L1) or 2 (squared L2)
/// @param distance         out: one distance per ratio (size ratioCount)
/// @param work             scratch (size referenceLength suffices)
/// @param bestIndex        out: position of the smallest compared distance
///
/// Plain matcher: distance[i] = vecDistance(stretched query, reference, L,
/// type) / L for each ratio whose truncated length L fits the reference.
/// distance holds ratioCount entries; work at least as many doubles as the
/// longest stretched length compared. Returns the smallest compared distance
/// (TOO_FAR_DISTANCE when nothing was compared); an unknown type fails in the
/// distance kernel.
double linearScaling(const double *query, int queryLength, const double *reference,
                     int referenceLength, double lowerRatio, double upperRatio, int ratioCount,
                     int distanceType, double *distance, double *work, int &bestIndex);

/// @param query            in: the query (size queryLength)
/// @param reference        in: the reference (size referenceLength)
/// @param lowerRatio, upperRatio, ratioCount  the ratio grid
/// @param distanceType     1 (L1, median offset) or 2 (squared L2, mean offset)
/// @param distance         out: one distance per ratio (size ratioCount)
/// @param shift            out: the offset removed per compared ratio (size ratioCount)
/// @param work             scratch: the stretched query (size referenceLength suffices)
/// @param difference       scratch: work - reference (size referenceLength suffices)
/// @param bestIndex        out: position of the smallest compared distance
/// @param boundFactor      per-element bound; the kernel's bound is L * boundFactor
///
/// Offset-removing matcher: for each ratio whose rounded length L fits the
/// reference, the stretched query is put in work, difference = work -
/// reference, shift[i] = median (type 1) or mean (type 2) of it, shift[i] is
/// subtracted from work, and distance[i] = vecDistanceWithBound(work,
/// reference, L, type, L * boundFactor) / L, so an abandoned ratio stores
/// TOO_FAR_DISTANCE / L. shift entries of ratios not compared are left
/// alone. Any other type fails with "Unknown distance type (line %d of %s)"
/// at the first ratio that fits. Returns the smallest compared distance.
double linearScaling(const double *query, int queryLength, const double *reference,
                     int referenceLength, double lowerRatio, double upperRatio, int ratioCount,
                     int distanceType, double *distance, double *shift, double *work,
                     double *difference, int &bestIndex, double boundFactor);

/// @param set              in/out: copies from linearScaledVecCreate; left shifted
/// @param reference        in: the reference (size referenceLength)
/// @param distanceType     1 (L1, median offset) or 2 (squared L2, mean offset)
/// @param distance         out: one distance per ratio (size set->ratioCount)
/// @param shift            out: the offset removed per compared ratio (size set->ratioCount)
/// @param unusedBuffer     not read
/// @param difference       scratch: copy - reference (size referenceLength suffices)
/// @param bestIndex        out: position of the smallest compared distance
/// @param boundFactor      per-element bound; the kernel's bound is L * boundFactor
///
/// The offset-removing matcher on a prepared set: copy i with its stored
/// length in place of fresh resampling, stopping at the first copy longer
/// than the reference. The shift is subtracted from the copy inside the set,
/// so the set keeps the shifted copies (a second call finds shifts near 0 and
/// the same distances up to rounding). unusedBuffer is not read.
double linearScaling2(SCALEDVECSET *set, const double *reference, int referenceLength,
                      int distanceType, double *distance, double *shift, double *unusedBuffer,
                      double *difference, int &bestIndex, double boundFactor);

#endif // CLUSTERKIT_LINEAR_SCALING_H
