#include "numeric_oracles.h"
#include "test_support.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// Compaction written out as described: each -1 takes the first later entry.
void literalPack(std::vector<double> &v) {
  const int n = static_cast<int>(v.size());
  for (int j = 0; j + 1 < n; ++j) {
    if (v[j] != -1.0)
      continue;
    for (int i = j + 1; i < n; ++i) {
      if (v[i] != -1.0) {
        v[j] = v[i];
        v[i] = -1.0;
        break;
      }
    }
  }
}

TEST(VectorArithmetic, MinusMeanAndMin) {
  double a[] = {5, 7, 9}, b[] = {1, 2, 3}, out[3];
  vecMinus(a, b, 3, out);
  EXPECT_EQ(std::vector<double>(out, out + 3), (std::vector<double>{4, 5, 6}));
  vecMinus(a, 1, 3, a); // in place, int scalar
  EXPECT_EQ(std::vector<double>(a, a + 3), (std::vector<double>{4, 6, 8}));
  EXPECT_EQ(vecMean(a, 3), 6.0);
  EXPECT_TRUE(std::isnan(vecMean(a, 0)));

  double v[] = {2, 1, 1};
  int index = -1;
  EXPECT_EQ(vecMin(v, 3, index), 1.0);
  EXPECT_EQ(index, 1); // ties keep the first
  EXPECT_EQ(vecMin(v, 0, index), 2.0);
  EXPECT_EQ(index, 0);
}

TEST(Rounding, HalvesGoAwayFromZero) {
  EXPECT_EQ(myRound(2.5), 3);
  EXPECT_EQ(myRound(-2.5), -3);
  EXPECT_EQ(myRound(2.49), 2);
  EXPECT_EQ(myRound(0.0), 0);
  EXPECT_EQ(myRound(2.5f), 3);
  EXPECT_EQ(myRound(-0.5f), -1);
  EXPECT_EQ(intDiv(-7, 2), -4);
  EXPECT_EQ(intDiv(7, 2), 4);
  EXPECT_EQ(intDiv(6, 4), 2);
  EXPECT_EQ(intDiv(0, 4), 0);
  double src[] = {1.5, -1.5, 0.4};
  int ints[3];
  int2doubleVec(ints, 0, src); // n of 0 touches nothing
  double2intVec(src, 3, ints);
  EXPECT_EQ(std::vector<int>(ints, ints + 3), (std::vector<int>{2, -2, 0}));
  double back[3];
  int2doubleVec(ints, 3, back);
  EXPECT_EQ(std::vector<double>(back, back + 3), (std::vector<double>{2, -2, 0}));
}

TEST(SortComparators, AscendingWithNanDifferencesAsGreater) {
  std::vector<double> d = {3, -1, 2, 0.5};
  std::qsort(d.data(), d.size(), sizeof(double), sortFunction);
  EXPECT_EQ(d, (std::vector<double>{-1, 0.5, 2, 3}));
  std::vector<float> f = {3, -1, 2};
  std::qsort(f.data(), f.size(), sizeof(float), floatSortFunction);
  EXPECT_EQ(f, (std::vector<float>{-1, 2, 3}));
  std::vector<int> i = {3, -1, 2, std::numeric_limits<int>::min()};
  std::qsort(i.data(), i.size(), sizeof(int), intSortFunction);
  EXPECT_EQ(i, (std::vector<int>{std::numeric_limits<int>::min(), -1, 2, 3}));

  const double nan = std::nan(""), one = 1;
  EXPECT_EQ(doubleSortFunction(&nan, &one), 1);
  EXPECT_EQ(doubleSortFunction(&one, &nan), 1);
  EXPECT_EQ(doubleSortFunction(&one, &one), 0);
}

