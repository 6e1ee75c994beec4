#include "cpu_dispatch.h"
#include "hog.h"
#include "literal_hog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <utility>
#include <vector>

namespace {

std::vector<double> libraryHoG(std::vector<double> image, std::vector<double> params, int rows,
                               int cols, bool grey) {
  const long long length = hogLayout(params.data(), rows, cols).length;
  std::vector<double> out(length > 0 ? length : 0);
  int dims[2] = {rows, cols};
  HoG(image.data(), params.data(), dims, out.data(), grey ? 1u : 0u);
  return out;
}

// Uniform values in 0..255; with levels > 0 only that many whole grey
// levels, so that equal neighbours (zero differences) are common.
std::vector<double> randomImage(int rows, int cols, int planes, unsigned seed, int levels = 0) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> uniform(0.0, 255.0);
  std::vector<double> image(static_cast<std::size_t>(rows) * cols * planes);
  for (double &v : image)
    v = levels > 0 ? std::floor(uniform(rng) / 256.0 * levels) : uniform(rng);
  return image;
}

void expectSameBits(const std::vector<double> &actual, const std::vector<double> &expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t k = 0; k < actual.size(); ++k)
    ASSERT_EQ(std::memcmp(&actual[k], &expected[k], sizeof(double)), 0)
        << "element " << k << ": " << actual[k] << " vs " << expected[k];
}

// HoG on every kernel target the processor supports, each forced in turn,
// against the literal computation.
void expectEveryTargetMatchesLiteral(const std::vector<double> &image,
                                     const std::vector<double> &params, int rows, int cols,
                                     bool grey) {
  const std::vector<double> expected = literalHoG(image, params, rows, cols, grey);
  for (KernelTarget target : supportedKernelTargets()) {
    SCOPED_TRACE(kernelTargetName(target));
    ScopedKernelTarget forced(target);
    expectSameBits(libraryHoG(image, params, rows, cols, grey), expected);
  }
}

const std::vector<double> kDefaults(HOG_DEFAULT_PARAMS, HOG_DEFAULT_PARAMS + HOG_PARAM_COUNT);

TEST(HogLayout, DefaultsOn128By64Give3780Values) {
  const HogLayout layout = hogLayout(kDefaults.data(), 128, 64);
  EXPECT_EQ(layout.gridRows, 18);
  EXPECT_EQ(layout.gridCols, 10);
  EXPECT_EQ(layout.blockRows, 15);
  EXPECT_EQ(layout.blockCols, 7);
  EXPECT_EQ(layout.length, 3780);
}

TEST(HogLayout, HalvesOfACellRoundDown) {
  EXPECT_EQ(hogLayout(kDefaults.data(), 20, 64).gridRows, 4); // 2.5 cells -> 2
  EXPECT_EQ(hogLayout(kDefaults.data(), 21, 64).gridRows, 5); // 2.625 -> 3
  EXPECT_EQ(hogLayout(kDefaults.data(), 12, 64).gridRows, 3); // 1.5 -> 1
}

TEST(HogLayout, NoBlockPositionOrNothingToVoteIntoGivesZeroLength) {
  EXPECT_EQ(hogLayout(kDefaults.data(), 8, 8).length, 0); // NBY = NBX = 0
  const double bigBlock[] = {9, 8, 4, 0, 0.2};             // NBY = NBX = -2
  EXPECT_EQ(hogLayout(bigBlock, 8, 8).length, 0);
  const double tooFewBins[] = {0.9, 8, 2, 0, 0.2};
  EXPECT_EQ(hogLayout(tooFewBins, 128, 64).length, 0);
  const double nanCell[] = {9, std::nan(""), 2, 0, 0.2};
  EXPECT_EQ(hogLayout(nanCell, 128, 64).length, 0);
  EXPECT_EQ(hogLayout(kDefaults.data(), 0, 64).length, 0);
}

TEST(HogLayout, LengthsBeyond32BitsAreFlagged) {
  const double manyBins[] = {1e9, 8, 2, 0, 0.2};
  EXPECT_EQ(hogLayout(manyBins, 128, 64).length, -1);
  const double tinyCell[] = {9, 1e-300, 1, 0, 0.2}; // grid beyond the int range
  EXPECT_EQ(hogLayout(tinyCell, 10, 10).length, -1);
  const double exact[] = {2147483647.0, 8, 1, 0, 0.2}; // one cell, one block
  EXPECT_EQ(hogLayout(exact, 8, 8).length, 2147483647LL);
}

