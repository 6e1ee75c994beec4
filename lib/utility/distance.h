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

// ---------------------------------------------------------------------------
// The distance engine: many L1 / squared-L2 sums at once, vectorised across
// columns so that every sum keeps the bits of the one-at-a-time kernels.
//
// Every sum runs over the dimensions in ascending order, starting from 0.0,
// with d = (first vector) - (second vector) and the term |d| (taken as d when
// d > 0, else -d) or d * d, exactly as vecDistance() and squaredDistance()
// compute it. What the engine adds is speed: the columns of one side are
// copied a tile at a time into lane order (one vector register holds one
// dimension of several columns), each lane carries one column's running sum,
// and searches prune candidates that provably cannot be taken. The tile is a
// fixed stack buffer; only columns so long that one register's worth of them
// does not fit take one block of that size from the heap (and fail through
// myExit when it cannot be had). The neighbour search's tile has a size
// chosen from the processor's first-level data cache (searchTileDoubles; the
// larger one from the heap), and the search also keeps it rounded to float,
// for a lower bound that rejects most candidates before their exact sums:
// one heap block of about half the tile per call. All entry points run on
// the instruction set cpu_dispatch.h chose, with the same results on every
// one and with every tile.
// ---------------------------------------------------------------------------

/// The sizes of the neighbour search's tile in doubles, smallest first.
inline constexpr int kSearchTileChoices[] = {4096, 8192};

/// The neighbour search's tile for a first-level data cache of cacheBytes
/// (0 or less: unknown, taken as 32 KB): the largest choice whose float copy
/// (four bytes per double), which every query reads in turn, fills at most
/// two thirds of the cache, so that it stays there beside the rest of a
/// query's work; the smallest choice when none does.
int searchTileDoublesForCache(long long cacheBytes);

/// The tile the neighbour search uses now: chosen from
/// firstLevelDataCacheBytes() (cpu_dispatch.h) once, unless forced.
int searchTileDoubles();

/// Forces the neighbour search's tile (for tests and benchmarks; results are
/// the same bits with every tile). Returns false and changes nothing unless
/// doubles is one of kSearchTileChoices.
bool setSearchTileDoubles(int doubles);

/// Forces a tile for one scope and puts the previous one back.
class ScopedSearchTile {
public:
  explicit ScopedSearchTile(int doubles) : previous_(searchTileDoubles()) {
    setSearchTileDoubles(doubles);
  }
  ~ScopedSearchTile() { setSearchTileDoubles(previous_); }
  ScopedSearchTile(const ScopedSearchTile &) = delete;
  ScopedSearchTile &operator=(const ScopedSearchTile &) = delete;

private:
  int previous_;
};

/// @param queries       in: query columns (size dim * queryNum)
/// @param data          in: candidate columns (size dim * dataNum)
/// @param type          1 (L1), anything else squared L2
/// @param excluded      in: candidate columns left out, ascending, each once
///                      (size excludedCount)
/// @param slotCount     slots kept per query
/// @param slotStride    distance between two queries' slot lists (>= slotCount)
/// @param slotIndex     in/out: 0-based columns as doubles (size slotStride * queryNum)
/// @param slotDistance  in/out: their distances (size slotStride * queryNum)
///
/// Exhaustive k-nearest-column search under type 1 (L1) or any other type
/// (squared L2; callers reject unknown codes before).
///
/// queries: dim x queryNum; data: dim x dataNum (column-major). For query c,
/// its slot list is slotDistance[c * slotStride + r] and
/// slotIndex[c * slotStride + r] for r = 0 .. slotCount-1 (0-based data
/// column numbers as doubles); the caller fills it beforehand (ascending
/// distances, for example all empty). Data columns are offered in ascending
/// order, skipping the excludedCount columns of excluded (ascending, each
/// once). A candidate enters when its full sum is strictly below the worst
/// kept distance, behind every kept slot of equal distance (so the lower
/// column comes first); the worst slot falls off. A sum that is NaN never
/// enters. This is what the one-at-a-time search with vecDistanceWithBound()
/// and the worst kept distance as the bound keeps, when a candidate abandoned
/// at its bound is dropped. Nothing happens for slotCount < 1; with dim < 1
/// every distance is 0.0.
void nearestColumns(const double *queries, int queryNum, const double *data, int dataNum, int dim,
                    int type, const int *excluded, int excludedCount, int slotCount,
                    int slotStride, double *slotIndex, double *slotDistance);

/// out (n1 x n2, column-major) receives at (i, j) squaredDistance(column i of
/// mat1, column j of mat2, dim), bit for bit (0.0 for dim < 1).
void squaredDistanceTable(const double *mat1, int n1, const double *mat2, int n2, int dim,
                          double *out);

/// out (n x n) receives at (i, j) and (j, i), for every i < j,
/// squaredDistance(column i, column j, dim) of mat (the lower-numbered column
/// first). The diagonal is not written.
void squaredDistanceTableSymmetric(const double *mat, int n, int dim, double *out);

/// The nearest centre of every data column: memberIndex[j] = the index that
/// findVecMin() picks among squaredDistance(column j, centre k, dim) for
/// k = 0 .. centerNum-1, that is the lowest index among the smallest
/// distances. Returns the sum of those distances, added in column order.
///
/// Precondition: every element of data and center is finite (no NaN, no
/// infinity), so that no distance is NaN. hint (dataNum entries, or null)
/// holds a likely centre per column (the previous assignment); a good hint
/// only makes the search faster, the result is the same. hint may be
/// memberIndex itself. dim >= 1, centerNum >= 1.
double assignNearestCenters(const double *data, int dim, int dataNum, const double *center,
                            int centerNum, const int *hint, int *memberIndex);

/// Whether all count values are finite.
bool allFinite(const double *values, long long count);

#endif // CLUSTERKIT_DISTANCE_H
