#include "neighbor_search.h"

#include "utility.h"

#include <algorithm>

int skippedColumns(const double *skipIndex, int skipLen, int dataNum2, int *columns) {
  int count = 0;
  for (int k = 0; k < skipLen; ++k) {
    // Same test as comparing s - 1.0 with every column number i as doubles:
    // only a whole number in range can equal one of them.
    const double column = skipIndex[k] - 1.0;
    if (column >= 0.0 && column < dataNum2 && column == static_cast<int>(column))
      columns[count++] = static_cast<int>(column);
  }
  std::sort(columns, columns + count);
  return static_cast<int>(std::unique(columns, columns + count) - columns);
}

namespace {

// Inserts (distance, column) into the ascending slot list behind every slot
// of equal distance; the last slot's content falls off the end.
void insertCandidate(double *slotDistance, int *slotIndex, int slotCount, double distance,
                     int column) {
  int j = 0;
  while (j < slotCount && !(slotDistance[j] > distance))
    ++j;
  if (j == slotCount)
    return;
  for (int k = slotCount - 1; k > j; --k) {
    slotDistance[k] = slotDistance[k - 1];
    slotIndex[k] = slotIndex[k - 1];
  }
  slotDistance[j] = distance;
  slotIndex[j] = column;
}

} // namespace

void nearestNeighborSearch(const double *mat1, int dataNum1, const double *mat2, int dataNum2,
                           int dim, int method, int nnCount, const int *excluded,
                           int excludedCount, double *slotDistance, int *slotIndex,
                           double *nnIndex, double *nnDistance) {
  // At most dataNum2 slots can ever be filled; the rest stay empty, so the
  // search only keeps that many.
  const int slotCount = std::min(nnCount, dataNum2);
  for (int c = 0; c < dataNum1; ++c) {
    std::fill(slotDistance, slotDistance + slotCount, EMPTY_SLOT_DISTANCE);
    std::fill(slotIndex, slotIndex + slotCount, EMPTY_SLOT_INDEX);
    const double *query = columnOf(mat1, dim, c);
    int nextExcluded = 0; // the first excluded column not yet passed
    for (int i = 0; i < dataNum2; ++i) {
      if (nextExcluded < excludedCount && excluded[nextExcluded] == i) {
        ++nextExcluded;
        continue;
      }
      // The bound is the worst kept distance. When the worst slot is still
      // empty nothing can be abandoned; with a full list a candidate that
      // passes the bound could not enter it anyway.
      const double bound = slotCount > 0 ? slotDistance[slotCount - 1] : EMPTY_SLOT_DISTANCE;
      // Distances are never below 0 and a candidate enters only ahead of a
      // strictly greater one: once every slot holds 0 the list is final.
      // Without this, data of 0 rows (all distances 0) with a huge column
      // count, which costs no memory, would keep the host busy for hours.
      if (bound == 0.0)
        break;
      double distance;
      if (!vecDistanceWithinBound(query, columnOf(mat2, dim, i), dim, method, bound, distance))
        continue; // abandoned: its distance was never computed
      insertCandidate(slotDistance, slotIndex, slotCount, distance, i);
    }
    double *indexColumn = columnOf(nnIndex, nnCount, c);
    double *distanceColumn = columnOf(nnDistance, nnCount, c);
    for (int r = 0; r < nnCount; ++r) {
      const bool filledSlot = r < slotCount;
      indexColumn[r] = filledSlot ? slotIndex[r] : EMPTY_SLOT_INDEX;
      distanceColumn[r] = filledSlot ? slotDistance[r] : EMPTY_SLOT_DISTANCE;
    }
  }
}