TEST(HogGradient, BorderOfAConstantImageSeesZeroOutside) {
  const std::vector<double> image(5 * 4, 7.0);
  auto gradientAt = [&](int y, int x) { return hogGradient(image.data(), 5, 4, 1, y, x); };
  // Corners: dx = +7 (column 0) or -7 (last column), dy = -7 (row 0) or +7.
  EXPECT_EQ(gradientAt(0, 0).angle, static_cast<float>(std::atan2(-7.0, 7.0)));
  EXPECT_EQ(gradientAt(4, 3).angle, static_cast<float>(std::atan2(7.0, -7.0)));
  EXPECT_EQ(gradientAt(0, 0).magnitude, std::sqrt(98.0f));
  EXPECT_EQ(gradientAt(2, 0).angle, 0.0f); // left edge: dx = +7, dy = 0
  EXPECT_EQ(gradientAt(2, 0).magnitude, 7.0f);
  EXPECT_EQ(gradientAt(2, 3).angle, 3.1415927f); // right edge: dx = -7
  EXPECT_EQ(gradientAt(0, 1).angle, -1.5707964f); // top edge: dy = -7
  EXPECT_EQ(gradientAt(2, 1).magnitude, 0.0f);    // interior
}

TEST(HogGradient, SingleRowOrColumnHasNoComponentAlongIt) {
  const double row[] = {1, 4, 9};
  EXPECT_EQ(hogGradient(row, 1, 3, 1, 0, 1).angle, 0.0f); // dy = 0, dx = 8
  EXPECT_EQ(hogGradient(row, 1, 3, 1, 0, 1).magnitude, 8.0f);
  EXPECT_EQ(hogGradient(row, 3, 1, 1, 1, 0).angle, -1.5707964f); // dx = 0, dy = 1 - 9
  const double single[] = {5};
  EXPECT_EQ(hogGradient(single, 1, 1, 1, 0, 0).magnitude, 0.0f);
}

TEST(HogGradient, StrongestPlaneWinsAndTheEarlierOneOnTies) {
  // Three 1 x 3 planes; at the middle pixel dx is 2, -2, 2 with dy = 0.
  const double equal[] = {0, 0, 2, 2, 0, 0, 0, 0, 2};
  EXPECT_EQ(hogGradient(equal, 1, 3, 3, 0, 1).angle, 0.0f); // plane 0, not plane 1
  const double stronger[] = {0, 0, 2, 3, 0, 0, 0, 0, 2};
  EXPECT_EQ(hogGradient(stronger, 1, 3, 3, 0, 1).angle, 3.1415927f);
  EXPECT_EQ(hogGradient(stronger, 1, 3, 3, 0, 1).magnitude, 3.0f);
  const double later[] = {0, 0, 1, 0, 0, 0, 0, 0, 5};
  EXPECT_EQ(hogGradient(later, 1, 3, 3, 0, 1).magnitude, 5.0f);
}

float libraryAngle(float dy, float dx) {
  return static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)));
}

bool sameFloatBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// hogAngle against the library on a set of gradients; counts the gradients
// the fast evaluation declined and checks every one it accepted.
struct AngleCheck {
  long long checked = 0;
  long long declined = 0;
  void operator()(float dy, float dx) {
    ++checked;
    const float expected = libraryAngle(dy, dx);
    float fast = -7.0f;
    if (hogFastAngle(dy, dx, fast)) {
      ASSERT_TRUE(sameFloatBits(fast, expected)) << "dy " << dy << " dx " << dx;
    } else {
      ++declined;
    }
    ASSERT_TRUE(sameFloatBits(hogAngle(dy, dx), expected)) << "dy " << dy << " dx " << dx;
  }
};

// A float of random sign, significand and exponent in [minExp, maxExp].
float randomFloat(std::mt19937 &rng, int minExp, int maxExp) {
  std::uniform_real_distribution<float> significand(1.0f, 2.0f);
  std::uniform_int_distribution<int> exponent(minExp, maxExp);
  const float value = std::ldexp(significand(rng), exponent(rng));
  return rng() & 1 ? -value : value;
}

TEST(HogAngle, EqualsTheLibraryOnEveryIntegerGradientUpTo511) {
  AngleCheck check;
  for (int dy = -511; dy <= 511; ++dy)
    for (int dx = -511; dx <= 511; ++dx)
      check(static_cast<float>(dy), static_cast<float>(dx));
  EXPECT_EQ(check.checked, 1023LL * 1023);
}

