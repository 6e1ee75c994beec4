// File routines of the utility unit. Every open goes through openFile, so a
// file that cannot be opened always ends the call through myExit.
#include "utility.h"

#include <cstdio>

FILE *openFile(const char *path, const char *mode) {
  FILE *file = std::fopen(path, mode);
  if (file == nullptr)
    myExitFormatted("Cannot open file %s (line %d of %s)", path, __LINE__, UTILITY_SOURCE_PATH);
  return file;
}
