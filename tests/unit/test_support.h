// Helpers shared by the library tests: a temporary directory for the files a
// test writes, and the message of a library failure.
#ifndef CLUSTERKIT_TEST_SUPPORT_H
#define CLUSTERKIT_TEST_SUPPORT_H

#include "utility.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <sys/resource.h>

/// A fresh directory under /tmp, removed with everything in it at the end.
class TempDir {
public:
  TempDir() {
    char pattern[] = "/tmp/ck_test_XXXXXX";
    if (mkdtemp(pattern) == nullptr)
      throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;

  /// Path of name inside the directory.
  std::string file(const std::string &name) const { return path_ + "/" + name; }

  /// Writes bytes to name (binary, replacing it) and returns its path.
  std::string write(const std::string &name, const std::string &bytes) const {
    const std::string path = file(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

private:
  std::string path_;
};

/// The whole content of a file ("" when it cannot be read).
inline std::string fileContent(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// Runs fn, which must fail through myExit; returns the failure's message
/// ("" when fn returned). The console line of myExit is swallowed.
template <class Fn> std::string failureMessage(Fn fn) {
  testing::internal::CaptureStdout();
  std::string message;
  try {
    fn();
    ADD_FAILURE() << "no library failure";
  } catch (const LibraryFailure &failure) {
    message = failure.what();
  }
  testing::internal::GetCapturedStdout();
  return message;
}

/// True when message is text followed by " (line <n> of lib/utility/utility)".
inline bool isLocatedMessage(const std::string &message, const std::string &text) {
  const std::string head = text + " (line ";
  const std::string tail = " of lib/utility/utility)";
  if (message.compare(0, head.size(), head) != 0 || message.size() < head.size() + tail.size())
    return false;
  const std::string line = message.substr(head.size(), message.size() - head.size() - tail.size());
  return !line.empty() && line.find_first_not_of("0123456789") == std::string::npos &&
         message.compare(message.size() - tail.size(), tail.size(), tail) == 0;
}

/// True in a build with the address sanitizer: its shadow memory does not
/// fit under an address-space limit, so the tests that set one are skipped.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

/// Runs body (returning bool) with the address space limited to what the
/// process uses now plus extraBytes, so that allocations beyond that fail;
/// the limit is lifted afterwards. Meant for death-test children, whose
/// memory the rest of the run does not share. False when no limit can be set.
template <class Body> bool withAddressSpaceLimit(long long extraBytes, Body body) {
  std::ifstream statm("/proc/self/statm");
  long long pages = 0;
  statm >> pages;
  rlimit saved{};
  if (pages <= 0 || getrlimit(RLIMIT_AS, &saved) != 0)
    return false;
  rlimit limited = saved;
  limited.rlim_cur = static_cast<rlim_t>(pages * 4096 + extraBytes);
  if (setrlimit(RLIMIT_AS, &limited) != 0)
    return false;
  const bool result = body();
  setrlimit(RLIMIT_AS, &saved);
  return result;
}

#endif // CLUSTERKIT_TEST_SUPPORT_H