TEST(HogAngle, EqualsTheLibraryOnMillionsOfRandomGradients) {
  std::mt19937 rng(17);
  std::uniform_real_distribution<float> pixelDifference(-255.0f, 255.0f);
  AngleCheck check;
  const struct {
    int minExp, maxExp;
  } ranges[] = {{-8, 8}, {-149, 127}, {-30, 30}};
  for (const auto &range : ranges)
    for (int k = 0; k < 2000000; ++k)
      check(randomFloat(rng, range.minExp, range.maxExp), randomFloat(rng, range.minExp, range.maxExp));
  for (int k = 0; k < 2000000; ++k)
    check(pixelDifference(rng), pixelDifference(rng));
  // About one in two million lies too close to a rounding boundary.
  EXPECT_LT(check.declined, 100);
}

TEST(HogAngle, SpecialComponentsEqualTheLibrary) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float denormMin = std::numeric_limits<float>::denorm_min();
  const float fltMax = std::numeric_limits<float>::max();
  const float values[] = {0.0f, -0.0f, 1.0f, -1.0f, 3.0f, -255.0f, denormMin, -denormMin,
                          1e-38f, 1.17549435e-38f, fltMax, -fltMax, 1e30f, inf, -inf, nan};
  AngleCheck check;
  for (float dy : values)
    for (float dx : values) {
      check(dy, dx); // axes, ties (dy = dx), tiny over huge and back
      if (std::isnan(dy) || std::isnan(dx)) {
        EXPECT_TRUE(std::isnan(hogAngle(dy, dx)));
      }
    }
  // Diagonals and near-diagonals of every size.
  std::mt19937 rng(5);
  for (int k = 0; k < 200000; ++k) {
    const float v = randomFloat(rng, -149, 127);
    check(v, v);
    check(-v, v);
    check(std::nextafter(v, 0.0f), v);
    check(v, std::nextafter(v, inf));
  }
}

// The gradient (dy, dx) of whole numbers below 2^24 whose angle comes
// closest to angle (in (0, pi/2)): p/q from the continued fraction of
// tan(angle).
std::pair<float, float> gradientAlong(long double angle) {
  long double rest = std::tan(angle);
  long double p0 = 1, q0 = 0, p1 = std::floor(rest), q1 = 1;
  rest -= p1;
  while (rest > 1e-30L) {
    rest = 1 / rest;
    const long double a = std::floor(rest);
    rest -= a;
    const long double p2 = a * p1 + p0, q2 = a * q1 + q0;
    if (p2 >= 16777216.0L || q2 >= 16777216.0L)
      break;
    p0 = p1, q0 = q1, p1 = p2, q1 = q2;
  }
  return {static_cast<float>(p1), static_cast<float>(q1)};
}

// Gradients whose exact angle lies within about 2^-46 of a point halfway
// between two floats.
std::vector<std::pair<float, float>> gradientsNextToARoundingBoundary(int count, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> angles(0.05f, 1.5f);
  std::vector<std::pair<float, float>> gradients;
  for (int k = 0; k < count; ++k) {
    const float f = angles(rng);
    gradients.push_back(gradientAlong((static_cast<long double>(f) + std::nextafter(f, 2.0f)) / 2));
  }
  return gradients;
}

// The fast evaluation must decline such gradients, and the result must still
// be the library's.
TEST(HogAngle, GradientsNextToARoundingBoundaryFallBackToTheLibrary) {
  AngleCheck check;
  for (const auto &gradient : gradientsNextToARoundingBoundary(4000, 23))
    for (int sign = 0; sign < 4; ++sign)
      check(sign & 1 ? -gradient.first : gradient.first, sign & 2 ? -gradient.second : gradient.second);
  EXPECT_GT(check.declined, 1000);
}

