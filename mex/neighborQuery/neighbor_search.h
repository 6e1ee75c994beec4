// Exhaustive k-nearest-neighbour search of the columns of one matrix among
// the columns of another, with early abandoning.
#ifndef CLUSTERKIT_NEIGHBOR_SEARCH_H
#define CLUSTERKIT_NEIGHBOR_SEARCH_H

/// Slot contents that mean "no neighbour found".
constexpr double EMPTY_SLOT_DISTANCE = 1.7976931348623157e308;
constexpr int EMPTY_SLOT_INDEX = -1;

/// The columns of mat2 that skipIndex excludes, ascending and each once,
/// written to columns (skipLen entries of room); returns their number.
/// Element s excludes column i when s - 1.0 == i, so only whole numbers in
/// 1..dataNum2 count. The list takes room by the skip list's length, not by
/// dataNum2, which with 0 rows can be billions at no cost.
int skippedColumns(const double *skipIndex, int skipLen, int dataNum2, int *columns);

/// @param mat1           in: the queries (size dim * dataNum1)
/// @param mat2           in: the candidates (size dim * dataNum2)
/// @param method         1 (L1) or 2 (squared L2)
/// @param nnCount        neighbours kept per query
/// @param excluded       in: candidate columns left out (size excludedCount)
/// @param nnIndex        out: 0-based neighbour columns (size nnCount * dataNum1)
/// @param nnDistance     out: their distances (size nnCount * dataNum1)
///
/// For every column c of mat1 (dim x dataNum1), finds the nnCount nearest
/// columns of mat2 (dim x dataNum2) under method 1 (L1) or 2 (squared L2) and
/// writes column c of nnIndex and nnDistance (nnCount x dataNum1): 0-based
/// column numbers of mat2 as doubles and their distances, nearest first, the
/// lower column number first among equal distances. Slots that no candidate
/// reached hold EMPTY_SLOT_INDEX and EMPTY_SLOT_DISTANCE.
///
/// excluded (excludedCount column numbers, ascending, each once, as
/// skippedColumns gives them) removes columns from the candidates. A
/// candidate abandoned at its bound never enters the list; a NaN distance
/// never enters either. The output columns serve as the slot lists.
void nearestNeighborSearch(const double *mat1, int dataNum1, const double *mat2, int dataNum2,
                           int dim, int method, int nnCount, const int *excluded,
                           int excludedCount, double *nnIndex, double *nnDistance);

#endif // CLUSTERKIT_NEIGHBOR_SEARCH_H
