// Helpers shared by the numeric routines of the utility unit; not part of its
// public interface.
#ifndef CLUSTERKIT_UTILITY_INTERNAL_H
#define CLUSTERKIT_UTILITY_INTERNAL_H

/// vecMedian on an array it may reorder: the same partitions and the same
/// result, without the copy. NaN for n below 1.
template <class T> T medianInPlace(T *w, int n);

#endif // CLUSTERKIT_UTILITY_INTERNAL_H
