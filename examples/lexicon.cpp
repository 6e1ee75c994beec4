// Reads a key-value settings file and the token table it names (a lexicon:
// one word per row, then its pronunciations, tab-separated), looks a word up,
// lists the words with a prefix and spells every pronunciation of a phrase.
// Run from the examples directory.
#include "utility.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// The value of key, or fallback when the settings do not have it.
std::string setting(const Strings &keys, const Strings &values, const char *key,
                    const char *fallback) {
  std::vector<int> found;
  strVecLinSearch(keys, key, found, 3);
  return found.empty() ? fallback : values[found.back()];
}

// The pronunciations of word, or none when the lexicon does not have it. The
// rows are sorted by word, so the first column can be searched by halving.
Strings pronunciations(const std::vector<Strings> &lexicon, const Strings &words,
                       const std::string &word) {
  std::vector<int> found;
  strVecBinSearch(words, word, found, 0);
  if (found.empty())
    return {};
  const Strings &row = lexicon[found[0]];
  return Strings(row.begin() + 1, row.end());
}

void printPronunciations(const std::vector<Strings> &lexicon, const Strings &words,
                         const std::string &word) {
  std::string joined;
  strVecJoin(pronunciations(lexicon, words, word), " | ", joined);
  std::printf("%s: %s\n", word.c_str(), joined.empty() ? "(not in the lexicon)" : joined.c_str());
}

void printWordsWithPrefix(const Strings &words, const std::string &prefix) {
  std::vector<int> found;
  strVecLinSearch(words, prefix, found, 1);
  Strings matches;
  for (int i : found)
    matches.push_back(words[i]);
  std::string joined;
  strVecJoin(matches, ", ", joined);
  std::printf("words beginning with \"%s\": %s\n", prefix.c_str(), joined.c_str());
}

void printPhraseSpellings(const std::vector<Strings> &lexicon, const Strings &words,
                          const std::string &phrase) {
  Strings phraseWords;
  string2token(phrase, ' ', phraseWords, 0);
  strVecRemoveEmptyElement(phraseWords);
  std::vector<Strings> lattice;
  for (const std::string &word : phraseWords)
    lattice.push_back(pronunciations(lexicon, words, word));
  Strings paths;
  getAllLatticePath(lattice, paths);
  std::printf("%zu spellings of \"%s\":\n", paths.size(), phrase.c_str());
  for (const std::string &path : paths)
    std::printf("  %s\n", path.c_str());
}

} // namespace

int main() {
  try {
    Strings keys, values;
    keyValuePairRead("settings.txt", keys, values);
    for (std::size_t i = 0; i < keys.size(); ++i)
      std::printf("setting %s = %s\n", keys[i].c_str(), values[i].c_str());

    const std::string lexiconPath = setting(keys, values, "lexicon", "lexicon.tsv");
    const std::vector<Strings> lexicon = fileRead(lexiconPath.c_str());
    Strings words;
    for (const Strings &row : lexicon)
      words.push_back(row[0]);
    std::printf("%zu words in %s\n", words.size(), lexiconPath.c_str());

    printPronunciations(lexicon, words, setting(keys, values, "lookup", "read"));
    printWordsWithPrefix(words, setting(keys, values, "prefix", "re"));
    printPhraseSpellings(lexicon, words, setting(keys, values, "phrase", "read"));
  } catch (const LibraryFailure &failure) {
    std::fprintf(stderr, "lexicon example failed: %s\n", failure.what());
    return 1;
  }
  return 0;
}
