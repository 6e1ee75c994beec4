// The string routines that parse: string2token, str2tokenNum,
// stringReplace, the trimming and cutting routines, and the binary and
// linear searches over the tokens. The first input byte is the delimiter,
// the second chooses the search bounds; the rest is split at the first zero
// byte into the text and a "from|to" replacement pair.
#include "fuzz_support.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

void checkTokens(const std::string &text, char delimiter) {
  std::vector<std::string> tokens;
  string2token(text, delimiter, tokens, 0);
  if (text.empty()) {
    requireProperty(tokens.empty(), "an empty text has no tokens");
    return;
  }
  std::string joined;
  strVecJoin(tokens, std::string(1, delimiter).c_str(), joined);
  // strVecJoin takes a C string: a NUL delimiter joins with nothing.
  if (delimiter != '\0')
    requireProperty(joined == text, "tokens joined by the delimiter give the text back");
}

void checkSearches(const std::string &text, char delimiter, std::uint8_t bounds) {
  std::vector<std::string> tokens;
  string2token(text, delimiter, tokens, 0);
  const std::string key = tokens.empty() ? std::string() : tokens[bounds % tokens.size()];
  std::sort(tokens.begin(), tokens.end(), [](const std::string &a, const std::string &b) {
    return std::strcmp(a.c_str(), b.c_str()) < 0;
  });
  const int n = static_cast<int>(tokens.size());
  const int lo = bounds % 4 - 2;
  const int hi = n - 2 + bounds / 64;
  const int whole = strVecBinSearchSub0(tokens, lo, hi, key);
  requireProperty(whole < n, "binary search index within the vector");
  if (whole >= 0)
    requireProperty(std::strcmp(tokens[whole].c_str(), key.c_str()) == 0, "whole match is equal");
  const int prefix = strVecBinSearchSub1(tokens, lo, hi, key);
  requireProperty(prefix < n, "prefix search index within the vector");
  if (prefix >= 0)
    requireProperty(std::strncmp(tokens[prefix].c_str(), key.c_str(), std::strlen(key.c_str())) == 0,
                    "prefix match begins with the key");
  std::vector<int> index;
  strVecBinSearch(tokens, key, index, bounds & 1);
  strVecLinSearch(tokens, key, index, bounds % 4);
  for (int i : index)
    requireProperty(i >= 0 && i < n, "linear search index within the vector");
}

void checkReplace(const std::string &text, const std::string &pair) {
  const std::size_t bar = pair.find('|');
  const std::string from = pair.substr(0, bar);
  const std::string to = bar == std::string::npos ? std::string() : pair.substr(bar + 1);
  std::string replaced = text;
  stringReplace(replaced, from, to);
  if (!from.empty() && to.find(from) == std::string::npos)
    requireProperty(replaced.find(from) == std::string::npos || from.size() > 1,
                    "a one-character pattern is gone after replacing it");
}

void checkCharacterRoutines(std::string text) {
  const int count = str2tokenNum(text.c_str(), static_cast<int>(text.size()));
  requireProperty(count >= 0 && count <= static_cast<int>(text.size() + 1) / 2,
                  "token count within the text");
  stringTrimLeadingTrailingBlank(text);
  std::vector<char> chars(text.begin(), text.end());
  chars.push_back('\0');
  cutTrailingBlank(chars.data());
  strRep(chars.data(), ' ', '_');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const char delimiter = static_cast<char>(takeByte(data, size));
  const std::uint8_t bounds = takeByte(data, size);
  const std::string input(reinterpret_cast<const char *>(data), size);
  const std::size_t zero = input.find('\0');
  const std::string text = input.substr(0, zero);
  const std::string pair = zero == std::string::npos ? std::string() : input.substr(zero + 1);
  readOrRefuse([&] {
    checkTokens(text, delimiter);
    checkSearches(text, delimiter, bounds);
    checkReplace(text, pair);
    checkCharacterRoutines(text);
  });
  return 0;
}
