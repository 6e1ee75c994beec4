// Column offsets in flat column-major matrices, and pieces of a range of
// columns. Every offset and counter is formed in std::ptrdiff_t, so that
// column * rows or a step to the next piece cannot overflow the 32-bit ints
// the sizes are kept in.
#ifndef CLUSTERKIT_COLUMN_MAJOR_H
#define CLUSTERKIT_COLUMN_MAJOR_H

#include <cstddef>

/// Offset of the first element of column `column` in a matrix of `rows`
/// rows: column * rows, never negative for non-negative arguments.
inline std::ptrdiff_t columnOffset(int column, int rows) {
  return static_cast<std::ptrdiff_t>(column) * rows;
}

/// The first element of column `column` of a matrix of `rows` rows.
template <class T> inline T *columnOf(T *matrix, int rows, int column) {
  return matrix + columnOffset(column, rows);
}

/// Calls piece(first, count) for the consecutive pieces of [0, n) in order:
/// count = step (>= 1) for each but the last, which holds the rest; nothing
/// for n < 1. The counter runs in std::ptrdiff_t: an int counter stepping to
/// its bound would pass INT_MAX (undefined) for n > INT_MAX - step + 1.
template <class Piece> inline void forEachPiece(int n, int step, Piece piece) {
  for (std::ptrdiff_t first = 0; first < n; first += step)
    piece(static_cast<int>(first), static_cast<int>(n - first < step ? n - first : step));
}

#endif // CLUSTERKIT_COLUMN_MAJOR_H
