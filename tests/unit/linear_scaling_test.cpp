#include "numeric_oracles.h"
#include "test_support.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kUntouched = -777.0;

struct Match {
  std::vector<double> distance;
  std::vector<double> shift;
  int best = -1;
};

double gridRatio(int i, double lower, double upper, int count) {
  return (static_cast<double>(i) * (upper - lower)) / (count - 1) + lower;
}

int literalRound(double x) { return x > 0 ? static_cast<int>(x + 0.5) : static_cast<int>(x - 0.5); }

int firstSmallest(const std::vector<double> &distance, int compared) {
  int best = 0;
  for (int i = 1; i < compared; ++i) {
    if (distance[i] < distance[best])
      best = i;
  }
  return best;
}

// The plain matcher, written out.
Match literalPlain(const std::vector<double> &query, const std::vector<double> &reference,
                   double lower, double upper, int count, int type) {
  Match match{std::vector<double>(count, 2147483647.0), {}, 0};
  int compared = 0;
  for (; compared < count; ++compared) {
    const int length =
        static_cast<int>(gridRatio(compared, lower, upper, count) * query.size());
    if (length > static_cast<int>(reference.size()))
      break;
    match.distance[compared] =
        literalDistance(literalResample(query, length), reference.data(), type) / length;
  }
  match.best = firstSmallest(match.distance, compared);
  return match;
}

// The offset-removing comparison of prepared copies, in ratio order.
Match literalOffsetRemoving(const std::vector<std::vector<double>> &copies,
                            const std::vector<double> &reference, int type, double boundFactor) {
  const int count = static_cast<int>(copies.size());
  Match match{std::vector<double>(count, 2147483647.0), std::vector<double>(count, kUntouched), 0};
  int compared = 0;
  for (; compared < count; ++compared) {
    std::vector<double> work = copies[compared];
    const int length = static_cast<int>(work.size());
    if (length > static_cast<int>(reference.size()))
      break;
    std::vector<double> difference(length);
    for (int j = 0; j < length; ++j)
      difference[j] = work[j] - reference[j];
    const double shift = type == 1 ? sortedMedian(difference) : sequentialMean(difference);
    for (double &x : work)
      x = x - shift;
    match.shift[compared] = shift;
    match.distance[compared] =
        literalBoundedDistance(work, reference.data(), type, length * boundFactor) / length;
  }
  match.best = firstSmallest(match.distance, compared);
  return match;
}

std::vector<std::vector<double>> literalCopies(const std::vector<double> &query, double lower,
                                               double upper, int count, bool rounded) {
  std::vector<std::vector<double>> copies;
  for (int i = 0; i < count; ++i) {
    const double stretched = gridRatio(i, lower, upper, count) * query.size();
    copies.push_back(literalResample(
        query, rounded ? literalRound(stretched) : static_cast<int>(stretched)));
  }
  return copies;
}

Match runPlain(const std::vector<double> &query, const std::vector<double> &reference,
               double lower, double upper, int count, int type) {
  Match match{std::vector<double>(count > 0 ? count : 1, kUntouched), {}, -1};
  std::vector<double> work(reference.size() + 1);
  linearScaling(query.data(), static_cast<int>(query.size()), reference.data(),
                static_cast<int>(reference.size()), lower, upper, count, type,
                match.distance.data(), work.data(), match.best);
  return match;
}

Match runOffsetRemoving(const std::vector<double> &query, const std::vector<double> &reference,
                        double lower, double upper, int count, int type, double boundFactor) {
  const std::size_t entries = count > 0 ? count : 1;
  Match match{std::vector<double>(entries, kUntouched), std::vector<double>(entries, kUntouched),
              -1};
  std::vector<double> work(reference.size() + 1), difference(reference.size() + 1);
  linearScaling(query.data(), static_cast<int>(query.size()), reference.data(),
                static_cast<int>(reference.size()), lower, upper, count, type,
                match.distance.data(), match.shift.data(), work.data(), difference.data(),
                match.best, boundFactor);
  return match;
}

