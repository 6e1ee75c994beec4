#include "clusterkit.h"
#include "tagged_file_fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char *const kGoodModel = "<comment>\n"
                               "two mixtures for the tests\n"
                               "<version>\n1.2\n"
                               "<gmmType>\n2\n"
                               "<name>\ntestModel\n"
                               "<dim>\n3\n"
                               "<mixNum>\n2\n"
                               "<mean>\n1 2 3\n4 5 6\n"
                               "<covariance>\n0.5 0.25\n"
                               "<weight>\n0.4 0.6\n"
                               "<gConst>\n-1 -2\n";

// The good model with the first occurrence of from replaced by to.
std::string goodModelWith(const std::string &from, const std::string &to) {
  return withReplacements(kGoodModel, {{from, to}});
}

// Reads text as a model file and returns the failure message, with what was
// printed; the record's arrays must be gone afterwards.
LibraryOutcome readModelFailure(const std::string &text) {
  TempFile file(text);
  GMMPARAM gmm;
  LibraryOutcome outcome = runLibrary([&] { gmmRead(file.path(), gmm); });
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(gmm.mean, nullptr);
  EXPECT_EQ(gmm.gConst, nullptr);
  return outcome;
}

TEST(GmmRead, ReadsEveryItemOfAWellFormedFile) {
  TempFile file(kGoodModel);
  GMMPARAM gmm;
  gmmRead(file.path(), gmm);
  EXPECT_STREQ(gmm.fileName, file.path());
  EXPECT_STREQ(gmm.comment, "two mixtures for the tests");
  EXPECT_STREQ(gmm.version, "1.2");
  EXPECT_EQ(gmm.gmmType, 2);
  EXPECT_STREQ(gmm.name, "testModel");
  ASSERT_EQ(gmm.dim, 3);
  ASSERT_EQ(gmm.mixNum, 2);
  for (int k = 0; k < 6; ++k)
    EXPECT_EQ(gmm.mean[k], k + 1.0);
  EXPECT_EQ(gmm.covariance[1], 0.25);
  EXPECT_EQ(gmm.weight[0], 0.4);
  EXPECT_EQ(gmm.gConst[1], -2.0);
  gmmFree(gmm);
  EXPECT_EQ(gmm.mean, nullptr);
  EXPECT_EQ(gmm.dim, 3);
  gmmFree(gmm); // a second release does nothing
}

TEST(GmmRead, PrintedRecordReadsBackToThePrecisionOfItsFormat) {
  GMMPARAM gmm{};
  std::strcpy(gmm.comment, "round trip, with blanks");
  std::strcpy(gmm.version, "3.1.4");
  std::strcpy(gmm.name, "roundTrip");
  gmm.gmmType = 1;
  gmmAllocate(gmm, 2, 3);
  const double values[] = {1.0 / 3.0, -2.5e-7, 12345.678, 0.0, -1e10, 2.0};
  for (int k = 0; k < 6; ++k)
    gmm.mean[k] = values[k];
  for (int j = 0; j < 3; ++j) {
    gmm.covariance[j] = 0.1 * (j + 1);
    gmm.weight[j] = 1.0 / 3.0;
    gmm.gConst[j] = -j - 0.5;
  }
  testing::internal::CaptureStdout();
  gmmPrint(gmm);
  TempFile file(testing::internal::GetCapturedStdout());

  GMMPARAM back;
  gmmRead(file.path(), back);
  EXPECT_STREQ(back.comment, gmm.comment);
  EXPECT_STREQ(back.version, gmm.version);
  EXPECT_STREQ(back.name, gmm.name);
  EXPECT_EQ(back.gmmType, 1);
  ASSERT_EQ(back.dim, 2);
  ASSERT_EQ(back.mixNum, 3);
  auto printed = [](double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%e", v);
    return std::strtod(text, nullptr);
  };
  for (int k = 0; k < 6; ++k)
    EXPECT_EQ(back.mean[k], printed(gmm.mean[k]));
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(back.covariance[j], printed(gmm.covariance[j]));
    EXPECT_EQ(back.weight[j], printed(gmm.weight[j]));
    EXPECT_EQ(back.gConst[j], printed(gmm.gConst[j]));
  }
  gmmFree(gmm);
  gmmFree(back);
}

