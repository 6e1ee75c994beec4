// The speaker feature file: the sentences of one speaker's features.
#ifndef CLUSTERKIT_SPEAKER_FILE_H
#define CLUSTERKIT_SPEAKER_FILE_H

#include "utility.h"

// Tagged text: "<comment>" (rest of its line), "<version>", "<feaDim>",
// "<personName>", "<sentenceNum>", then per sentence "<sentence>" (a number
// that is not kept), "<frameNum>" and "<mfcc>" (frameNum*feaDim values).

/// Sentences a SPEAKERMFCC can hold.
constexpr int MAX_SENTENCE_NUM_PER_PERSON = 100;
/// Feature values one sentence can hold.
constexpr int MAX_MFCC_SIZE = 10000;

/// The feature frames of one sentence: the first frameNum*feaDim values of
/// mfcc, in the order of the file.
struct SENTENCEMFCC {
  int frameNum;
  float mfcc[MAX_MFCC_SIZE];
};

/// One speaker's sentences, all data inline: about 4 MB, so keep it off the
/// stack. Character fields hold at most 99 characters and their terminator.
struct SPEAKERMFCC {
  char fileName[100];
  char comment[100];
  char version[100];
  char personName[100];
  int feaDim;      ///< feature values per frame
  int sentenceNum; ///< sentences in use, the first ones of sentence[]
  SENTENCEMFCC sentence[MAX_SENTENCE_NUM_PER_PERSON];
};

/// Reads the speaker feature file fileName into speaker; allocates nothing.
/// Fails through myExit, with the file closed, on a tag that does not match
/// (printing "temp=<token read>" and "Cannot find \"<tag>\"!"), on more than
/// MAX_SENTENCE_NUM_PER_PERSON sentences or more than MAX_MFCC_SIZE values in
/// a sentence (printing the capacity's message), on a negative feaDim or
/// frameNum, and on an integer beyond the int range ("Value of \"<tag>\"
/// beyond the int range: <text>!"). Reading stops at the end of the file.
void speakerMfccRead(const char *fileName, SPEAKERMFCC &speaker);

#endif // CLUSTERKIT_SPEAKER_FILE_H
