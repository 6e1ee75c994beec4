#include "neighbor_search.h"

#include "distance.h"

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

void nearestNeighborSearch(const double *mat1, int dataNum1, const double *mat2, int dataNum2,
                           int dim, int method, int nnCount, const int *excluded,
                           int excludedCount, double *nnIndex, double *nnDistance) {
  const long long total = static_cast<long long>(nnCount) * dataNum1;
  std::fill(nnIndex, nnIndex + total, static_cast<double>(EMPTY_SLOT_INDEX));
  std::fill(nnDistance, nnDistance + total, EMPTY_SLOT_DISTANCE);
  // At most dataNum2 slots can ever be filled; the rest stay empty, so the
  // search only keeps that many, in place in the output columns.
  const int slotCount = std::min(nnCount, dataNum2);
  nearestColumns(mat1, dataNum1, mat2, dataNum2, dim, method, excluded, excludedCount, slotCount,
                 nnCount, nnIndex, nnDistance);
}