// The gradients at which the vector kernels' estimate of the octant of
// min/max is at its worst: ratios halfway between two eighths (either
// neighbour may be taken), the ends 0 and 1, their neighbours, in every
// quadrant and both ways steep; and gradients at those ratios whose angle
// lies next to a rounding boundary, where an error above the proven bound
// would show.
std::vector<std::pair<float, float>> gradientsAtOctantBoundaries() {
  std::vector<std::pair<float, float>> gradients;
  const float big = 1 << 20; // room for neighbours one unit away
  for (int j = 1; j <= 8; ++j) {
    const float halfway = (2 * j - 1) * big; // over 16 * big: 8q = j - 1/2
    for (const float min : {halfway, halfway - 1, halfway + 1, j * 2 * big - 1, 1.0f})
      for (int quadrant = 0; quadrant < 8; ++quadrant) {
        const float dy = quadrant & 4 ? 16 * big : min, dx = quadrant & 4 ? min : 16 * big;
        gradients.emplace_back(quadrant & 1 ? -dy : dy, quadrant & 2 ? -dx : dx);
      }
    float f = static_cast<float>(std::atan((2 * j - 1) / 16.0L));
    for (int step = 0; step < 200; ++step, f = std::nextafter(f, 2.0f))
      gradients.push_back(gradientAlong((static_cast<long double>(f) + std::nextafter(f, 2.0f)) / 2));
  }
  return gradients;
}

// The vector kernels' fast angles (on every target) against the library:
// the worst cases of the octant's estimate, gradients next to a rounding
// boundary (those accepted just outside the margin show an error above the
// proven bound), random gradients of every size and pixel differences.
TEST(HogAngle, VectorKernelsEqualTheLibraryWhereTheyClaimAProof) {
  std::mt19937 rng(41);
  std::uniform_real_distribution<float> pixelDifference(-255.0f, 255.0f);
  std::vector<std::pair<float, float>> gradients = gradientsAtOctantBoundaries();
  for (const auto &gradient : gradientsNextToARoundingBoundary(20000, 43))
    gradients.push_back(gradient);
  for (const auto &range : {std::make_pair(-8, 8), std::make_pair(-149, 127)})
    for (int k = 0; k < 150000; ++k)
      gradients.emplace_back(randomFloat(rng, range.first, range.second),
                             randomFloat(rng, range.first, range.second));
  for (int k = 0; k < 150000; ++k)
    gradients.emplace_back(pixelDifference(rng), pixelDifference(rng));
  std::vector<float> dy, dx;
  for (const auto &gradient : gradients) {
    dy.push_back(gradient.first);
    dx.push_back(gradient.second);
  }
  const int count = static_cast<int>(gradients.size());
  for (KernelTarget target : supportedKernelTargets()) {
    SCOPED_TRACE(kernelTargetName(target));
    ScopedKernelTarget forced(target);
    std::vector<float> angle(count, -7.0f);
    std::unique_ptr<bool[]> proven(new bool[count]);
    hogFastAngles(dy.data(), dx.data(), count, angle.data(), proven.get());
    int declined = 0;
    for (int k = 0; k < count; ++k) {
      declined += !proven[k];
      ASSERT_TRUE(!proven[k] || sameFloatBits(angle[k], libraryAngle(dy[k], dx[k])))
          << "dy " << dy[k] << " dx " << dx[k];
    }
    EXPECT_GT(declined, 15000); // most gradients next to a rounding boundary
    EXPECT_LT(declined, 19500);
  }
}

TEST(HogOrientationSplit, HalfTurnFallsBetweenTheLastBinAndBinZero) {
  const double w = static_cast<double>(HOG_HALF_TURN / 9);
  const HogOrientationSplit atPi = hogOrientationSplit(HOG_HALF_TURN, w, 9);
  EXPECT_EQ(atPi.lowerBin, 8);
  EXPECT_EQ(atPi.upperBin, 0);
  EXPECT_NEAR(atPi.upperWeight, 0.5, 1e-6);
  const HogOrientationSplit atZero = hogOrientationSplit(0.0f, w, 9);
  EXPECT_EQ(atZero.lowerBin, 8);
  EXPECT_EQ(atZero.upperBin, 0);
  EXPECT_NEAR(atZero.upperWeight, 0.5, 1e-6);
  // The centre of bin 2 goes (almost) entirely to bin 2.
  const HogOrientationSplit centre = hogOrientationSplit(static_cast<float>(2.5 * w), w, 9);
  EXPECT_EQ(centre.lowerBin, 2);
  EXPECT_EQ(centre.upperBin, 3);
  EXPECT_NEAR(centre.upperWeight, 0.0, 1e-6);
}

