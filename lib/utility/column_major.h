// Column offsets in flat column-major matrices. Every offset is formed in
// std::ptrdiff_t, so that column * rows cannot overflow the 32-bit ints the
// sizes are kept in.
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

#endif // CLUSTERKIT_COLUMN_MAJOR_H