TEST(VecMedian, SmallCasesAndInputUnchanged) {
  double odd[] = {3, 1, 2};
  EXPECT_EQ(vecMedian(odd, 3), 2.0);
  EXPECT_EQ(std::vector<double>(odd, odd + 3), (std::vector<double>{3, 1, 2}));
  double even[] = {4, 1, 3, 2};
  EXPECT_EQ(vecMedian(even, 4), 2.5);
  double one[] = {5};
  EXPECT_EQ(vecMedian(one, 1), 5.0);
  double two[] = {9, 1};
  EXPECT_EQ(vecMedian(two, 2), 5.0);
  EXPECT_TRUE(std::isnan(vecMedian(one, 0)));
}

TEST(VecMedian, MatchesTheSortedOrderStatisticsOnRandomData) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> small(0, 6); // many ties
  std::normal_distribution<double> normal;
  for (int trial = 0; trial < 300; ++trial) {
    const int n = 1 + trial % 23;
    std::vector<double> v(n);
    for (double &x : v)
      x = trial % 2 ? small(rng) : normal(rng);
    EXPECT_EQ(vecMedian(v.data(), n), sortedMedian(v)) << "trial " << trial;
  }
}

TEST(Split4vecMedian, PartitionsAroundTheFirstElement) {
  double v[] = {9, 5, 3, 8, 5, 4, 7};
  int pivot = -1;
  split4vecMedian(v, 1, 5, &pivot); // pivot value 5, range 5 3 8 5 4
  EXPECT_EQ(pivot, 3);
  EXPECT_EQ(std::vector<double>(v, v + 7), (std::vector<double>{9, 4, 3, 5, 5, 8, 7}));
}

