// Vector quantisation: batch k-means training of a codebook of centres.
#include "vq.h"
#include "distance.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace {

// Assigns every vector to its nearest centre (the lowest-numbered among equal
// distances) and returns the total of those squared distances. With finite
// data and centres the distance engine does it (hint: a likely centre per
// vector, or null); otherwise every distance goes through distVec and
// findVecMin, whose rules for NaN (a NaN distance to centre 0 keeps centre 0,
// other NaN distances are never taken) the engine does not model.
double assignToNearestCenters(const double *data, int dim, int dataNum, const double *center,
                              int centerNum, int *memberIndex, double *distVec, const int *hint,
                              bool dataFinite) {
  if (dim >= 1 && dataFinite &&
      allFinite(center, static_cast<long long>(dim) * centerNum))
    return assignNearestCenters(data, dim, dataNum, center, centerNum, hint, memberIndex);
  double total = 0.0;
  for (int j = 0; j < dataNum; ++j) {
    const double *vector = columnOf(data, dim, j);
    squaredDistancesToColumns(vector, center, dim, centerNum, distVec);
    double nearest;
    memberIndex[j] = findVecMin(distVec, centerNum, nearest);
    total += nearest;
  }
  return total;
}

void countMembers(const int *memberIndex, int dataNum, int *memberCount, int centerNum) {
  for (int k = 0; k < centerNum; ++k)
    memberCount[k] = 0;
  for (int j = 0; j < dataNum; ++j)
    ++memberCount[memberIndex[j]];
}

// Moves every centre that has members to the mean of its members: the sum of
// the members in vector order, divided by their count. A centre without
// members is left where it was; zeroing it would drag it to the origin.
void moveCentersToMeans(const double *data, int dim, int dataNum, double *center, int centerNum,
                        const int *memberIndex, const int *memberCount) {
  for (int k = 0; k < centerNum; ++k)
    if (memberCount[k] > 0)
      std::memset(columnOf(center, dim, k), 0, sizeof(double) * static_cast<std::size_t>(dim));
  for (int j = 0; j < dataNum; ++j) {
    const double *vector = columnOf(data, dim, j);
    double *sum = columnOf(center, dim, memberIndex[j]);
    for (int d = 0; d < dim; ++d)
      sum[d] += vector[d];
  }
  for (int k = 0; k < centerNum; ++k) {
    if (memberCount[k] == 0)
      continue;
    const double count = static_cast<double>(memberCount[k]);
    double *mean = columnOf(center, dim, k);
    for (int d = 0; d < dim; ++d)
      mean[d] /= count;
  }
}

// One pass of updateVqCenter (see there), with a likely centre per vector
// (or null) and whether the data are known to be all finite.
double updatePass(const double *data, int dim, int dataNum, double *center, int centerNum,
                  int *memberIndex, double *distVec, int *memberCount, const int *hint,
                  bool dataFinite) {
  const double distortion = assignToNearestCenters(data, dim, dataNum, center, centerNum,
                                                   memberIndex, distVec, hint, dataFinite);
  countMembers(memberIndex, dataNum, memberCount, centerNum);
  moveCentersToMeans(data, dim, dataNum, center, centerNum, memberIndex, memberCount);
  return distortion;
}

bool dataAllFinite(const double *data, int dim, int dataNum) {
  return allFinite(data, static_cast<long long>(dim) * dataNum);
}

} // namespace

void initVqCenter(const double *data, int dim, int /*dataNum*/, double *center, int centerNum) {
  std::memcpy(center, data,
              sizeof(double) * static_cast<std::size_t>(dim) * static_cast<std::size_t>(centerNum));
}

int findVecMin(const double *vector, int n, double &minValue) {
  int minIndex = 0;
  double running = vector[0];
  for (int i = 1; i < n; ++i) {
    // Strictly greater: ties keep the lower index, and a NaN is never taken.
    if (running > vector[i]) {
      running = vector[i];
      minIndex = i;
    }
  }
  minValue = running;
  return minIndex;
}

double updateVqCenter(const double *data, int dim, int dataNum, double *center, int centerNum,
                      int *memberIndex, double *distVec, int *memberCount) {
  return updatePass(data, dim, dataNum, center, centerNum, memberIndex, distVec, memberCount,
                    nullptr, dataAllFinite(data, dim, dataNum));
}

int vqKmeans(const double *data, int dim, int dataNum, double *center, int centerNum,
             int *memberIndex, double *distVec, int *memberCount, double *distortion,
             int maxLoopCount, int plotOpt) {
  // The first pass is measured against this fixed value, so a first pass of
  // distortion exactly 1e6 already counts as settled.
  double previous = 1000000.0;
  const bool dataFinite = maxLoopCount > 0 && dataAllFinite(data, dim, dataNum);
  int i = 0;
  while (i < maxLoopCount) {
    // From the second pass on, each vector's previous centre is a close
    // bound that lets the search drop most other centres early; the
    // assignment is the same without it.
    distortion[i] = updatePass(data, dim, dataNum, center, centerNum, memberIndex, distVec,
                               memberCount, i > 0 ? memberIndex : nullptr, dataFinite);
    if (plotOpt == 1)
      platformPrintf("i = %d, distortion = %f\n", i, distortion[i]);
    // A total of 0 gives 0/0 here, which is never below the limit: training
    // that reaches 0 runs every pass.
    if (std::fabs(previous - distortion[i]) / previous < DBL_EPSILON)
      return i + 1;
    previous = distortion[i];
    ++i;
  }
  return i;
}

void printArray(const double *matrix, int rowNum, int colNum) {
  for (int r = 0; r < rowNum; ++r) {
    for (int c = 0; c < colNum; ++c)
      platformPrintf("%g ", columnOf(matrix, rowNum, c)[r]);
    platformPrintf("\n");
  }
}
