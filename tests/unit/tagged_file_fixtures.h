// Fixtures for the tests of the tagged text files: temporary files and a
// runner that turns a library failure into its message and console text.
#ifndef CLUSTERKIT_TAGGED_FILE_FIXTURES_H
#define CLUSTERKIT_TAGGED_FILE_FIXTURES_H

#include "utility.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

/// What myExit prints after the reader's own lines.
constexpr const char *kSavedErrorLog = "\nSaved error log at /tmp/error.log...\n";

inline void writeFile(const std::string &path, const std::string &text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

/// A file in /tmp holding text, removed at the end of the test.
class TempFile {
public:
  explicit TempFile(const std::string &text) {
    char path[] = "/tmp/ck_tagged_XXXXXX";
    const int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    close(fd);
    path_ = path;
    writeFile(path_, text);
  }
  ~TempFile() { std::remove(path_.c_str()); }
  TempFile(const TempFile &) = delete;
  TempFile &operator=(const TempFile &) = delete;
  const char *path() const { return path_.c_str(); }

private:
  std::string path_;
};

/// An empty directory in /tmp, removed at the end of the test.
class TempDir {
public:
  TempDir() {
    char path[] = "/tmp/ck_dir_XXXXXX";
    EXPECT_NE(mkdtemp(path), nullptr);
    path_ = path;
  }
  ~TempDir() { rmdir(path_.c_str()); }
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;
  const std::string &path() const { return path_; }

private:
  std::string path_;
};

/// text with each (from, to) applied to the first occurrence of from.
inline std::string withReplacements(std::string text,
                                    const std::vector<std::pair<std::string, std::string>> &edits) {
  for (const auto &edit : edits) {
    const std::size_t at = text.find(edit.first);
    EXPECT_NE(at, std::string::npos) << edit.first;
    if (at != std::string::npos)
      text.replace(at, edit.first.size(), edit.second);
  }
  return text;
}

struct LibraryOutcome {
  bool failed = false;
  std::string message; ///< the LibraryFailure's text
  std::string printed; ///< everything printed on the console meanwhile
};

/// Runs body, catching a LibraryFailure, with the console captured.
template <class Body> LibraryOutcome runLibrary(Body body) {
  LibraryOutcome outcome;
  testing::internal::CaptureStdout();
  try {
    body();
  } catch (const LibraryFailure &failure) {
    outcome.failed = true;
    outcome.message = failure.what();
  }
  outcome.printed = testing::internal::GetCapturedStdout();
  return outcome;
}

#endif // CLUSTERKIT_TAGGED_FILE_FIXTURES_H
