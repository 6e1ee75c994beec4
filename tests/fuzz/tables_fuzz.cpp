// The table readers on arbitrary file content: readTxtTable and readBinTable
// directly, and readTable through the extension its path ends in, each for
// doubles and ints. The first input byte chooses the count (-2 to 61) and
// the second the extension; the rest is the file. Elements beyond the count,
// and beyond the whole values a binary file holds, must stay as they were.
#include "fuzz_support.h"

#include <cstring>

namespace {

constexpr int kCapacity = 64;
const char *const kExtensions[] = {"txt", "TXT", "bin", "BIN", "Txt", "dat", ""};

// A byte pattern no reader writes by accident (0xA5 repeated).
template <class T> void fillWithMarker(T *table) { std::memset(table, 0xA5, sizeof(T) * kCapacity); }

template <class T> bool untouchedFrom(const T *table, int first) {
  T marker;
  std::memset(&marker, 0xA5, sizeof marker);
  for (int i = first < 0 ? 0 : first; i < kCapacity; ++i)
    if (std::memcmp(&table[i], &marker, sizeof marker) != 0)
      return false;
  return true;
}

template <class T>
void readAllWays(const std::string &bare, const std::string &chosen, int count, std::size_t fileSize) {
  T table[kCapacity];
  fillWithMarker(table);
  readOrRefuse([&] { readTxtTable(bare.c_str(), table, count); });
  requireProperty(untouchedFrom(table, count), "readTxtTable wrote past its count");

  fillWithMarker(table);
  readOrRefuse([&] { readBinTable(bare.c_str(), table, count); });
  const int wholeValues = static_cast<int>(fileSize / sizeof(T));
  requireProperty(untouchedFrom(table, count < wholeValues ? count : wholeValues),
                  "readBinTable wrote an element it did not read whole");

  fillWithMarker(table);
  readOrRefuse([&] { readTable(chosen.c_str(), table, count); });
  requireProperty(untouchedFrom(table, count), "readTable wrote past its count");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const int count = takeByte(data, size) % (kCapacity - 2) - 2;
  const char *extension = kExtensions[takeByte(data, size) % (sizeof kExtensions / sizeof *kExtensions)];
  const std::string bare = writeInputFile(data, size, "");
  const std::string chosen = writeInputFile(data, size, extension);
  readAllWays<double>(bare, chosen, count, size);
  readAllWays<int>(bare, chosen, count, size);
  return 0;
}
