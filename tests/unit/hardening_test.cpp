// Inputs from an outside attack on the readers and the console routines:
// sizes a file cannot hold, integers beyond the int range, a partial binary
// element, null paths, and waits that are not numbers or beyond any clock.
#include "clusterkit.h"
#include "tagged_file_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// A model file that ends after "<mean>", with the given header values.
std::string truncatedModel(const std::string &dim, const std::string &mixNum) {
  return "<comment> c\n<version> 1\n<gmmType> 1\n<name> n\n<dim> " + dim + "\n<mixNum> " + mixNum +
         "\n<mean>\n";
}

std::string speakerHeader(const std::string &feaDim, const std::string &sentenceNum) {
  return "<comment> c\n<version> 1\n<feaDim> " + feaDim + "\n<personName> p\n<sentenceNum> " +
         sentenceNum + "\n";
}

LibraryOutcome readModel(const std::string &text) {
  TempFile file(text);
  GMMPARAM gmm;
  LibraryOutcome outcome = runLibrary([&] { gmmRead(file.path(), gmm); });
  if (!outcome.failed)
    gmmFree(gmm);
  return outcome;
}

LibraryOutcome readSpeaker(const std::string &text) {
  TempFile file(text);
  auto speaker = std::make_unique<SPEAKERMFCC>();
  return runLibrary([&] { speakerMfccRead(file.path(), *speaker); });
}

TEST(ReaderLimits, ADeclaredSizeTheFileCannotHoldIsRefusedBeforeAnyReservation) {
  // 46340 x 46340 values (17 GB) declared by a 79-byte file.
  const LibraryOutcome huge = readModel(truncatedModel("46340", "46340"));
  EXPECT_TRUE(huge.failed);
  EXPECT_EQ(huge.message, "The file is too short for dim 46340 and mixNum 46340 (2147534620 "
                          "values, 8 bytes left)!");
  EXPECT_NE(huge.printed.find(huge.message + "\n"), std::string::npos);
  // 12 values: one byte short of them, and exactly enough.
  EXPECT_EQ(readModel(truncatedModel("1", "3") + "   ").message,
            "The file is too short for dim 1 and mixNum 3 (12 values, 11 bytes left)!");
  const LibraryOutcome fits = readModel(truncatedModel("1", "3") + "    ");
  EXPECT_EQ(fits.message, "Cannot find \"<covariance>\"!");
}

TEST(ReaderLimits, IntegersBeyondTheIntRangeAreRefusedNotWrapped) {
  struct Case {
    std::string text;
    std::string message;
  };
  const std::string model = truncatedModel("2", "1");
  const std::vector<Case> modelCases = {
      {withReplacements(model, {{"<mixNum> 1", "<mixNum> 4294967298"}}),
       "Value of \"<mixNum>\" beyond the int range: 4294967298!"},
      {withReplacements(model, {{"<mixNum> 1", "<mixNum> 103333333333"}}),
       "Value of \"<mixNum>\" beyond the int range: 103333333333!"},
      {withReplacements(model, {{"<dim> 2", "<dim> -2147483649"}}),
       "Value of \"<dim>\" beyond the int range: -2147483649!"},
      {withReplacements(model, {{"<gmmType> 1", "<gmmType> +99999999999999999999999999"}}),
       "Value of \"<gmmType>\" beyond the int range: +99999999999999999999999999!"},
  };
  for (const Case &c : modelCases) {
    const LibraryOutcome outcome = readModel(c.text);
    EXPECT_TRUE(outcome.failed) << c.text;
    EXPECT_EQ(outcome.message, c.message);
    EXPECT_NE(outcome.printed.find(c.message + "\n"), std::string::npos);
  }
  EXPECT_EQ(readSpeaker(speakerHeader("4294967297", "0")).message,
            "Value of \"<feaDim>\" beyond the int range: 4294967297!");
  EXPECT_EQ(readSpeaker(speakerHeader("2", "1") + "<sentence> 9999999999\n").message,
            "Value of \"<sentence>\" beyond the int range: 9999999999!");

  // The ends of the range are read as they are.
  TempFile edges(withReplacements(model, {{"<gmmType> 1", "<gmmType> -2147483648"},
                                          {"<dim> 2", "<dim> 2147483647"},
                                          {"<mixNum> 1", "<mixNum> 0"}}) +
                 "<covariance> <weight> <gConst>");
  GMMPARAM gmm;
  gmmRead(edges.path(), gmm);
  EXPECT_EQ(gmm.gmmType, std::numeric_limits<int>::min());
  EXPECT_EQ(gmm.dim, std::numeric_limits<int>::max());
  gmmFree(gmm);
}

TEST(ReaderLimits, APartialTrailingBinaryElementLeavesItsElementUntouched) {
  TempFile sixBytes(std::string("\x01\x00\x00\x00\x7f\x7f", 6));
  int ints[3] = {-1, -1, -1};
  readBinTable(sixBytes.path(), ints, 3);
  EXPECT_EQ(std::vector<int>(ints, ints + 3), (std::vector<int>{1, -1, -1}));

  const double one = 1.0;
  TempFile twelveBytes(std::string(reinterpret_cast<const char *>(&one), 8) + "\x01\x02\x03\x04");
  double doubles[2] = {-1.0, -1.0};
  readBinTable(twelveBytes.path(), doubles, 2);
  EXPECT_EQ(std::vector<double>(doubles, doubles + 2), (std::vector<double>{1.0, -1.0}));
}

TEST(ReaderLimits, NullPathsFailThroughTheLibrary) {
  double doubles[1] = {0};
  int ints[1] = {0};
  char *nullPath = nullptr;
  for (const LibraryOutcome &outcome :
       {runLibrary([&] { readTable(nullptr, doubles, 1); }),
        runLibrary([&] { readTable(nullptr, ints, 1); }),
        runLibrary([&] { getExtName(static_cast<const char *>(nullptr)); }),
        runLibrary([&] { getExtName(nullPath); })}) {
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.message.rfind("Null path given to getExtName (line ", 0), 0u)
        << outcome.message;
  }
}

TEST(ReaderLimits, SleepTakesNotANumberAndNegativeWaitsAsNoWait) {
  // Under the undefined-behaviour sanitizer these conversions were reported.
  const std::clock_t start = std::clock();
  sleep(std::numeric_limits<float>::quiet_NaN());
  sleep(-std::numeric_limits<float>::infinity());
  sleep(-1e30f);
  EXPECT_LT(std::clock() - start, CLOCKS_PER_SEC / 10);
}

TEST(ReaderLimits, TruncationToLongLongSaturates) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::pair<double, long long>> cases = {
      {std::nan(""), 0},
      {2.9, 2},
      {-2.9, -2},
      {1e30, std::numeric_limits<long long>::max()},
      {inf, std::numeric_limits<long long>::max()},
      {-inf, std::numeric_limits<long long>::min()},
      {9223372036854775808.0, std::numeric_limits<long long>::max()},
      {-9223372036854775808.0, std::numeric_limits<long long>::min()},
      {9223372036854774784.0, 9223372036854774784LL}};
  for (const auto &c : cases)
    EXPECT_EQ(truncateToLongLong(c.first), c.second) << c.first;
}

} // namespace