Match runOnSet(SCALEDVECSET &set, const std::vector<double> &reference, int type,
               double boundFactor) {
  Match match{std::vector<double>(set.ratioCount, kUntouched),
              std::vector<double>(set.ratioCount, kUntouched), -1};
  std::vector<double> difference(reference.size() + 1);
  linearScaling2(&set, reference.data(), static_cast<int>(reference.size()), type,
                 match.distance.data(), match.shift.data(), nullptr, difference.data(),
                 match.best, boundFactor);
  return match;
}

void expectSameMatch(const Match &actual, const Match &expected, const std::string &what) {
  EXPECT_TRUE(sameBits(actual.distance, expected.distance)) << what;
  EXPECT_TRUE(sameBits(actual.shift, expected.shift)) << what;
  EXPECT_EQ(actual.best, expected.best) << what;
}

std::vector<double> randomVector(std::mt19937 &rng, int length) {
  std::normal_distribution<double> normal(0.0, 3.0);
  std::vector<double> v(length);
  for (double &x : v)
    x = normal(rng);
  return v;
}

TEST(LinearScaling, AllThreeMatchersAgreeWithTheLiteralAlgorithmOnRandomData) {
  std::mt19937 rng(21);
  for (int trial = 0; trial < 120; ++trial) {
    const int queryLength = 5 + trial % 17;
    const auto query = randomVector(rng, queryLength);
    const auto reference = randomVector(rng, queryLength + static_cast<int>(rng() % 12));
    const double lower = 0.7 + 0.05 * (trial % 5), upper = lower + 0.1 * (1 + trial % 7);
    const int count = 2 + trial % 8, type = 1 + trial % 2;
    const double boundFactor = trial % 3 == 0 ? 1e300 : 0.5 * (trial % 7);
    const std::string what = "trial " + std::to_string(trial);

    expectSameMatch(runPlain(query, reference, lower, upper, count, type),
                    literalPlain(query, reference, lower, upper, count, type), what + " plain");
    expectSameMatch(
        runOffsetRemoving(query, reference, lower, upper, count, type, boundFactor),
        literalOffsetRemoving(literalCopies(query, lower, upper, count, true), reference, type,
                              boundFactor),
        what + " offset");

    SCALEDVECSET set;
    linearScaledVecCreate(query.data(), queryLength, lower, upper, count, &set);
    expectSameMatch(runOnSet(set, reference, type, boundFactor),
                    literalOffsetRemoving(literalCopies(query, lower, upper, count, false),
                                          reference, type, boundFactor),
                    what + " set");
    linearScaledVecFree(&set);
  }
}

TEST(LinearScaling, GridEndsAtBothRatiosAndAStretchOfOneComparesTheQueryItself) {
  const std::vector<double> query = {1, 2, 3}, reference = {1, 2, 3, 9, 9, 9};
  Match plain = runPlain(query, reference, 1.0, 2.0, 2, 1);
  EXPECT_EQ(plain.distance[0], 0.0); // ratio 1: the unchanged query
  // ratio 2: the query stretched to 6 elements against all of the reference
  EXPECT_EQ(plain.distance[1], literalDistance(literalResample(query, 6), reference.data(), 1) / 6);
  EXPECT_GT(plain.distance[1], 0.0);
  EXPECT_EQ(plain.best, 0);
}

TEST(LinearScaling, StopsAtTheFirstStretchLongerThanTheReference) {
  const std::vector<double> query = {0, 4, 0, 4}, reference = {9, 9, 9, 9, 9};
  for (int type : {1, 2}) {
    Match plain = runPlain(query, reference, 1.0, 2.0, 5, type); // lengths 4 5 6 7 8
    EXPECT_NE(plain.distance[1], 2147483647.0);
    for (int i = 2; i < 5; ++i)
      EXPECT_EQ(plain.distance[i], 2147483647.0) << i;
    Match offset = runOffsetRemoving(query, reference, 1.0, 2.0, 5, type, 1e300);
    EXPECT_EQ(offset.distance[2], 2147483647.0);
    EXPECT_EQ(offset.shift[2], kUntouched);
  }
}

