#include "utility.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string readFile(const char *path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(MyExit, LogsOneLineSaysWhereAndThrowsACopyOfTheMessage) {
  char message[] = "disk on fire";
  testing::internal::CaptureStdout();
  try {
    myExit(message);
    FAIL() << "myExit returned";
  } catch (const LibraryFailure &failure) {
    message[0] = 'X'; // the exception must not point into the caller's buffer
    EXPECT_STREQ(failure.what(), "disk on fire");
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nSaved error log at /tmp/error.log...\n");
  EXPECT_EQ(readFile("/tmp/error.log"), "Error: disk on fire\n");

  // A second failure replaces the log.
  testing::internal::CaptureStdout();
  EXPECT_THROW(showErrorMsg("second"), LibraryFailure);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(readFile("/tmp/error.log"), "Error: second\n");
}

TEST(MyExitFormatted, CutsTheMessageToItsThousandCharacterBuffer) {
  const std::string longText(1500, 'a');
  testing::internal::CaptureStdout();
  try {
    myExitFormatted("%s (line %d of %s)", longText.c_str(), 12, UTILITY_SOURCE_PATH);
  } catch (const LibraryFailure &failure) {
    EXPECT_EQ(std::string(failure.what()), std::string(999, 'a'));
  }
  testing::internal::GetCapturedStdout();
}

TEST(Console, MyPrintfPrintsNothing) {
  testing::internal::CaptureStdout();
  myPrintf("%d %s\n", 3, "text");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(Console, TempDirIsFixed) {
  char dir[5];
  getTempDir(dir);
  EXPECT_STREQ(dir, "/tmp");
}

TEST(Console, SleepOfZeroOrLessReturnsAtOnceAndAPositiveOneWaits) {
  const std::clock_t start = std::clock();
  sleep(0.0f);
  sleep(-5.0f);
  EXPECT_LT(std::clock() - start, CLOCKS_PER_SEC / 10);
  const std::clock_t before = std::clock();
  sleep(0.02f);
  EXPECT_GE(std::clock() - before, static_cast<std::clock_t>(20000));
}

// Runs fn with standard input read from a file holding text.
template <class Fn> void withStdin(const std::string &text, Fn fn) {
  char path[] = "/tmp/ck_stdin_XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(fd);
  ASSERT_NE(std::freopen(path, "r", stdin), nullptr);
  fn();
  std::remove(path);
}

TEST(Console, MyGetsReadsAtMost255CharactersAndFailsAtEndOfInput) {
  withStdin(std::string(300, 'x') + "\nshort\n", [] {
    char buf[256];
    myGets(buf);
    EXPECT_EQ(std::string(buf), std::string(255, 'x'));
    myGets(buf);
    EXPECT_EQ(std::string(buf), std::string(45, 'x') + "\n");
    myGets(buf);
    EXPECT_STREQ(buf, "short\n");
    testing::internal::CaptureStdout();
    try {
      myGets(buf);
      ADD_FAILURE() << "no failure at end of input";
    } catch (const LibraryFailure &failure) {
      EXPECT_EQ(std::string(failure.what()).rfind("Error reading string (line ", 0), 0u);
      EXPECT_NE(std::string(failure.what()).find(" of lib/utility/utility)"), std::string::npos);
    }
    testing::internal::GetCapturedStdout();
  });
}

TEST(Console, PauseForInputPromptsAndReturnsOneCharacter) {
  withStdin("yes\n", [] {
    testing::internal::CaptureStdout();
    EXPECT_EQ(pauseForInput(), 'y');
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Hit RETURN to continue ...\n");
  });
  withStdin("", [] {
    testing::internal::CaptureStdout();
    EXPECT_EQ(pauseForInput(), EOF);
    testing::internal::GetCapturedStdout();
  });
}

} // namespace
