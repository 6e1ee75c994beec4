// The mixture model file: allocation, reading, printing and release of a
// GMMPARAM record.
#ifndef CLUSTERKIT_GMM_FILE_H
#define CLUSTERKIT_GMM_FILE_H

#include "gmm.h"

// Tagged text: "<comment>" (rest of its line), "<version>", "<gmmType>",
// "<name>", "<dim>", "<mixNum>", "<mean>" (mixNum*dim values, mixture by
// mixture), "<covariance>", "<weight>", "<gConst>" (mixNum values each).
// See docs/mixture-model-file.md.

/// Sets gmm.dim and gmm.mixNum and gives the record four zero-filled arrays
/// (mean mixNum*dim, the others mixNum values). A negative size, a size
/// beyond the int range, or memory that cannot be had fails through myExit
/// before anything is allocated or changed.
void gmmAllocate(GMMPARAM &gmm, int dim, int mixNum);

/// Reads the model file fileName into gmm; the arrays are new and released
/// with gmmFree(). A tag that does not match prints "temp=<token read>" and
/// "Cannot find \"<tag>\"!" and fails through myExit, with the file closed
/// and nothing left allocated. Values longer than 99 characters are cut to
/// 99; gConst values the file does not supply are 0. Refused the same way,
/// before anything is reserved: an integer beyond the int range ("Value of
/// \"<tag>\" beyond the int range: <text>!"), and sizes whose
/// mixNum*dim + 3*mixNum values exceed the bytes left in the file ("The file
/// is too short for dim <dim> and mixNum <mixNum> (<values> values, <bytes>
/// bytes left)!"). Reading stops at the end of the file.
void gmmRead(const char *fileName, GMMPARAM &gmm);

/// Prints gmm on the console in the file format ("%e " per value); a file
/// holding that text reads back with gmmRead() when version and name are
/// single tokens and the comment is not empty.
void gmmPrint(GMMPARAM &gmm);

/// Releases mean, covariance, weight and gConst and sets them to null, so a
/// second call does nothing. dim and mixNum stay as they were.
void gmmFree(GMMPARAM &gmm);

#endif // CLUSTERKIT_GMM_FILE_H
