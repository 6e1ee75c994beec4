#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

std::string scratchDirectory;

void removeScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(scratchDirectory, ignored);
}

} // namespace

// libFuzzer calls this once before the first input.
extern "C" int LLVMFuzzerInitialize(int * /*argc*/, char *** /*argv*/) {
  // The readers' console text (tags that did not match, the error log's
  // line) would drown libFuzzer's own reports, which go to standard error.
  if (std::freopen("/dev/null", "w", stdout) == nullptr)
    std::abort();
  char pattern[] = "/tmp/ck_fuzz_XXXXXX";
  if (mkdtemp(pattern) == nullptr)
    std::abort();
  scratchDirectory = pattern;
  std::atexit(removeScratchDirectory);
  return 0;
}

std::string writeInputFile(const std::uint8_t *data, std::size_t size, const std::string &extension) {
  const std::string path =
      scratchDirectory + "/input" + (extension.empty() ? "" : "." + extension);
  std::FILE *file = std::fopen(path.c_str(), "wb");
  if (file == nullptr)
    std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size)
    std::abort();
  std::fclose(file);
  return path;
}

void requireProperty(bool holds, const char *what) {
  if (holds)
    return;
  std::fprintf(stderr, "fuzz property violated: %s\n", what);
  std::abort();
}

std::uint8_t takeByte(const std::uint8_t *&data, std::size_t &size) {
  if (size == 0)
    return 0;
  const std::uint8_t byte = data[0];
  ++data;
  --size;
  return byte;
}
