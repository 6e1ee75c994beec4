// Matrices of squared Euclidean distances between column vectors.
#ifndef CLUSTERKIT_PAIR_DISTANCE_H
#define CLUSTERKIT_PAIR_DISTANCE_H

/// distMat (dataNum1 x dataNum2, column-major) receives at (i, j) the sum over
/// d in ascending order of (mat1(d, i) - mat2(d, j)) squared: the same bits as
/// squaredDistance() of the two columns. No square root is taken.
void pairDistanceMatrix(const double *mat1, int dataNum1, const double *mat2, int dataNum2,
                        int dim, double *distMat);

/// The dataNum x dataNum matrix of squared distances among the columns of
/// mat: each pair i < j is summed once and stored at (i, j) and (j, i). The
/// diagonal is never written, so it keeps what distMat held (0 for a fresh
/// host matrix).
void pairDistanceSymmetric(const double *mat, int dataNum, int dim, double *distMat);

#endif // CLUSTERKIT_PAIR_DISTANCE_H