TEST(HogOrientationSplit, BinsStayInRangeWhenTheWidthRoundsDown) {
  // With this many bins the single-precision width is so much too small that
  // a half turn lands one bin past the end; the bins wrap round.
  const int nbins = 10517128;
  const double w = static_cast<double>(HOG_HALF_TURN / static_cast<float>(nbins));
  ASSERT_GT(std::floor(static_cast<double>(HOG_HALF_TURN) / w + 0.5), nbins);
  const HogOrientationSplit split = hogOrientationSplit(HOG_HALF_TURN, w, nbins);
  EXPECT_EQ(split.lowerBin, 0);
  EXPECT_EQ(split.upperBin, 1);
}

// The vector kernels' splits (on every target) against hogOrientationSplit,
// bit for bit: random angles, both ends of the range, and angles exactly at
// a bin centre, a = (n - 1/2) w, where a / w + 1/2 is whole and the upper
// bin from a multiplication by 1 / w can be one too low (n = 8 of 517 bins,
// n = 29 and 127 of 947); those take the division.
TEST(HogOrientationSplit, VectorKernelsEqualTheScalarSplit) {
  const struct {
    int nbins;
    float range;
    std::vector<int> centres; // n of the centres (n - 1/2) w to try
  } cases[] = {{9, HOG_HALF_TURN, {1, 5}},
               {9, HOG_FULL_TURN, {1, 9}},
               {517, HOG_HALF_TURN, {8}},
               {517, HOG_FULL_TURN, {8}},
               {947, HOG_HALF_TURN, {29, 127}},
               {1 << 22, HOG_FULL_TURN, {1, 3}}};
  std::mt19937 rng(7);
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.nbins << " bins over " << c.range);
    const double w = static_cast<double>(c.range / static_cast<float>(c.nbins));
    std::vector<float> angles = {0.0f, c.range, std::nextafter(c.range, 0.0f)};
    for (int n : c.centres) {
      const float centre = static_cast<float>((n - 0.5) * w);
      if (static_cast<double>(centre) == (n - 0.5) * w) // a float
        angles.push_back(centre);
      angles.push_back(std::nextafter(centre, 0.0f));
      angles.push_back(std::nextafter(centre, 7.0f));
    }
    std::uniform_real_distribution<float> anywhere(0.0f, c.range);
    for (int k = 0; k < 1000; ++k)
      angles.push_back(anywhere(rng));
    const int count = static_cast<int>(angles.size());
    for (KernelTarget target : supportedKernelTargets()) {
      SCOPED_TRACE(kernelTargetName(target));
      ScopedKernelTarget forced(target);
      std::vector<HogOrientationSplit> splits(count);
      hogOrientationSplits(angles.data(), count, w, c.nbins, splits.data());
      for (int k = 0; k < count; ++k) {
        const HogOrientationSplit expected = hogOrientationSplit(angles[k], w, c.nbins);
        ASSERT_EQ(splits[k].lowerBin, expected.lowerBin) << "angle " << angles[k];
        ASSERT_EQ(splits[k].upperBin, expected.upperBin) << "angle " << angles[k];
        ASSERT_EQ(std::memcmp(&splits[k].upperWeight, &expected.upperWeight, sizeof(double)), 0)
            << "angle " << angles[k];
      }
    }
  }
}

TEST(HogSpatialSplit, WholeCellsGiveWeightsInsideTheUnitInterval) {
  for (int p = 0; p < 64; ++p) {
    const HogSpatialSplit split = hogSpatialSplit(p, 8.0);
    EXPECT_GE(split.weight, 0.0625);
    EXPECT_LE(split.weight, 0.9375);
  }
  EXPECT_EQ(hogSpatialSplit(0, 8.0).first, 0);
  EXPECT_EQ(hogSpatialSplit(0, 8.0).weight, 0.5625); // (1 - (-3.5)) / 8
  EXPECT_EQ(hogSpatialSplit(4, 8.0).first, 1);
  EXPECT_EQ(hogSpatialSplit(4, 8.0).weight, 0.0625);
}

TEST(HogSpatialSplit, NonWholeCellCanGiveANegativeComplement) {
  const HogSpatialSplit split = hogSpatialSplit(1, 2.5);
  EXPECT_EQ(split.first, 0);
  EXPECT_NEAR(split.weight, 1.1, 1e-12);
  EXPECT_LT(1.0 - split.weight, 0.0);
}

