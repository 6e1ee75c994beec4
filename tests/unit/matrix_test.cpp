#include "host_standin.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/resource.h>

namespace {

TEST(FisCreateMatrix, GivesZeroFilledRowsIndexableByRowAndColumn) {
  double **m = reinterpret_cast<double **>(fisCreateMatrix(3, 2, 8));
  ASSERT_NE(m, nullptr);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 2; ++j)
      EXPECT_EQ(m[i][j], 0.0);
  m[2][1] = 5.0;
  m[0][0] = 1.0;
  EXPECT_EQ(m[2][1], 5.0);
  EXPECT_EQ(m[1][1], 0.0);
  fisFreeMatrix(reinterpret_cast<void **>(m), 3);
}

TEST(FisCreateMatrix, EmptySizesGiveNullOrAValidEmptyMatrix) {
  EXPECT_EQ(fisCreateMatrix(0, 0, 8), nullptr);
  EXPECT_EQ(matCreate(0, 0, 8), nullptr);
  fisFreeMatrix(nullptr, 7);

  void **noRows = fisCreateMatrix(0, 4, 8);
  ASSERT_NE(noRows, nullptr);
  fisFreeMatrix(noRows, 0); // only the pointer array

  void **emptyRows = matCreate(3, 0, 8);
  ASSERT_NE(emptyRows, nullptr);
  for (int i = 0; i < 3; ++i)
    EXPECT_NE(emptyRows[i], nullptr);
  fisFreeMatrix(emptyRows, 3);
}

TEST(MatrixCreation, FailuresTakeEachCreatorsOwnPath) {
  try {
    fisCreateMatrix(-1, 2, 8);
    FAIL() << "no failure";
  } catch (const HostError &error) {
    EXPECT_STREQ(error.what(), "Error in fisCreateMatrix!");
  }
  testing::internal::CaptureStdout();
  try {
    matCreate(2, -3, 8);
    FAIL() << "no failure";
  } catch (const LibraryFailure &failure) {
    EXPECT_STREQ(failure.what(), "Error in matrixCreate!");
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nSaved error log at /tmp/error.log...\n");
  std::ifstream log("/tmp/error.log");
  std::string line;
  std::getline(log, line);
  EXPECT_EQ(line, "Error: Error in matrixCreate!");
}

// Address space in use by this process, from /proc/self/statm.
long long addressSpaceInUse() {
  std::ifstream statm("/proc/self/statm");
  long long pages = 0;
  statm >> pages;
  return pages * 4096;
}

// Runs body with the address space limited to what is in use plus extra
// bytes, so that allocations beyond that fail; the limit is lifted after.
template <class Body> bool withAddressSpaceLimit(long long extra, Body body) {
  rlimit saved{};
  getrlimit(RLIMIT_AS, &saved);
  rlimit limited = saved;
  limited.rlim_cur = static_cast<rlim_t>(addressSpaceInUse() + extra);
  if (setrlimit(RLIMIT_AS, &limited) != 0)
    return false;
  const bool ok = body();
  setrlimit(RLIMIT_AS, &saved);
  return ok;
}

// An exhausted allocator partway through the rows: the failure is reported,
// and the rows built before it are given back (the same space is available
// again right after).
TEST(MatrixCreationDeathTest, ExhaustedAllocatorReportsAndReleasesTheRowsMadeSoFar) {
  EXPECT_EXIT(
      {
        const int rowBytes = 4 << 20;
        const bool ok = withAddressSpaceLimit(64LL << 20, [&] {
          for (int attempt = 0; attempt < 3; ++attempt) {
            try {
              fisCreateMatrix(32, rowBytes, 1); // 128 MB: cannot fit
              return false;
            } catch (const HostError &error) {
              if (std::string(error.what()) != "Error in fisCreateMatrix!")
                return false;
            }
          }
          void **fits = fisCreateMatrix(12, rowBytes, 1); // 48 MB: fits when freed
          fisFreeMatrix(fits, 12);
          return fits != nullptr;
        });
        std::exit(ok ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

} // namespace
