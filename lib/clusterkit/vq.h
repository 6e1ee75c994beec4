// Vector quantisation: k-means training of a codebook.
#ifndef CLUSTERKIT_VQ_H
#define CLUSTERKIT_VQ_H

#include "utility.h"

// k-means training of a codebook: data is dim x dataNum (one vector per
// column), center is dim x centerNum and is rewritten in place. All arrays
// belong to the caller; nothing here allocates. The routines expect
// dim >= 1, dataNum >= 1 and 1 <= centerNum <= dataNum, and check none of it.

/// Copies the first centerNum columns of data into center (dataNum unused).
void initVqCenter(const double *data, int dim, int dataNum, double *center, int centerNum);

/// Index of the first smallest of vector[0..n-1] (ties go to the lowest index,
/// NaN is never taken); minValue receives that element. Reads vector[0] even
/// for n <= 1, which gives 0.
int findVecMin(const double *vector, int n, double &minValue);

/// @param data         in: the vectors (size dim * dataNum)
/// @param center       in/out: the centres (size dim * centerNum)
/// @param memberIndex  out: nearest centre of each vector, 0-based (size dataNum)
/// @param distVec      scratch (size centerNum)
/// @param memberCount  out: members of each centre (size centerNum)
///
/// One k-means pass. Assigns each vector to its nearest centre (memberIndex,
/// dataNum entries, the lower-numbered centre among equal squared distances),
/// counts the members of each centre (memberCount, centerNum entries), and
/// moves each centre with members to their mean; a centre without members
/// keeps its position. distVec is scratch of centerNum entries (used only
/// when data or centres hold a NaN or an infinity; finite inputs go through
/// the distance engine, with the same assignment). Returns the
/// distortion: the total squared distance of the vectors to their nearest
/// centres as the centres stood before the pass.
double updateVqCenter(const double *data, int dim, int dataNum, double *center, int centerNum,
                      int *memberIndex, double *distVec, int *memberCount);

/// @param data          in: the vectors (size dim * dataNum)
/// @param center        in/out: the starting centres, then the trained ones (size dim * centerNum)
/// @param memberIndex   out: nearest centre of each vector, 0-based (size dataNum)
/// @param distVec       scratch (size centerNum)
/// @param memberCount   out: members of each centre (size centerNum)
/// @param distortion    out: distortion of each pass (size maxLoopCount)
/// @param maxLoopCount  most passes to run
/// @param plotOpt       1 prints each pass's distortion on the console
///
/// Runs updateVqCenter passes until the distortion changes by less than
/// DBL_EPSILON relative to the previous pass (1e6 before the first), or
/// maxLoopCount passes have run. distortion[i] receives the distortion of
/// pass i (room for maxLoopCount values). With plotOpt 1 each pass prints
/// "i = <pass>, distortion = <value>" on the console. Returns the number of
/// passes run (0 when maxLoopCount <= 0); memberIndex and memberCount hold the
/// assignment of the last pass.
int vqKmeans(const double *data, int dim, int dataNum, double *center, int centerNum,
             int *memberIndex, double *distVec, int *memberCount, double *distortion,
             int maxLoopCount, int plotOpt);

/// Prints the rowNum x colNum column-major matrix on the console, one line
/// per row, each value as "%g" followed by a space.
void printArray(const double *matrix, int rowNum, int colNum);

#endif // CLUSTERKIT_VQ_H
