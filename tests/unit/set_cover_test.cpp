#include "test_support.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

struct Cover {
  std::vector<double> matrix; // as the call left it
  std::vector<int> chosen;
  std::vector<double> fraction;
  int rounds = -1;
};

// The greedy cover written out with one covered flag per matrix element.
Cover literalSetCover(std::vector<double> matrix, int sets, int slots, int maxRounds) {
  Cover out{{}, std::vector<int>(maxRounds, 0), std::vector<double>(maxRounds, 1.0), 0};
  int universe = 0;
  for (double x : matrix)
    if (x > universe)
      universe = static_cast<int>(x);
  auto at = [&](int set, int slot) -> double & { return matrix[set + slot * sets]; };
  for (int set = 0; set < sets; ++set) {
    std::vector<int> count(universe + 1, 0);
    for (int slot = 0; slot < slots; ++slot)
      ++count[static_cast<int>(at(set, slot))];
    int slot = 0;
    for (int label = 1; label <= universe; ++label)
      if (count[label] > 0)
        at(set, slot++) = label;
    for (; slot < slots; ++slot)
      at(set, slot) = 0;
  }
  std::vector<char> uncovered(matrix.size());
  for (std::size_t e = 0; e < matrix.size(); ++e)
    uncovered[e] = matrix[e] != 0;
  std::vector<double> coveredList;
  for (int r = 0; sets > 0 && r < maxRounds; ++r) {
    int bestCount = 0;
    for (int set = 0; set < sets; ++set) {
      int count = 0;
      for (int slot = 0; slot < slots; ++slot)
        count += uncovered[set + slot * sets];
      if (count > bestCount) {
        bestCount = count;
        out.chosen[r] = set;
      }
    }
    if (bestCount == 0)
      break;
    std::vector<double> added;
    for (int slot = 0; slot < slots; ++slot)
      if (uncovered[out.chosen[r] + slot * sets])
        added.push_back(at(out.chosen[r], slot));
    coveredList.insert(coveredList.end(), added.begin(), added.end());
    out.fraction[r] = static_cast<double>(coveredList.size()) / universe;
    out.rounds = r + 1;
    if (static_cast<int>(coveredList.size()) >= universe || out.rounds == maxRounds)
      break;
    for (double label : added)
      for (std::size_t e = 0; e < matrix.size(); ++e)
        if (matrix[e] == label)
          uncovered[e] = 0;
  }
  out.matrix = matrix;
  return out;
}

Cover run(std::vector<double> matrix, int sets, int slots, int maxRounds) {
  Cover out{std::move(matrix), std::vector<int>(maxRounds > 0 ? maxRounds : 1, -9),
            std::vector<double>(maxRounds > 0 ? maxRounds : 1, -9.0), -1};
  out.rounds = setCover(out.matrix.data(), sets, slots, maxRounds, out.chosen.data(),
                        out.fraction.data());
  return out;
}

// Rows as lists of labels, laid out column-major with 0 padding.
std::vector<double> rowsToMatrix(const std::vector<std::vector<double>> &rows, int slots) {
  const int sets = static_cast<int>(rows.size());
  std::vector<double> matrix(sets * slots, 0.0);
  for (int set = 0; set < sets; ++set)
    for (std::size_t slot = 0; slot < rows[set].size(); ++slot)
      matrix[set + slot * sets] = rows[set][slot];
  return matrix;
}

TEST(SetCover, TakesTheLargestGainEachRound) {
  const auto matrix = rowsToMatrix({{1, 2, 3}, {4, 5}, {3, 4}, {5}}, 3);
  const Cover cover = run(matrix, 4, 3, 4);
  EXPECT_EQ(cover.rounds, 2);
  EXPECT_EQ(cover.chosen, (std::vector<int>{0, 1, 0, 0}));
  EXPECT_EQ(cover.fraction, (std::vector<double>{0.6, 1, 1, 1}));

  const Cover once = run(matrix, 4, 3, 1); // stops after the first round
  EXPECT_EQ(once.rounds, 1);
  EXPECT_EQ(once.chosen[0], 0);
  EXPECT_EQ(once.fraction[0], 0.6);
}

