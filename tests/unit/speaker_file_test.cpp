#include "clusterkit.h"
#include "tagged_file_fixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace {

const char *const kHeader = "<comment>\nspeaker file for the tests\n"
                            "<version>\n0.9\n"
                            "<feaDim>\n2\n"
                            "<personName>\nalice\n";

// A speaker file of sentenceCount sentences of frameNum frames each; the
// values count up from 1 through the whole file.
std::string speakerFile(int feaDim, int sentenceCount, int frameNum) {
  std::ostringstream text;
  text << withReplacements(kHeader, {{"<feaDim>\n2", "<feaDim>\n" + std::to_string(feaDim)}})
       << "<sentenceNum>\n" << sentenceCount << "\n";
  int value = 1;
  for (int s = 0; s < sentenceCount; ++s) {
    text << "<sentence>\n" << 100 - s << "\n<frameNum>\n" << frameNum << "\n<mfcc>\n";
    for (int k = 0; k < frameNum * feaDim; ++k)
      text << value++ << (k % 10 == 9 ? "\n" : " ");
    text << "\n";
  }
  return text.str();
}

// The record is about 4 MB: always on the heap.
std::unique_ptr<SPEAKERMFCC> newSpeaker() { return std::make_unique<SPEAKERMFCC>(); }

LibraryOutcome readSpeakerFailure(const std::string &text) {
  TempFile file(text);
  auto speaker = newSpeaker();
  LibraryOutcome outcome = runLibrary([&] { speakerMfccRead(file.path(), *speaker); });
  EXPECT_TRUE(outcome.failed);
  return outcome;
}

TEST(SpeakerMfccRead, ReadsHeaderAndSentencesWhateverTheirNumbers) {
  TempFile file(speakerFile(2, 3, 4));
  auto speaker = newSpeaker();
  speakerMfccRead(file.path(), *speaker);
  EXPECT_STREQ(speaker->fileName, file.path());
  EXPECT_STREQ(speaker->comment, "speaker file for the tests");
  EXPECT_STREQ(speaker->version, "0.9");
  EXPECT_STREQ(speaker->personName, "alice");
  EXPECT_EQ(speaker->feaDim, 2);
  ASSERT_EQ(speaker->sentenceNum, 3);
  for (int s = 0; s < 3; ++s) {
    EXPECT_EQ(speaker->sentence[s].frameNum, 4);
    for (int k = 0; k < 8; ++k)
      EXPECT_EQ(speaker->sentence[s].mfcc[k], 8.0f * s + k + 1);
  }
}

TEST(SpeakerMfccRead, CapacitiesAreTestedStrictly) {
  auto speaker = newSpeaker();
  {
    TempFile full(speakerFile(1, 100, 1));
    speakerMfccRead(full.path(), *speaker);
    EXPECT_EQ(speaker->sentenceNum, 100);
    EXPECT_EQ(speaker->sentence[99].mfcc[0], 100.0f);
  }
  {
    TempFile fullSentence(speakerFile(10, 1, 1000));
    speakerMfccRead(fullSentence.path(), *speaker);
    EXPECT_EQ(speaker->sentence[0].mfcc[9999], 10000.0f);
  }
  LibraryOutcome outcome = readSpeakerFailure(speakerFile(1, 101, 1));
  EXPECT_EQ(outcome.message, "MAX_SENTENCE_NUM_PER_PERSON too small!");
  EXPECT_EQ(outcome.printed, "MAX_SENTENCE_NUM_PER_PERSON too small!\n" + std::string(kSavedErrorLog));
  outcome = readSpeakerFailure(speakerFile(1, 1, 10001));
  EXPECT_EQ(outcome.printed, "MAX_MFCC_SIZE too small!\n" + std::string(kSavedErrorLog));
  // A product that would wrap around the int range is still too large.
  outcome = readSpeakerFailure(withReplacements(speakerFile(65536, 1, 0),
                                                {{"<frameNum>\n0", "<frameNum>\n65536"}}));
  EXPECT_EQ(outcome.message, "MAX_MFCC_SIZE too small!");
}

TEST(SpeakerMfccRead, NoSentencesEndsTheReadAfterTheCount) {
  TempFile file(speakerFile(2, 0, 0) + "anything at all");
  auto speaker = newSpeaker();
  speakerMfccRead(file.path(), *speaker);
  EXPECT_EQ(speaker->sentenceNum, 0);
}

TEST(SpeakerMfccRead, ShortFeatureListLeavesValuesAndFindsTheNextSentence) {
  const std::string text = withReplacements(speakerFile(2, 2, 2), {{"1 2 3 4", "1 2 3"}});
  TempFile file(text);
  auto speaker = newSpeaker();
  speaker->sentence[0].mfcc[3] = -7.0f;
  speakerMfccRead(file.path(), *speaker);
  EXPECT_EQ(speaker->sentence[0].mfcc[2], 3.0f);
  EXPECT_EQ(speaker->sentence[0].mfcc[3], -7.0f);
  EXPECT_EQ(speaker->sentence[1].mfcc[0], 5.0f);
}

TEST(SpeakerMfccRead, EachMissingTagPrintsTheTokenReadAndItsMessage) {
  const char *tags[] = {"<comment>",     "<version>",  "<feaDim>", "<personName>",
                        "<sentenceNum>", "<sentence>", "<frameNum>", "<mfcc>"};
  for (const char *tag : tags) {
    const LibraryOutcome outcome =
        readSpeakerFailure(withReplacements(speakerFile(2, 1, 1), {{tag, "<other>"}}));
    const std::string message = std::string("Cannot find \"") + tag + "\"!";
    EXPECT_EQ(outcome.message, message);
    EXPECT_EQ(outcome.printed, "temp=<other>\n" + message + "\n" + kSavedErrorLog);
  }
  // An empty comment line makes the version line the comment.
  const LibraryOutcome outcome = readSpeakerFailure(
      withReplacements(speakerFile(2, 1, 1), {{"speaker file for the tests\n", "\n"}}));
  EXPECT_EQ(outcome.printed, "temp=0.9\nCannot find \"<version>\"!\n" + std::string(kSavedErrorLog));
}

TEST(SpeakerMfccRead, RefusesNegativeSizes) {
  LibraryOutcome outcome = readSpeakerFailure(speakerFile(-2, 1, 3));
  EXPECT_EQ(outcome.message, "Negative feaDim (-2)!");
  outcome = readSpeakerFailure(
      withReplacements(speakerFile(2, 2, 1), {{"<frameNum>\n1\n<mfcc>\n3", "<frameNum>\n-1\n<mfcc>\n3"}}));
  EXPECT_EQ(outcome.message, "Negative frameNum (-1) in sentence 2!");
}

TEST(SpeakerMfccRead, LongValuesAreCutAndLongTagsDoNotOverrun) {
  const std::string longName(300, 'n');
  TempFile file(withReplacements(speakerFile(2, 1, 1), {{"alice", longName}}));
  auto speaker = newSpeaker();
  speakerMfccRead(file.path(), *speaker);
  EXPECT_EQ(std::string(speaker->personName), longName.substr(0, 99));
  EXPECT_EQ(speaker->sentenceNum, 1);
  const LibraryOutcome outcome =
      readSpeakerFailure(withReplacements(speakerFile(2, 1, 1), {{"<mfcc>", "<mfcc>" + longName}}));
  EXPECT_EQ(outcome.printed, "temp=" + ("<mfcc>" + longName).substr(0, 99) +
                                 "\nCannot find \"<mfcc>\"!\n" + kSavedErrorLog);
}

} // namespace