TEST(HoG, MatchesTheLiteralComputationOnRandomImages) {
  struct Case {
    int rows, cols;
    std::vector<double> params;
    int levels = 0;
  };
  const std::vector<Case> cases = {
      {128, 64, kDefaults},
      {37, 29, {9, 8, 2, 1, 0.2}},   // signed orientation
      {30, 41, {6, 2.5, 3, 0, 0.1}}, // non-whole cell, negative weights
      {25, 25, {1, 4, 2, 0, 0.2}},   // one bin: both votes in the same bin
      {23, 31, {2, 3, 1, 1, 0.3}},
      {40, 33, {13.9, 6.7, 2.9, 1.9, 0.05}}, // truncated parameters
      {1, 50, {9, 0.5, 2, 0, 0.2}},  // single row
      {50, 1, {9, 0.5, 2, 1, 0.2}},  // single column
      {32, 32, kDefaults, 3},        // equal neighbours: zero differences
      {32, 32, {8, 4, 2, 1, 0.2}, 2},
      {16, 205, kDefaults},          // block columns in whole groups of lanes and a rest
      {16, 300, kDefaults},          // several groups at once, a rest overlapping them
      {20, 21, {5, 0.4, 2, 0, 0.2}}, // cells below a pixel: grid rows without votes
      {36, 70, {3, 2, 5, 1, 0.2}},   // large blocks: many grid rows held at once
      {20, 20, {1100, 4, 4, 0, 0.2}}, // blocks too large to normalise in groups
      // Grid columns in lanes: widths that end inside a group of lanes, odd
      // and one-pixel cells, the most bins held in registers and one more,
      // the largest such cell and one more.
      {19, 77, {9, 8, 2, 0, 0.2}},
      {33, 50, {7, 5, 2, 1, 0.2}},
      {12, 21, {4, 1, 2, 1, 0.2}},
      {29, 40, {12, 3, 2, 1, 0.2}},
      {20, 30, {13, 4, 2, 0, 0.2}},
      {25, 30, {2, 6, 1, 0, 0.2}},
      {70, 150, {9, 64, 1, 0, 0.2}},
      {70, 150, {9, 65, 1, 0, 0.2}},
      {1, 50, {9, 1, 1, 0, 0.2}},
      {50, 1, {9, 1, 1, 1, 0.2}},
      // Widths whose last pixel ends the pixels of a group of eight grid
      // columns (8 * 15 - 4 and 5 * 7 - 2 pixels).
      {17, 116, kDefaults},
      {20, 33, {9, 5, 2, 0, 0.2}},
  };
  unsigned seed = 1;
  for (const Case &c : cases)
    for (bool grey : {true, false}) {
      SCOPED_TRACE(testing::Message() << c.rows << "x" << c.cols << (grey ? " grey" : " colour")
                                      << " bins " << c.params[0]);
      const std::vector<double> image = randomImage(c.rows, c.cols, grey ? 1 : 3, seed++, c.levels);
      ASSERT_GT(hogLayout(c.params.data(), c.rows, c.cols).length, 0);
      expectEveryTargetMatchesLiteral(image, c.params, c.rows, c.cols, grey);
    }
}

// An image (planes of rows x (4 * count + 2), zero elsewhere) in which
// pixel (y, 4j + 1) of the first plane has gradient j (dy, dx).
std::vector<double> imageWithGradients(const std::vector<std::pair<float, float>> &gradients,
                                       int rows, int y, int planes) {
  const int cols = 4 * static_cast<int>(gradients.size()) + 2;
  std::vector<double> image(static_cast<std::size_t>(rows) * cols * planes, 0.0);
  for (std::size_t j = 0; j < gradients.size(); ++j) {
    const std::size_t x = 4 * j + 1;
    image[(y - 1) + x * rows] = gradients[j].first;  // dy = above - below
    image[y + (x + 1) * rows] = gradients[j].second; // dx = right - left
  }
  return image;
}

// Pixels (y, 4j + 1) get the gradients next to a rounding boundary, so the
// descriptor goes through the library fallback: y = 1 of a three-row image
// (rows at the image border) and y = 9 of a twenty-row one (rows inside,
// whole vectors on every target).
TEST(HoG, GradientsNextToARoundingBoundaryKeepTheLiteralBits) {
  const std::vector<std::pair<float, float>> gradients = gradientsNextToARoundingBoundary(200, 29);
  int declined = 0;
  for (const auto &gradient : gradients) {
    float angle;
    declined += !hogFastAngle(gradient.first, gradient.second, angle);
  }
  EXPECT_GT(declined, 50);
  const int cols = 4 * static_cast<int>(gradients.size()) + 2;
  for (const int rows : {3, 20})
    for (const bool grey : {true, false}) {
      const int y = rows == 3 ? 1 : 9;
      expectEveryTargetMatchesLiteral(imageWithGradients(gradients, rows, y, grey ? 1 : 3),
                                      {9, 1, 2, 0, 0.2}, rows, cols, grey);
    }
}

