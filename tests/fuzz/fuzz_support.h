// Shared by the fuzz targets of the readers: the input handed over as a file
// the readers can open, and the one way a reader may refuse an input.
//
// A library failure (LibraryFailure) is the expected refusal and is caught
// here; anything else that leaves a target (another exception type, a crash,
// a sanitizer report, a leak, a slow input) is a finding for libFuzzer.
#ifndef CLUSTERKIT_FUZZ_SUPPORT_H
#define CLUSTERKIT_FUZZ_SUPPORT_H

#include "utility.h"

#include <cstddef>
#include <cstdint>
#include <string>

/// Writes the bytes to a file of this process's scratch directory whose name
/// ends in "." + extension (no dot for an empty extension) and returns its
/// path. The same extension reuses the same file.
std::string writeInputFile(const std::uint8_t *data, std::size_t size, const std::string &extension);

/// Runs a reader; a library failure is a sound refusal and ends it quietly.
template <class Reader> void readOrRefuse(Reader reader) {
  try {
    reader();
  } catch (const LibraryFailure &) {
  }
}

/// Stops the run as a finding when a property of a result does not hold.
void requireProperty(bool holds, const char *what);

/// Takes the first byte off the input (0 when there is none).
std::uint8_t takeByte(const std::uint8_t *&data, std::size_t &size);

#endif // CLUSTERKIT_FUZZ_SUPPORT_H
