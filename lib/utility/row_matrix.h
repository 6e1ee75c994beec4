// Row-pointer matrices: an array of row pointers, each row its own
// zero-filled block, reached as matrix[row][column].
#ifndef CLUSTERKIT_ROW_MATRIX_H
#define CLUSTERKIT_ROW_MATRIX_H

// A row-pointer matrix is an array of row pointers, each row its own
// zero-filled block, indexed matrix[row][column]. It does not know its own
// sizes: the caller keeps the row count for fisFreeMatrix.

/// A zero-filled rows x cols matrix of elements of elementSize bytes; null for
/// 0 x 0. One zero dimension gives a valid empty matrix (no rows, or rows of
/// no elements). Negative sizes or an exhausted allocator end the call with
/// "Error in fisCreateMatrix!" through fisError.
void **fisCreateMatrix(int rows, int cols, int elementSize);

/// As fisCreateMatrix, but fails with "Error in matrixCreate!" through the
/// library's failure path (showErrorMsg).
void **matCreate(int rows, int cols, int elementSize);

/// Releases rows row blocks, then the pointer array, of a matrix from either
/// creator. A null matrix is ignored.
void fisFreeMatrix(void **matrix, int rows);

#endif // CLUSTERKIT_ROW_MATRIX_H