TEST(GmmPrint, LayoutOfAModelWithoutMixtures) {
  GMMPARAM gmm{};
  std::strcpy(gmm.comment, "c");
  std::strcpy(gmm.version, "v");
  std::strcpy(gmm.name, "n");
  gmmAllocate(gmm, 4, 0);
  testing::internal::CaptureStdout();
  gmmPrint(gmm);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "<comment>\nc\n<version>\nv\n<gmmType>\n0\n<name>\nn\n<dim>\n4\n<mixNum>\n0\n"
            "<mean>\n<covariance>\n\n<weight>\n\n<gConst>\n\n");
  gmmFree(gmm);
}

TEST(GmmPrint, WritesAMeanLineEvenForDimensionZero) {
  GMMPARAM gmm{};
  gmmAllocate(gmm, 0, 2);
  gmm.weight[0] = 1.5;
  testing::internal::CaptureStdout();
  gmmPrint(gmm);
  const std::string text = testing::internal::GetCapturedStdout();
  EXPECT_NE(text.find("<mean>\n\n\n<covariance>\n0.000000e+00 0.000000e+00 \n"
                      "<weight>\n1.500000e+00 0.000000e+00 \n"),
            std::string::npos)
      << text;
  gmmFree(gmm);
}

TEST(GmmRead, CommentOnTheTagLineAndNumbersSpreadOverLines) {
  TempFile file(withReplacements(kGoodModel, {{"<comment>\ntwo", "<comment>   two"},
                                              {"1 2 3\n4 5 6", "1\n2 3 4\n\n5 6"}}));
  GMMPARAM gmm;
  gmmRead(file.path(), gmm);
  EXPECT_STREQ(gmm.comment, "two mixtures for the tests");
  EXPECT_EQ(gmm.mean[3], 4.0);
  gmmFree(gmm);
}

TEST(GmmRead, TooFewMeansLeaveZerosAndTooFewConstantsAreZero) {
  TempFile file(withReplacements(kGoodModel, {{"4 5 6", "4"}, {"-1 -2", "-1"}}));
  GMMPARAM gmm;
  gmmRead(file.path(), gmm);
  EXPECT_EQ(gmm.mean[3], 4.0);
  EXPECT_EQ(gmm.mean[4], 0.0);
  EXPECT_EQ(gmm.mean[5], 0.0);
  EXPECT_EQ(gmm.weight[1], 0.6);
  EXPECT_EQ(gmm.gConst[0], -1.0);
  EXPECT_EQ(gmm.gConst[1], 0.0);
  gmmFree(gmm);
}

TEST(GmmRead, EachMissingTagPrintsTheTokenReadAndItsMessage) {
  const char *tags[] = {"<comment>", "<version>", "<gmmType>",    "<name>",   "<dim>",
                        "<mixNum>",  "<mean>",    "<covariance>", "<weight>", "<gConst>"};
  for (const char *tag : tags) {
    const LibraryOutcome outcome = readModelFailure(goodModelWith(tag, "<wrong>"));
    const std::string message = std::string("Cannot find \"") + tag + "\"!";
    EXPECT_EQ(outcome.message, message);
    EXPECT_EQ(outcome.printed, "temp=<wrong>\n" + message + "\n" + kSavedErrorLog) << tag;
  }
}

