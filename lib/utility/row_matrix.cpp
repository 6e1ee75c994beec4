// Row-pointer matrices: an array of row pointers, each row its own
// zero-filled block, reached as matrix[row][column].
#include "row_matrix.h"

#include "failure.h"

#include <cstdlib>

namespace {

// calloc that never asks for zero bytes: a zero-size request may legally
// return null, which would be taken for a failure. An empty dimension thus
// still gives a block that fisFreeMatrix can release.
void *zeroFilledBlock(int count, int elementSize) {
  const std::size_t elements = count > 0 ? static_cast<std::size_t>(count) : 1;
  const std::size_t size = elementSize > 0 ? static_cast<std::size_t>(elementSize) : 1;
  return std::calloc(elements, size);
}

// The matrix, or null when the sizes are negative or the allocator is
// exhausted. Rows built before a failure are released again, so that a
// failure reported by the caller loses no memory.
void **buildRowMatrix(int rows, int cols, int elementSize) {
  if (rows < 0 || cols < 0 || elementSize < 0)
    return nullptr;
  void **matrix = static_cast<void **>(zeroFilledBlock(rows, sizeof(void *)));
  if (matrix == nullptr)
    return nullptr;
  for (int row = 0; row < rows; ++row) {
    matrix[row] = zeroFilledBlock(cols, elementSize);
    if (matrix[row] == nullptr) {
      fisFreeMatrix(matrix, row);
      return nullptr;
    }
  }
  return matrix;
}

// Either creator: the matrix, or the failure reported through report, which
// does not return.
void **createOrReport(int rows, int cols, int elementSize, void (*report)(const char *),
                      const char *message) {
  if (rows == 0 && cols == 0)
    return nullptr;
  void **matrix = buildRowMatrix(rows, cols, elementSize);
  if (matrix == nullptr)
    report(message);
  return matrix;
}

} // namespace

void **fisCreateMatrix(int rows, int cols, int elementSize) {
  return createOrReport(rows, cols, elementSize, fisError, "Error in fisCreateMatrix!");
}

void **matCreate(int rows, int cols, int elementSize) {
  return createOrReport(rows, cols, elementSize, showErrorMsg, "Error in matrixCreate!");
}

void fisFreeMatrix(void **matrix, int rows) {
  if (matrix == nullptr)
    return;
  for (int row = 0; row < rows; ++row)
    std::free(matrix[row]);
  std::free(matrix);
}