// Differences next to a missing neighbour are the neighbour's value or its
// negation, never a subtraction from zero: a pixel of -0 or +0 there gives
// a component of its own sign or the opposite one, and with dx < 0 the sign
// of a zero dy decides between the angles pi and -pi (which fold to the
// same angle over a full turn, to pi and 0 over a half turn).
TEST(HoG, SignedZerosAtTheImageBorderKeepTheirSigns) {
  const double values[] = {0.0, -0.0, 0.0, -0.0, 1.0, 2.0};
  std::mt19937 rng(3);
  const struct {
    int rows, cols;
  } sizes[] = {{2, 9}, {9, 2}, {10, 13}, {17, 12}, {26, 5}};
  for (const auto &size : sizes)
    for (const bool grey : {true, false}) {
      SCOPED_TRACE(testing::Message() << size.rows << "x" << size.cols);
      std::vector<double> image(static_cast<std::size_t>(size.rows) * size.cols * (grey ? 1 : 3));
      for (double &v : image)
        v = values[rng() % 6];
      for (const double mode : {0.0, 1.0})
        expectEveryTargetMatchesLiteral(image, {9, 1, 1, mode, 1}, size.rows, size.cols, grey);
    }
}

TEST(HoG, NonFiniteValuesDoNotDisturbTheGrid) {
  for (const int planes : {1, 3}) {
    std::vector<double> image = randomImage(30, 30, planes, 99);
    image[5 + 7 * 30] = std::numeric_limits<double>::quiet_NaN();
    image[20 + 3 * 30] = std::numeric_limits<double>::infinity();
    image[21 + 3 * 30] = std::numeric_limits<double>::infinity();
    // Pixel (12, 21): finite components, infinite single-precision magnitude.
    image[11 + 21 * 30] = 3e38;
    image[12 + 22 * 30] = -3e38;
    expectEveryTargetMatchesLiteral(image, kDefaults, 30, 30, planes == 1);
  }
}

TEST(HoG, ZeroImageGivesZerosAndAZeroBlockForgetsEarlierBlocks) {
  EXPECT_EQ(libraryHoG(std::vector<double>(128 * 64, 0.0), kDefaults, 128, 64, true),
            std::vector<double>(3780, 0.0));
  // Texture in the left columns only: the right-hand blocks see no vote.
  std::vector<double> image(48 * 48, 0.0);
  const std::vector<double> noise = randomImage(48, 8, 1, 5);
  std::copy(noise.begin(), noise.end(), image.begin());
  const std::vector<double> d = libraryHoG(image, kDefaults, 48, 48, true);
  const std::size_t blockColumn = 5 * 4 * 9; // NBY blocks of bs*bs*nbins values
  for (std::size_t k = 0; k < blockColumn; ++k)
    ASSERT_EQ(d[d.size() - 1 - k], 0.0);
  EXPECT_NE(d[0], 0.0);
}

TEST(HoG, ClipOfOneOrMoreChangesNothing) {
  const std::vector<double> image = randomImage(40, 40, 3, 11);
  const std::vector<double> clipOne = {9, 8, 2, 0, 1.0};
  const std::vector<double> clipHuge = {9, 8, 2, 0, 1e300};
  const std::vector<double> d = libraryHoG(image, clipOne, 40, 40, false);
  expectSameBits(libraryHoG(image, clipHuge, 40, 40, false), d);
  // Without clipping, the second normalisation keeps the block's unit norm.
  double sum = 0;
  for (int k = 0; k < 36; ++k)
    sum += d[k] * d[k];
  EXPECT_NEAR(sum, 1.0, 1e-6);
}

TEST(HoG, LeavesTheDescriptorUntouchedWithoutABlockPosition) {
  std::vector<double> image = randomImage(8, 8, 1, 3);
  double params[] = {9, 8, 2, 0, 0.2};
  int dims[] = {8, 8};
  double sentinel[4] = {-1, -2, -3, -4};
  HoG(image.data(), params, dims, sentinel, 1);
  EXPECT_EQ(sentinel[0], -1);
  EXPECT_EQ(sentinel[3], -4);
}

} // namespace