TEST(VecMedianByCounting, ResultsAndOutOfRangeReport) {
  int hist[8];
  const int a[] = {0, 2}, b[] = {2, 2}, c[] = {1, 1, 3, 3}, d[] = {1, 3, 5};
  EXPECT_EQ(vecMedianByCounting(a, 2, hist, 8), 1);
  EXPECT_EQ(vecMedianByCounting(b, 2, hist, 8), 2);
  EXPECT_EQ(vecMedianByCounting(c, 4, hist, 8), 3);
  EXPECT_EQ(vecMedianByCounting(d, 3, hist, 8), 3);
  EXPECT_EQ(hist[1] + hist[3] + hist[5], 3);

  const int wild[] = {1, 9, -2, 1, 1};
  testing::internal::CaptureStdout();
  EXPECT_EQ(vecMedianByCounting(wild, 5, hist, 8), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Out of bound!\nvec[1]=9, histVecLen=8\nOut of bound!\nvec[2]=-2, histVecLen=8\n");

  // Nothing counted, or too few in range to reach the middle: -1.
  EXPECT_EQ(vecMedianByCounting(a, 0, hist, 8), -1);
  const int mostlyOut[] = {1, 20, 30};
  testing::internal::CaptureStdout();
  EXPECT_EQ(vecMedianByCounting(mostlyOut, 3, hist, 8), -1);
  testing::internal::GetCapturedStdout();
}

TEST(VecResample, KeepsEndPointsAndInterpolates) {
  std::vector<double> src = {0, 10, 20}, dst(5);
  vecResample(src.data(), 3, dst.data(), 5);
  EXPECT_EQ(dst, (std::vector<double>{0, 5, 10, 15, 20}));
  vecResample(src.data(), 3, dst.data(), 2);
  EXPECT_EQ(dst[0], 0);
  EXPECT_EQ(dst[1], 20);
  vecResample(src.data(), 3, dst.data(), 1);
  EXPECT_EQ(dst[0], 20); // the last end point wins
  vecResample(src.data(), 3, dst.data(), 3);
  EXPECT_EQ(std::vector<double>(dst.begin(), dst.begin() + 3), src);

  // A single source element fills the output without reading past it.
  double single[] = {7};
  vecResample(single, 1, dst.data(), 4);
  EXPECT_EQ(std::vector<double>(dst.begin(), dst.begin() + 4), (std::vector<double>(4, 7)));
  // Empty lengths write nothing.
  std::vector<double> untouched(2, -3);
  vecResample(src.data(), 3, untouched.data() + 1, 0);
  vecResample(src.data(), 0, untouched.data(), 2);
  EXPECT_EQ(untouched, (std::vector<double>(2, -3)));
}

TEST(VecResample, MatchesTheLiteralArithmeticOnRandomData) {
  std::mt19937 rng(5);
  std::normal_distribution<double> normal;
  for (int srcLen = 2; srcLen < 30; srcLen += 3) {
    std::vector<double> src(srcLen);
    for (double &x : src)
      x = normal(rng);
    for (int dstLen = 1; dstLen < 40; dstLen += 4) {
      std::vector<double> dst(dstLen);
      vecResample(src.data(), srcLen, dst.data(), dstLen);
      EXPECT_TRUE(sameBits(dst, literalResample(src, dstLen))) << srcLen << " -> " << dstLen;
    }
  }
}

TEST(VecResample, LongVectorsDoNotOverflowThePositionProduct) {
  const int srcLen = 60000, dstLen = 50000; // i * (srcLen-1) passes 2^31
  std::vector<double> ramp(srcLen);
  for (int k = 0; k < srcLen; ++k)
    ramp[k] = k;
  std::vector<double> dst(dstLen);
  vecResample(ramp.data(), srcLen, dst.data(), dstLen);
  for (int i = 0; i < dstLen; i += 997)
    EXPECT_NEAR(dst[i], static_cast<double>(i) * (srcLen - 1) / (dstLen - 1), 1e-6) << i;
}

TEST(VecResampleInt, FixedPointFractionsAndLongVectors) {
  int src[] = {0, 128}, dst[5];
  vecResampleInt(src, 2, dst, 3);
  EXPECT_EQ(std::vector<int>(dst, dst + 3), (std::vector<int>{0, 64, 128}));
  int down[] = {0, 100, -100, 7};
  vecResampleInt(down, 4, dst, 5); // fractions of 3/4 rounded to 96/128
  EXPECT_EQ(std::vector<int>(dst, dst + 5), (std::vector<int>{0, 75, 0, -73, 7}));
  int one[] = {-9};
  vecResampleInt(one, 1, dst, 3);
  EXPECT_EQ(std::vector<int>(dst, dst + 3), (std::vector<int>(3, -9)));

  // i * (srcLen-1) * 128 far beyond 32 bits; values large enough that
  // 128 * value overflows an int too.
  const int srcLen = 40000, dstLen = 30000;
  std::vector<int> ramp(srcLen);
  for (int k = 0; k < srcLen; ++k)
    ramp[k] = k * 1000;
  std::vector<int> out(dstLen);
  vecResampleInt(ramp.data(), srcLen, out.data(), dstLen);
  for (int i = 0; i < dstLen; i += 991)
    EXPECT_NEAR(out[i], 1000.0 * i * (srcLen - 1) / (dstLen - 1), 1000.0 / 128 + 1) << i;
  EXPECT_EQ(out[dstLen - 1], ramp[srcLen - 1]);
}

TEST(RangeSearch, PositionsAndTableLookup) {
  int table[] = {10, 20, 30};
  EXPECT_EQ(rangeSearchBin(table, 3, 5), 0);
  EXPECT_EQ(rangeSearchBin(table, 3, 10), 1);
  EXPECT_EQ(rangeSearchBin(table, 3, 25), 2);
  EXPECT_EQ(rangeSearchBin(table, 3, 30), 3);
  EXPECT_EQ(rangeSearchBin(table, 3, 99), 3);
  EXPECT_EQ(rangeSearchBin(table, 0, 99), 0);
  EXPECT_EQ(rangeSearchBinSub(25, table, 1, 2), 2);
  EXPECT_EQ(tableLookupByRangeSearch(table, 3, 25, 100, 0), 102);
  EXPECT_EQ(tableLookupByRangeSearch(table, 3, 25, 100, 1), 101);
  EXPECT_EQ(tableLookupByRangeSearch(table, 3, 5, 0, 7), 3);

  // Distinct sorted tables: the count of entries not greater than the value.
  std::mt19937 rng(3);
  for (int n = 1; n < 40; ++n) {
    std::vector<int> sorted(n);
    int next = -50;
    for (int &x : sorted)
      x = next += 1 + static_cast<int>(rng() % 5);
    for (int value = -55; value < next + 5; ++value) {
      const int expected =
          static_cast<int>(std::upper_bound(sorted.begin(), sorted.end(), value) - sorted.begin());
      ASSERT_EQ(rangeSearchBin(sorted.data(), n, value), expected) << n << " " << value;
    }
  }
}

TEST(TableLookupByDirectMapping, InterpolatesAndClampsToTheEnds) {
  double table[] = {0, 10, 20};
  EXPECT_EQ(tableLookupByDirectMapping(table, 3, 0.25, 0, 2, 1), 2.5);
  EXPECT_EQ(tableLookupByDirectMapping(table, 3, 1, 0, 2, 1), 10);
  EXPECT_EQ(tableLookupByDirectMapping(table, 3, -1, 0, 2, 1), 0);
  EXPECT_EQ(tableLookupByDirectMapping(table, 3, 5, 0, 2, 1), 20);
  EXPECT_TRUE(std::isnan(tableLookupByDirectMapping(table, 3, std::nan(""), 0, 2, 1)));
}

TEST(TableLookupByDirectMapping, NeverReadsPastTheTable) {
  // Guard entries after the table: a read past it would show up as 1e9.
  double guarded[] = {0, 10, 20, 1e9, 1e9};
  // x just below xMax, where (x - xMin) / step rounds up onto entry n-1.
  const double x = std::nextafter(1.0, 0.0);
  ASSERT_GE((x - 0.3) / 0.35, 2.0);
  EXPECT_NEAR(tableLookupByDirectMapping(guarded, 3, x, 0.3, 1.0, 0.35), 20, 1e-9);
  // A range wider than the table uses its last interval.
  EXPECT_EQ(tableLookupByDirectMapping(guarded, 3, 2.5, 0, 10, 1), 25);
  // A step of 0 gives no usable position but must not crash.
  tableLookupByDirectMapping(guarded, 3, 0.5, 0, 2, 0);
  EXPECT_EQ(tableLookupByDirectMapping(guarded, 1, 0.5, 0, 2, 1), 0);
}

TEST(PackCharIndex, CompactsInOrderLikeTheEntryByEntryMoves) {
  std::vector<double> v = {-1, 3, -1, 4};
  packCharIndex(v.data(), 4);
  EXPECT_EQ(v, (std::vector<double>{3, 4, -1, -1}));

  std::mt19937 rng(9);
  for (int trial = 0; trial < 200; ++trial) {
    std::vector<double> data(trial % 17);
    for (double &x : data) {
      const unsigned r = rng() % 4;
      x = r == 0 ? std::nan("") : r == 1 ? static_cast<double>(rng() % 9) : -1.0;
    }
    std::vector<double> expected = data;
    literalPack(expected);
    packCharIndex(data.data(), static_cast<int>(data.size()));
    EXPECT_TRUE(sameBits(data, expected)) << "trial " << trial;
  }
}

TEST(ReplaceZeroWithPrevOne, FillsRunsAndRefusesALeadingZero) {
  std::vector<double> v = {5, 0, 0, 7, 0};
  replaceZeroWithPrevOne(v.data(), 5);
  EXPECT_EQ(v, (std::vector<double>{5, 5, 5, 7, 7}));
  replaceZeroWithPrevOne(nullptr, 0); // nothing to read

  double bad[] = {0, 1};
  EXPECT_TRUE(isLocatedMessage(failureMessage([&] { replaceZeroWithPrevOne(bad, 2); }),
                               "Wrong vector format"));
  EXPECT_EQ(bad[1], 1.0);
}

} // namespace
