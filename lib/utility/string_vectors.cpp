// Vectors of strings and of integers: joining, printing, linear and binary
// search, and the paths through a lattice of alternatives.
#include "string_vectors.h"

#include "failure.h"
#include "files.h"
#include "host_interface.h"

#include <cstdio>
#include <cstring>
#include <iostream>

namespace {

constexpr int kNumberBufferSize = 1000;

// Which comparison a binary-search probe makes.
enum class ProbeMatch { whole, prefix };

int compareProbe(const std::string &key, const std::string &element, ProbeMatch match) {
  if (match == ProbeMatch::whole)
    return std::strcmp(key.c_str(), element.c_str());
  // An element shorter than the key is compared whole: strncmp stops at its
  // terminator.
  return std::strncmp(key.c_str(), element.c_str(), std::strlen(key.c_str()));
}

// Binary search of vec[lo .. hi] (inclusive); returns the first probe that
// compares equal, or -1. Bounds outside the vector are narrowed to it.
int binarySearch(const std::vector<std::string> &vec, int lo, int hi, const std::string &key,
                 ProbeMatch match) {
  if (lo < 0)
    lo = 0;
  if (hi > static_cast<int>(vec.size()) - 1)
    hi = static_cast<int>(vec.size()) - 1;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    const int order = compareProbe(key, vec[static_cast<std::size_t>(mid)], match);
    if (order == 0)
      return mid;
    if (order < 0)
      hi = mid - 1;
    else
      lo = mid + 1;
  }
  return -1;
}

// Whether an element whose first occurrence of key is at position `at`
// matches under matchPos (0 to 3); any other matchPos fails.
bool matchesAt(const std::string &element, const std::string &key, std::size_t at, int matchPos) {
  switch (matchPos) {
  case 0:
    return true;
  case 1:
    return at == 0;
  case 2:
    return at + key.size() == element.size();
  case 3:
    return at == 0 && element.size() == key.size();
  default:
    myExitFormatted("Unknown matchPos in strVecLinSearch (line %d of %s)", __LINE__,
                    UTILITY_SOURCE_PATH);
  }
}

} // namespace

void strVecJoin(std::vector<std::string> vec, const char *separator, std::string &out) {
  out.clear();
  for (std::size_t i = 0; i < vec.size(); ++i) {
    if (i > 0)
      out += separator;
    out += vec[i];
  }
}

void intVecJoin(std::vector<int> vec, const char *separator, std::string &out) {
  std::vector<std::string> numbers;
  numbers.reserve(vec.size());
  char number[kNumberBufferSize];
  for (int value : vec) {
    std::snprintf(number, sizeof number, "%d", value);
    numbers.emplace_back(number);
  }
  strVecJoin(numbers, separator, out);
}

void strVecRemoveEmptyElement(std::vector<std::string> &vec) {
  std::vector<std::string> kept;
  for (std::string &element : vec)
    if (!element.empty())
      kept.push_back(std::move(element));
  vec.swap(kept);
}

void strVecPrint(std::vector<std::string> vec, const char *name, const char *outFile) {
  if (outFile != nullptr && outFile[0] != '\0') {
    fileWrite(outFile, vec);
    return;
  }
  // A null name prints as empty text instead of being read.
  const char *shownName = name != nullptr ? name : "";
  if (vec.empty()) {
    mexPrintf("%s has zero element!\n", shownName);
    return;
  }
  for (std::size_t i = 0; i < vec.size(); ++i)
    std::cout << shownName << "[" << i << "] = " << vec[i] << std::endl;
}

void strVecLinSearch(const std::vector<std::string> &vec, std::string key, std::vector<int> &index,
                     int matchPos) {
  index.clear();
  for (std::size_t i = 0; i < vec.size(); ++i) {
    const std::size_t at = vec[i].find(key);
    if (at != std::string::npos && matchesAt(vec[i], key, at, matchPos))
      index.push_back(static_cast<int>(i));
  }
}

int strVecLinSearchFirstMatch(const std::vector<std::string> &vec, std::string key) {
  for (std::size_t i = 0; i < vec.size(); ++i)
    if (vec[i].find(key) != std::string::npos)
      return static_cast<int>(i);
  return -1;
}

void strVecBinSearch(const std::vector<std::string> &vec, std::string key, std::vector<int> &index,
                     int prefixMatch) {
  index.clear();
  if (vec.empty())
    return;
  const int last = static_cast<int>(vec.size()) - 1;
  const int found = prefixMatch != 0 ? strVecBinSearchSub1(vec, 0, last, key)
                                     : strVecBinSearchSub0(vec, 0, last, key);
  if (found >= 0)
    index.push_back(found);
}

int strVecBinSearchSub0(const std::vector<std::string> &vec, int lo, int hi,
                        const std::string &key) {
  return binarySearch(vec, lo, hi, key, ProbeMatch::whole);
}

int strVecBinSearchSub1(const std::vector<std::string> &vec, int lo, int hi,
                        const std::string &key) {
  return binarySearch(vec, lo, hi, key, ProbeMatch::prefix);
}

void getAllLatticePath(std::vector<std::vector<std::string>> lattice,
                       std::vector<std::string> &paths) {
  paths.clear();
  if (lattice.empty())
    return;
  paths = lattice[0];
  for (std::size_t c = 1; c < lattice.size(); ++c) {
    const std::vector<std::string> &column = lattice[c];
    // A column without alternatives leaves no complete path.
    if (column.empty()) {
      paths.clear();
      return;
    }
    // k blocks of the paths so far; block b takes alternative b.
    const std::size_t blockSize = paths.size();
    const std::vector<std::string> previous = paths;
    for (std::size_t copy = 1; copy < column.size(); ++copy)
      paths.insert(paths.end(), previous.begin(), previous.end());
    for (std::size_t b = 0; b < column.size(); ++b)
      for (std::size_t p = 0; p < blockSize; ++p)
        paths[b * blockSize + p] += "-" + column[b];
  }
}