TEST(LinearScaling, EqualSmallestDistancesPickTheLowerIndex) {
  // A constant query matches a constant reference at every stretch.
  const std::vector<double> query(4, 2.0), reference(10, 5.0);
  Match offset = runOffsetRemoving(query, reference, 1.0, 2.0, 3, 2, 0.0);
  EXPECT_EQ(offset.distance, (std::vector<double>(3, 0.0)));
  EXPECT_EQ(offset.shift, (std::vector<double>(3, -3.0)));
  EXPECT_EQ(offset.best, 0);
  // A tie after a worse first entry: ratios 2, 1.5, 1 give lengths 4, 3, 2.
  const std::vector<double> flat = {5, 5}, flatStart = {5, 5, 5, 9};
  Match plain = runPlain(flat, flatStart, 2.0, 1.0, 3, 1);
  EXPECT_NEAR(plain.distance[0], 1.0, 1e-12);
  EXPECT_EQ(plain.distance[1], 0.0);
  EXPECT_EQ(plain.distance[2], 0.0);
  EXPECT_EQ(plain.best, 1);
}

TEST(LinearScaling, ShiftIsTheMedianOrTheMeanOfTheDifferences) {
  // Ratio 1: differences query - reference are 1, 2, 10, 3.
  const std::vector<double> query = {1, 2, 10, 3}, reference = {0, 0, 0, 0};
  Match median = runOffsetRemoving(query, reference, 1.0, 1.0, 2, 1, 1e300);
  EXPECT_EQ(median.shift[0], 2.5); // mean of the middle pair 2 and 3
  EXPECT_EQ(median.distance[0], (1.5 + 0.5 + 7.5 + 0.5) / 4);
  Match mean = runOffsetRemoving(query, reference, 1.0, 1.0, 2, 2, 1e300);
  EXPECT_EQ(mean.shift[0], 4.0);
}

TEST(LinearScaling, BoundFactorAbandonsOnlyComparisonsAboveIt) {
  const std::vector<double> query = {0, 2, 0, 2}, reference = {0, 0, 0, 0};
  // Type 1, ratio 1: median shift 1, per-element distance 1.
  Match exact = runOffsetRemoving(query, reference, 1.0, 1.0, 2, 1, 1.0);
  EXPECT_EQ(exact.distance[0], 1.0);
  Match zero = runOffsetRemoving(query, reference, 1.0, 1.0, 2, 1, 0.0);
  EXPECT_EQ(zero.distance[0], 2147483647.0 / 4);
  // Nothing left after the offset: a bound of 0 keeps the comparison.
  const std::vector<double> shifted = {3, 3, 3, 3};
  EXPECT_EQ(runOffsetRemoving(shifted, reference, 1.0, 1.0, 2, 1, 0.0).distance[0], 0.0);
}

TEST(LinearScaling, CountsBelowTwoAndNoFittingRatio) {
  const std::vector<double> query = {1, 2, 3}, reference = {1, 2, 3, 4};
  // A count of 1 compares the lower ratio alone.
  Match one = runOffsetRemoving(query, reference, 1.0, 5.0, 1, 2, 1e300);
  EXPECT_EQ(one.distance[0], 0.0);
  EXPECT_EQ(one.best, 0);
  EXPECT_EQ(runPlain(query, reference, 1.0, 5.0, 1, 1).distance[0], 0.0);
  // A count below 1 compares nothing and writes nothing.
  Match none = runOffsetRemoving(query, reference, 1.0, 2.0, 0, 1, 1e300);
  EXPECT_EQ(none.distance[0], kUntouched);
  EXPECT_EQ(none.best, 0);
  // No ratio fits: every entry stays at the too-far value and the best is 0.
  Match tooLong = runPlain(query, reference, 2.0, 3.0, 3, 1);
  EXPECT_EQ(tooLong.distance, (std::vector<double>(3, 2147483647.0)));
  EXPECT_EQ(tooLong.best, 0);
  // Stretches beyond the int range, or NaN ratios, fit no reference either.
  for (double huge : {1e20, std::nan("")}) {
    EXPECT_EQ(runPlain(query, reference, huge, huge, 2, 1).distance,
              (std::vector<double>(2, 2147483647.0)));
    EXPECT_EQ(runOffsetRemoving(query, reference, huge, huge, 2, 1, 1.0).best, 0);
  }
  std::vector<double> work(8);
  int best = -1;
  double distance[2];
  EXPECT_EQ(linearScaling(query.data(), 3, reference.data(), 4, 2.0, 3.0, 2, 1, distance,
                          work.data(), best),
            2147483647.0);
}

