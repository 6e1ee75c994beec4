#include "integer_power.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace {

// Compares every entry of the row with the library's pow; returns the number
// of mismatches and reports the first few.
int rowMismatches(double x, int order) {
  std::vector<double> row(order + 1);
  fillPowerRow(x, order, row.data());
  int mismatches = 0;
  for (int j = 0; j <= order; ++j) {
    const double expected = libraryPower(x, order - j);
    if (bitsOf(row[j]) != bitsOf(expected) && ++mismatches <= 3)
      ADD_FAILURE() << std::hexfloat << "pow(" << x << ", " << order - j << "): " << row[j]
                    << " instead of " << expected;
  }
  return mismatches;
}

// Odd whole numbers whose k-th power has 54 significant bits, so that it lies
// exactly halfway between two doubles, and their neighbours.
std::vector<double> midpointBases(int k, int count, std::mt19937_64 &rng) {
  const double low = std::ceil(std::pow(2.0, 53.0 / k)), high = std::floor(std::pow(2.0, 54.0 / k));
  std::uniform_int_distribution<std::int64_t> pick(static_cast<std::int64_t>(low),
                                                   static_cast<std::int64_t>(high) - 1);
  std::vector<double> bases;
  for (int i = 0; i < count; ++i) {
    const double odd = static_cast<double>(pick(rng) | 1);
    bases.push_back(odd);
    bases.push_back(std::nextafter(odd, 0.0));
  }
  return bases;
}

TEST(IntegerPower, RowsEqualTheLibraryOnMillionsOfValues) {
  std::mt19937_64 rng(17);
  std::uniform_real_distribution<double> unit(-2.0, 2.0);
  std::uniform_int_distribution<int> exponent(-80, 80);
  struct Source {
    const char *name;
    int order, count;
    std::function<double()> draw;
  };
  const Source sources[] = {
      {"uniform in [-2, 2]", 3, 1500000, [&] { return unit(rng); }},
      {"uniform, higher orders", 12, 120000, [&] { return unit(rng); }},
      {"wide binades", 7, 200000, [&] { return std::ldexp(unit(rng), exponent(rng)); }},
      {"any bit pattern", 5, 200000, [&] { return doubleOf(rng()); }},
      {"whole numbers and halves", 6, 100000,
       [&] {
         const int whole = static_cast<int>(rng() % 20001) - 10000;
         return static_cast<double>(whole) / static_cast<double>(1 + rng() % 2);
       }},
      {"large exponents", 150, 3000, [&] { return 1.0 + unit(rng) / 16; }},
  };
  for (const Source &source : sources) {
    SCOPED_TRACE(source.name);
    int mismatches = 0;
    for (int i = 0; i < source.count && mismatches == 0; ++i)
      mismatches += rowMismatches(source.draw(), source.order);
    EXPECT_EQ(mismatches, 0);
  }
}

TEST(IntegerPower, SpecialValuesEqualTheLibrary) {
  const double inf = std::numeric_limits<double>::infinity();
  const double special[] = {0.0, -0.0, inf, -inf, std::numeric_limits<double>::quiet_NaN(),
                            -std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::signaling_NaN(),
                            doubleOf(0x7FF8000000000123ULL), doubleOf(0xFFF0000000000001ULL),
                            std::numeric_limits<double>::denorm_min(), -0x1p-1030, DBL_MIN,
                            -DBL_MAX, 0x1p-60, -0x1p-60, std::nextafter(0x1p-60, 0.0), 0x1p61,
                            std::nextafter(0x1p61, 0.0), -std::nextafter(0x1p61, 0.0),
                            std::nextafter(0x1p-900, 1.0), 1.0, -1.0, 2.0, 0.5, -0.25, 3.0,
                            std::nextafter(1.0, 2.0), std::nextafter(1.0, 0.0), 0x1.6a09e667f3bcdp0,
                            1e15, -1e-15, 1e150, 1e-150};
  for (double x : special)
    for (int order : {0, 1, 2, 3, 4, 9, 16})
      EXPECT_EQ(rowMismatches(x, order), 0) << std::hexfloat << "x " << x << " order " << order;
}

// Exact midpoints and their neighbours cannot be decided from the error
// bound: the row must ask the library for them, and still equal it.
TEST(IntegerPower, PowersNextToARoundingMidpointFallBackToTheLibrary) {
  std::mt19937_64 rng(23);
  for (int k : {2, 3, 4, 5}) {
    SCOPED_TRACE(testing::Message() << "power " << k);
    int rejected = 0, mismatches = 0;
    for (double base : midpointBases(k, 2000, rng))
      for (double x : {base, -base, base * 0x1p-40, base * 0x1p20}) {
        std::vector<double> row(k + 1);
        rejected += !integer_power::fillPowerRowDirectly(x, k, row.data());
        mismatches += rowMismatches(x, k);
      }
    EXPECT_GE(rejected, 8000); // every exact midpoint, scaled or not
    EXPECT_EQ(mismatches, 0);
  }
}

} // namespace
