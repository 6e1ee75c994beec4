// The speaker feature file: one speaker's sentences of feature frames, read
// into a record of fixed capacity.
#include "speaker_file.h"

#include "tagged_text.h"

namespace {

void clearHeader(SPEAKERMFCC &speaker) {
  speaker.fileName[0] = speaker.comment[0] = speaker.version[0] = speaker.personName[0] = '\0';
  speaker.feaDim = speaker.sentenceNum = 0;
}

void readSentence(TaggedTextReader &reader, int index, int feaDim, SENTENCEMFCC &sentence) {
  int sentenceNumber = 0; // read and not kept: the file's numbering is free
  reader.requireTag("<sentence>");
  reader.readInt(sentenceNumber);
  reader.requireTag("<frameNum>");
  reader.readInt(sentence.frameNum);
  if (sentence.frameNum < 0)
    failWithPrintedFormat("Negative frameNum (%d) in sentence %d!\n", sentence.frameNum, index + 1);
  reader.requireTag("<mfcc>");
  // Both factors are at least 0 here; the product is taken wide so that it
  // cannot wrap past the capacity test.
  const long long count = static_cast<long long>(sentence.frameNum) * feaDim;
  if (count > MAX_MFCC_SIZE)
    failWithPrintedMessage("MAX_MFCC_SIZE too small!\n");
  // At the end of the file the values not read stay as they were, and the
  // next tag read reports what is missing.
  for (long long k = 0; k < count; ++k)
    if (!reader.readFloat(sentence.mfcc[k]))
      return;
}

} // namespace

void speakerMfccRead(const char *fileName, SPEAKERMFCC &speaker) {
  clearHeader(speaker);
  copyToField(speaker.fileName, fileName);
  TaggedTextReader reader(fileName);
  reader.requireTag("<comment>");
  reader.readRestOfLine(speaker.comment);
  reader.requireTag("<version>");
  reader.readToken(speaker.version);
  reader.requireTag("<feaDim>");
  reader.readInt(speaker.feaDim);
  if (speaker.feaDim < 0)
    failWithPrintedFormat("Negative feaDim (%d)!\n", speaker.feaDim);
  reader.requireTag("<personName>");
  reader.readToken(speaker.personName);
  reader.requireTag("<sentenceNum>");
  reader.readInt(speaker.sentenceNum);
  if (speaker.sentenceNum > MAX_SENTENCE_NUM_PER_PERSON)
    failWithPrintedMessage("MAX_SENTENCE_NUM_PER_PERSON too small!\n");
  for (int i = 0; i < speaker.sentenceNum; ++i)
    readSentence(reader, i, speaker.feaDim, speaker.sentence[i]);
}