TEST(LinearScaling, UnknownTypeFailsOnlyWhenARatioFits) {
  const std::vector<double> query = {1, 2, 3}, reference = {1, 2, 3, 4};
  EXPECT_TRUE(isLocatedMessage(
      failureMessage([&] { runOffsetRemoving(query, reference, 1.0, 1.2, 2, 3, 1e300); }),
      "Unknown distance type"));
  EXPECT_EQ(failureMessage([&] { runPlain(query, reference, 1.0, 1.2, 2, 0); }),
            "Unknown method!");
  SCALEDVECSET set;
  linearScaledVecCreate(query.data(), 3, 1.0, 1.2, 2, &set);
  EXPECT_TRUE(isLocatedMessage(failureMessage([&] { runOnSet(set, reference, 7, 1e300); }),
                               "Unknown distance type"));
  linearScaledVecFree(&set);
  // Nothing fits: nothing is compared and nothing fails.
  EXPECT_EQ(runOffsetRemoving(query, reference, 2.0, 3.0, 2, 3, 1e300).best, 0);
}

TEST(ScaledVecSet, HoldsTheTruncatedCopiesAndIsReleasedCleanly) {
  const std::vector<double> query = {0, 10, 20, 30, 40};
  SCALEDVECSET set;
  linearScaledVecCreate(query.data(), 5, 0.5, 1.5, 3, &set); // lengths 2.5, 5, 7.5
  EXPECT_EQ(set.lowerRatio, 0.5);
  EXPECT_EQ(set.upperRatio, 1.5);
  EXPECT_EQ(set.ratioCount, 3);
  EXPECT_EQ(set.slotLength, 7);
  EXPECT_EQ(std::vector<int>(set.scaledLength, set.scaledLength + 3), (std::vector<int>{2, 5, 7}));
  EXPECT_EQ(std::vector<double>(set.scaledData, set.scaledData + 2), (std::vector<double>{0, 40}));
  EXPECT_EQ(std::vector<double>(set.scaledData + 7, set.scaledData + 12), query);
  EXPECT_TRUE(sameBits(std::vector<double>(set.scaledData + 14, set.scaledData + 21),
                       literalResample(query, 7)));
  linearScaledVecFree(&set);
  EXPECT_EQ(set.scaledData, nullptr);
  EXPECT_EQ(set.scaledLength, nullptr);
  EXPECT_EQ(set.ratioCount, 3);
}

TEST(ScaledVecSet, RatiosFallingFromLowerToUpperStillFitTheirSlots) {
  const std::vector<double> query = {1, 2, 3, 4};
  SCALEDVECSET set;
  linearScaledVecCreate(query.data(), 4, 2.0, 1.0, 2, &set); // lengths 8 then 4
  EXPECT_EQ(set.slotLength, 8);
  EXPECT_TRUE(sameBits(std::vector<double>(set.scaledData, set.scaledData + 8),
                       literalResample(query, 8)));
  EXPECT_EQ(std::vector<double>(set.scaledData + 8, set.scaledData + 12), query);
  linearScaledVecFree(&set);
}

TEST(LinearScaling2, ASecondCallFindsTheSameDistancesAndNoShift) {
  std::mt19937 rng(4);
  const auto query = randomVector(rng, 12), reference = randomVector(rng, 20);
  for (int type : {1, 2}) {
    SCALEDVECSET set;
    linearScaledVecCreate(query.data(), 12, 0.8, 1.6, 5, &set);
    const Match first = runOnSet(set, reference, type, 1e300);
    const Match second = runOnSet(set, reference, type, 1e300);
    EXPECT_EQ(second.best, first.best);
    for (int i = 0; i < 5; ++i) {
      if (first.distance[i] == 2147483647.0) {
        EXPECT_EQ(second.distance[i], 2147483647.0);
        continue;
      }
      EXPECT_NEAR(second.distance[i], first.distance[i], 1e-12) << i;
      EXPECT_NEAR(second.shift[i], 0.0, 1e-12) << i;
      EXPECT_NE(first.shift[i], 0.0) << i;
    }
    linearScaledVecFree(&set);
  }
}

} // namespace