TEST(GmmRead, MismatchesThePartDescribes) {
  // An empty comment line makes the version line the comment.
  LibraryOutcome outcome = readModelFailure(goodModelWith("two mixtures for the tests\n", "\n"));
  EXPECT_EQ(outcome.printed, "temp=1.2\nCannot find \"<version>\"!\n" + std::string(kSavedErrorLog));
  // One value too many under <covariance> is taken for the next tag.
  outcome = readModelFailure(goodModelWith("0.5 0.25", "0.5 0.25 0.125"));
  EXPECT_EQ(outcome.printed, "temp=0.125\nCannot find \"<weight>\"!\n" + std::string(kSavedErrorLog));
  // Tags match case-sensitively.
  outcome = readModelFailure(goodModelWith("<mean>", "<Mean>"));
  EXPECT_EQ(outcome.message, "Cannot find \"<mean>\"!");
  // A number that does not parse stays in the stream for the next tag.
  outcome = readModelFailure(goodModelWith("0.4 0.6", "0.4 x"));
  EXPECT_EQ(outcome.printed, "temp=x\nCannot find \"<gConst>\"!\n" + std::string(kSavedErrorLog));
  // The file ends where a tag should be: nothing was read.
  outcome = readModelFailure(std::string(kGoodModel).substr(0, std::string(kGoodModel).find("<gConst>")));
  EXPECT_EQ(outcome.printed, "temp=\nCannot find \"<gConst>\"!\n" + std::string(kSavedErrorLog));
}

TEST(GmmRead, LongValuesAreCutAndLongTagsDoNotOverrun) {
  const std::string longText(150, 'v');
  TempFile longValues(withReplacements(
      kGoodModel, {{"1.2", longText}, {"two mixtures for the tests", longText + " more"}}));
  GMMPARAM gmm;
  gmmRead(longValues.path(), gmm);
  EXPECT_EQ(std::string(gmm.version), longText.substr(0, 99));
  EXPECT_EQ(std::string(gmm.comment), longText.substr(0, 99));
  EXPECT_EQ(gmm.gmmType, 2); // the rest of the long version was not taken for a tag
  gmmFree(gmm);

  const std::string longTag = "<name>" + std::string(200, 'x');
  const LibraryOutcome outcome = readModelFailure(goodModelWith("<name>", longTag));
  EXPECT_EQ(outcome.printed, "temp=" + longTag.substr(0, 99) + "\nCannot find \"<name>\"!\n" +
                                 kSavedErrorLog);
}

TEST(GmmRead, LongPathIsOpenedWholeAndKeptCut) {
  TempDir dir;
  const std::string path = dir.path() + "/" + std::string(120, 'p') + ".gmm";
  writeFile(path, kGoodModel);
  GMMPARAM gmm;
  gmmRead(path.c_str(), gmm);
  EXPECT_EQ(std::string(gmm.fileName), path.substr(0, 99));
  EXPECT_EQ(gmm.mixNum, 2);
  gmmFree(gmm);
  std::remove(path.c_str());
}

TEST(GmmRead, RefusesNegativeAndUnallocatableSizesBeforeAllocating) {
  LibraryOutcome outcome = readModelFailure(goodModelWith("<dim>\n3", "<dim>\n-3"));
  EXPECT_EQ(outcome.message, "Invalid mixture model size: dim -3, mixNum 2 (neither may be negative)!");
  outcome = readModelFailure(goodModelWith("<mixNum>\n2", "<mixNum>\n-1"));
  EXPECT_EQ(outcome.message, "Invalid mixture model size: dim 3, mixNum -1 (neither may be negative)!");
  outcome = readModelFailure(goodModelWith("<dim>\n3", "<dim>\n2000000000"));
  EXPECT_EQ(outcome.message, "Mixture model too large: dim 2000000000 times mixNum 2 values!");
}

TEST(GmmRead, MissingFileFailsThroughOpenFile) {
  GMMPARAM gmm;
  const LibraryOutcome outcome = runLibrary([&] { gmmRead("/nonexistent/model.gmm", gmm); });
  ASSERT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.message.rfind("Cannot open file /nonexistent/model.gmm", 0), 0u);
}

TEST(GmmRead, TheDocumentedExampleModelReads) {
  GMMPARAM gmm;
  gmmRead(CLUSTERKIT_SOURCE_DIR "/docs/example_model.gmm", gmm);
  EXPECT_EQ(gmm.dim, 2);
  EXPECT_EQ(gmm.mixNum, 3);
  EXPECT_EQ(gmm.mean[5], 3.5);
  EXPECT_EQ(gmm.covariance[2], 0.81);
  gmmFree(gmm);
}

} // namespace
