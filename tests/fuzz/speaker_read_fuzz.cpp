// speakerMfccRead on arbitrary file content: every input is read or refused
// through the library's failure path, and a record that is read keeps its
// counts within the record's capacity.
#include "clusterkit.h"
#include "fuzz_support.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  // About 4 MB: made once, off the stack.
  static const std::unique_ptr<SPEAKERMFCC> speaker(new SPEAKERMFCC());
  const std::string path = writeInputFile(data, size, "mfcc");
  readOrRefuse([&] {
    speakerMfccRead(path.c_str(), *speaker);
    requireProperty(speaker->sentenceNum <= MAX_SENTENCE_NUM_PER_PERSON,
                    "sentenceNum within the record");
    for (int i = 0; i < speaker->sentenceNum; ++i)
      requireProperty(static_cast<long long>(speaker->sentence[i].frameNum) * speaker->feaDim <=
                          MAX_MFCC_SIZE,
                      "frameNum * feaDim within the sentence");
  });
  return 0;
}
