#include "host_standin.h"
#include "test_support.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

// Pieces of [0, n): consecutive, each step long but the last, none for
// n < 1, and no counter past INT_MAX where n is within a step of it (an int
// counter would wrap there; no memory of that size is touched).
TEST(ColumnMajor, ForEachPieceCoversTheRangeUpToIntMax) {
  const struct {
    int n, step;
    long long pieces;
    int lastCount;
  } cases[] = {{0, 8, 0, 0},          {-3, 8, 0, 0},        {1, 8, 1, 1},
               {8, 8, 1, 8},          {17, 8, 3, 1},        {5, 1, 5, 1},
               {INT_MAX, 1 << 20, 2048, (1 << 20) - 1},      {INT_MAX - 1, 4096, 524288, 4094},
               {INT_MAX, INT_MAX, 1, INT_MAX},               {INT_MAX, INT_MAX - 1, 2, 1}};
  for (const auto &c : cases) {
    long long pieces = 0, next = 0;
    int lastCount = 0;
    bool consecutive = true;
    forEachPiece(c.n, c.step, [&](int first, int count) {
      consecutive = consecutive && first == next && count >= 1 && count <= c.step;
      next = static_cast<long long>(first) + count;
      lastCount = count;
      ++pieces;
    });
    const std::string what = std::to_string(c.n) + " by " + std::to_string(c.step);
    EXPECT_TRUE(consecutive) << what;
    EXPECT_EQ(pieces, c.pieces) << what;
    EXPECT_EQ(lastCount, c.lastCount) << what;
    EXPECT_EQ(next, c.n > 0 ? c.n : 0) << what;
  }
}

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
  EXPECT_EQ(failureMessage([] { matCreate(2, -3, 8); }), "Error in matrixCreate!");
  EXPECT_EQ(fileContent("/tmp/error.log"), "Error: Error in matrixCreate!\n");
}

// Three creations of 128 MB that cannot fit in 64 MB of address space, then
// one of 48 MB, which fits only if the failed ones gave their rows back.
bool failedCreationsReleaseTheirRows() {
  const int rowBytes = 4 << 20;
  return withAddressSpaceLimit(64LL << 20, [&] {
    for (int attempt = 0; attempt < 3; ++attempt) {
      try {
        fisCreateMatrix(32, rowBytes, 1);
        return false;
      } catch (const HostError &error) {
        if (std::string(error.what()) != "Error in fisCreateMatrix!")
          return false;
      }
    }
    void **fits = fisCreateMatrix(12, rowBytes, 1);
    fisFreeMatrix(fits, 12);
    return fits != nullptr;
  });
}

// An exhausted allocator partway through the rows is reported, and loses no
// memory.
TEST(MatrixCreationDeathTest, ExhaustedAllocatorReportsAndReleasesTheRowsMadeSoFar) {
  if (kAddressSanitizer)
    GTEST_SKIP() << "needs an address-space limit";
  EXPECT_EXIT(std::exit(failedCreationsReleaseTheirRows() ? 0 : 1), testing::ExitedWithCode(0),
              "");
}

} // namespace