TEST(SetCover, TiesGoToTheLowerRowAndRowsAreNormalisedInPlace) {
  const auto matrix = rowsToMatrix({{3, 1, 3, 0}, {2, 4}, {4, 2, 2}}, 4);
  const Cover cover = run(matrix, 3, 4, 3);
  // Row 0 becomes 1 3 0 0 (two labels), tied with rows 1 and 2.
  EXPECT_EQ(cover.matrix, rowsToMatrix({{1, 3}, {2, 4}, {2, 4}}, 4));
  EXPECT_EQ(cover.chosen, (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(cover.fraction, (std::vector<double>{0.5, 1, 1}));
  EXPECT_EQ(cover.rounds, 2);
}

TEST(SetCover, NothingToCover) {
  const Cover zeros = run(std::vector<double>(6, 0.0), 2, 3, 3);
  EXPECT_EQ(zeros.rounds, 0);
  EXPECT_EQ(zeros.chosen, (std::vector<int>(3, 0)));
  EXPECT_EQ(zeros.fraction, (std::vector<double>(3, 1.0)));
  EXPECT_EQ(run({}, 0, 4, 2).rounds, 0);
  // No rounds allowed: the rows are still normalised.
  const Cover noRounds = run(rowsToMatrix({{2, 2, 1}}, 3), 1, 3, 0);
  EXPECT_EQ(noRounds.rounds, 0);
  EXPECT_EQ(noRounds.matrix, (std::vector<double>{1, 2, 0}));
}

TEST(SetCover, LabelsMissingFromTheUniverseEndWhenNoSetAddsAnything) {
  const Cover cover = run(rowsToMatrix({{1}, {4}, {1, 4}}, 2), 3, 2, 5); // 2 and 3 absent
  EXPECT_EQ(cover.rounds, 1);
  EXPECT_EQ(cover.chosen, (std::vector<int>{2, 0, 0, 0, 0}));
  EXPECT_EQ(cover.fraction[0], 0.5);
  EXPECT_EQ(cover.fraction[1], 1.0);
}

TEST(SetCover, MatchesTheElementFlagAlgorithmOnRandomMatrices) {
  std::mt19937 rng(8);
  for (int trial = 0; trial < 150; ++trial) {
    const int sets = 1 + trial % 9, slots = 1 + trial % 6, universe = 1 + trial % 13;
    std::vector<double> matrix(sets * slots);
    for (double &x : matrix)
      x = static_cast<double>(rng() % (universe + 1)) + (trial % 5 == 0 ? 0.25 : 0.0);
    const int maxRounds = 1 + trial % 7;
    const Cover expected = literalSetCover(matrix, sets, slots, maxRounds);
    const Cover actual = run(matrix, sets, slots, maxRounds);
    const std::string what = "trial " + std::to_string(trial);
    EXPECT_EQ(actual.rounds, expected.rounds) << what;
    EXPECT_EQ(actual.chosen, expected.chosen) << what;
    EXPECT_EQ(actual.fraction, expected.fraction) << what;
    EXPECT_EQ(actual.matrix, expected.matrix) << what;
  }
}

TEST(SetCover, RefusesLabelsThatCannotIndexAnArrayBeforeChangingAnything) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (double bad : {-1.0, nan, inf, 3e9}) {
    std::vector<double> matrix = rowsToMatrix({{2, 1}, {bad, 3}}, 2);
    std::vector<int> chosen(2, -9);
    std::vector<double> fraction(2, -9.0);
    const std::string message = failureMessage(
        [&] { setCover(matrix.data(), 2, 2, 2, chosen.data(), fraction.data()); });
    EXPECT_EQ(message.rfind("Set labels must be finite, non-negative", 0), 0u) << message;
    EXPECT_NE(message.find("element 1 is "), std::string::npos) << message;
    EXPECT_NE(message.find(" of lib/utility/utility)"), std::string::npos) << message;
    EXPECT_EQ(matrix[0], 2.0) << bad; // not normalised
    EXPECT_EQ(chosen, (std::vector<int>(2, -9))) << bad;
    EXPECT_EQ(fraction, (std::vector<double>(2, -9.0))) << bad;
  }
}

} // namespace
