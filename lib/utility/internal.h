// Helpers shared by the numeric routines of the utility unit; not part of its
// public interface.
#ifndef CLUSTERKIT_UTILITY_INTERNAL_H
#define CLUSTERKIT_UTILITY_INTERNAL_H

#include "utility.h"

#include <cstddef>
#include <memory>
#include <new>

/// A scratch array of count elements (at least one is allocated, so the pointer
/// is never null), zero-initialised. A failed allocation goes through the
/// failure path instead of throwing std::bad_alloc, which would otherwise
/// travel through a plug-in to the host. line is the caller's __LINE__.
template <class T> std::unique_ptr<T[]> allocateScratch(std::size_t count, int line) {
  std::unique_ptr<T[]> scratch(new (std::nothrow) T[count > 0 ? count : 1]());
  if (!scratch)
    myExitFormatted("Out of memory for %zu values (line %d of %s)", count, line,
                    UTILITY_SOURCE_PATH);
  return scratch;
}

/// vecMedian on an array it may reorder: the same partitions and the same
/// result, without the copy. NaN for n below 1.
template <class T> T medianInPlace(T *w, int n);

#endif // CLUSTERKIT_UTILITY_INTERNAL_H
