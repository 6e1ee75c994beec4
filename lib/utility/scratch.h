// Scratch arrays for library code: the utility and clusterkit units and the
// plug-ins' algorithm code. Not part of the unit's public interface (the
// umbrella utility.h does not include it). Gateways use allocateWork from
// gateway.h instead, which fails as a host error.
#ifndef CLUSTERKIT_SCRATCH_H
#define CLUSTERKIT_SCRATCH_H

#include "failure.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

/// A zero-initialised scratch array of count elements (at least one is
/// allocated, so the pointer is never null). A count the machine cannot
/// address or an exhausted allocator fails through myExit with "Out of memory
/// for <count> values in <where>.", where names the routine that asked: a
/// std::bad_alloc would otherwise travel through a plug-in to the host.
template <class T> std::unique_ptr<T[]> allocateScratch(std::size_t count, const char *where) {
  std::unique_ptr<T[]> scratch;
  if (count <= SIZE_MAX / sizeof(T))
    scratch.reset(new (std::nothrow) T[count > 0 ? count : 1]());
  if (!scratch)
    myExitFormatted("Out of memory for %zu values in %s.", count, where);
  return scratch;
}

#endif // CLUSTERKIT_SCRATCH_H
