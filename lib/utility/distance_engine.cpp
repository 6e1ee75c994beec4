// The distance engine's entry points: the kernels of
// distance_engine_kernels.inc built once per target, and the switch that
// sends each call to the target cpu_dispatch.h chose.
#include "distance.h"

#include "cpu_dispatch.h"
#include "scratch.h"
#include "simd_lanes.h"

#include <cmath>
#include <cstddef>
#include <memory>

namespace {

// Doubles of the stack tile (32 KB: the first-level data cache of current
// processors). A tile holds whole columns, a multiple of the lane width.
constexpr int kTileDoubles = 4096;

class TileBuffer {
public:
  /// Columns per tile for columns of dim >= 1 values: as many whole blocks of
  /// width columns as fit in the stack tile, at least one block.
  int columnsPerTile(int dim, int width) const {
    const long long blockDoubles = static_cast<long long>(dim) * width;
    return blockDoubles > kTileDoubles ? width
                                       : width * static_cast<int>(kTileDoubles / blockDoubles);
  }
  /// Room for columns x dim doubles: the stack tile, or for long columns one
  /// block from the heap (failing through myExit when there is none).
  double *prepare(int columns, int dim) {
    const std::size_t needed = static_cast<std::size_t>(columns) * static_cast<std::size_t>(dim);
    if (needed <= static_cast<std::size_t>(kTileDoubles))
      return stack_;
    heap_ = allocateScratch<double>(needed, "the distance engine");
    return heap_.get();
  }

private:
  alignas(64) double stack_[kTileDoubles];
  std::unique_ptr<double[]> heap_;
};

namespace scalar_target {
using Lanes = LanesScalar;
#include "distance_engine_kernels.inc"
} // namespace scalar_target

#if CLUSTERKIT_X86_DISPATCH
CLUSTERKIT_BEGIN_TARGET_SSE2
namespace sse2_target {
using Lanes = LanesSse2;
#include "distance_engine_kernels.inc"
} // namespace sse2_target
CLUSTERKIT_END_TARGET

CLUSTERKIT_BEGIN_TARGET_AVX2
namespace avx2_target {
using Lanes = LanesAvx2;
#include "distance_engine_kernels.inc"
} // namespace avx2_target
CLUSTERKIT_END_TARGET

CLUSTERKIT_BEGIN_TARGET_AVX512
namespace avx512_target {
using Lanes = LanesAvx512;
#include "distance_engine_kernels.inc"
} // namespace avx512_target
CLUSTERKIT_END_TARGET
#endif

// Calls `function(arguments...)` in the namespace of the active target.
#if CLUSTERKIT_X86_DISPATCH
#define CLUSTERKIT_DISPATCH(function, ...)                                                      \
  switch (activeKernelTarget()) {                                                              \
  case KernelTarget::Avx512:                                                                   \
    return avx512_target::function(__VA_ARGS__);                                               \
  case KernelTarget::Avx2:                                                                     \
    return avx2_target::function(__VA_ARGS__);                                                 \
  case KernelTarget::Sse2:                                                                     \
    return sse2_target::function(__VA_ARGS__);                                                 \
  default:                                                                                     \
    return scalar_target::function(__VA_ARGS__);                                               \
  }
#else
#define CLUSTERKIT_DISPATCH(function, ...) return scalar_target::function(__VA_ARGS__);
#endif

// With no dimensions every distance is 0.0: the first slotCount columns not
// excluded fill the list, in order.
void nearestColumnsWithoutDimensions(int queryNum, int dataNum, const int *excluded,
                                     int excludedCount, int slotCount, int slotStride,
                                     double *slotIndex, double *slotDistance) {
  for (int c = 0; c < queryNum; ++c) {
    double *distances = slotDistance + static_cast<long long>(c) * slotStride;
    double *indices = slotIndex + static_cast<long long>(c) * slotStride;
    int filled = 0;
    while (filled < slotCount && distances[filled] <= 0.0)
      ++filled; // slots that already hold 0 stay ahead of every candidate
    int nextExcluded = 0;
    for (int i = 0; i < dataNum && filled < slotCount; ++i) {
      if (nextExcluded < excludedCount && excluded[nextExcluded] == i) {
        ++nextExcluded;
        continue;
      }
      for (int k = slotCount - 1; k > filled; --k) {
        distances[k] = distances[k - 1];
        indices[k] = indices[k - 1];
      }
      distances[filled] = 0.0;
      indices[filled] = i;
      ++filled;
    }
  }
}

void nearestColumnsDispatched(const double *queries, int queryNum, const double *data,
                              int dataNum, int dim, int type, const int *excluded,
                              int excludedCount, int slotCount, int slotStride,
                              double *slotIndex, double *slotDistance, TileBuffer &buffer) {
  CLUSTERKIT_DISPATCH(nearestColumnsOnTarget, queries, queryNum, data, dataNum, dim, type,
                      excluded, excludedCount, slotCount, slotStride, slotIndex, slotDistance,
                      buffer)
}

void tableDispatched(const double *mat1, int n1, const double *mat2, int n2, int dim,
                     bool upperOnly, double *out, TileBuffer &buffer) {
  CLUSTERKIT_DISPATCH(squaredDistanceTableOnTarget, mat1, n1, mat2, n2, dim, upperOnly, out,
                      buffer)
}

double assignDispatched(const double *data, int dim, int dataNum, const double *center,
                        int centerNum, const int *hint, int *memberIndex, TileBuffer &buffer) {
  CLUSTERKIT_DISPATCH(assignNearestCentersOnTarget, data, dim, dataNum, center, centerNum, hint,
                      memberIndex, buffer)
}

// The off-diagonal elements (j, i) = (i, j) for i < j, in square blocks so
// that both the rows read and the rows written stay in the cache.
void mirrorUpperTriangle(int n, double *out) {
  constexpr int kBlock = 32;
  for (int i0 = 0; i0 < n; i0 += kBlock)
    for (int j0 = i0; j0 < n; j0 += kBlock)
      for (int j = j0; j < n && j < j0 + kBlock; ++j)
        for (int i = i0; i < i0 + kBlock && i < j; ++i)
          out[j + static_cast<long long>(i) * n] = out[i + static_cast<long long>(j) * n];
}

} // namespace

void nearestColumns(const double *queries, int queryNum, const double *data, int dataNum, int dim,
                    int type, const int *excluded, int excludedCount, int slotCount,
                    int slotStride, double *slotIndex, double *slotDistance) {
  if (slotCount < 1 || queryNum < 1)
    return;
  if (dim < 1) {
    nearestColumnsWithoutDimensions(queryNum, dataNum, excluded, excludedCount, slotCount,
                                    slotStride, slotIndex, slotDistance);
    return;
  }
  TileBuffer buffer;
  nearestColumnsDispatched(queries, queryNum, data, dataNum, dim, type, excluded, excludedCount,
                           slotCount, slotStride, slotIndex, slotDistance, buffer);
}

void squaredDistanceTable(const double *mat1, int n1, const double *mat2, int n2, int dim,
                          double *out) {
  if (dim < 1) {
    const long long total = static_cast<long long>(n1) * (n2 > 0 ? n2 : 0);
    for (long long k = 0; k < total; ++k)
      out[k] = 0.0;
    return;
  }
  TileBuffer buffer;
  tableDispatched(mat1, n1, mat2, n2, dim, false, out, buffer);
}

void squaredDistanceTableSymmetric(const double *mat, int n, int dim, double *out) {
  if (dim < 1) {
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i)
        if (i != j)
          out[i + static_cast<long long>(j) * n] = 0.0;
    return;
  }
  TileBuffer buffer;
  tableDispatched(mat, n, mat, n, dim, true, out, buffer);
  mirrorUpperTriangle(n, out);
}

double assignNearestCenters(const double *data, int dim, int dataNum, const double *center,
                            int centerNum, const int *hint, int *memberIndex) {
  TileBuffer buffer;
  return assignDispatched(data, dim, dataNum, center, centerNum, hint, memberIndex, buffer);
}

bool allFinite(const double *values, long long count) {
  // v - v is 0 for a finite v and NaN for NaN or an infinity; four sums of
  // those stay 0 exactly when every value is finite, with no branch per value.
  double probe[4] = {0.0, 0.0, 0.0, 0.0};
  long long k = 0;
  for (; k + 4 <= count; k += 4)
    for (int lane = 0; lane < 4; ++lane)
      probe[lane] += values[k + lane] - values[k + lane];
  for (; k < count; ++k)
    probe[0] += values[k] - values[k];
  return probe[0] + probe[1] + probe[2] + probe[3] == 0.0;
}
