#include "test_support.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// Literal forms of the routines, kept as oracles for the faster code.

Strings string2tokenByStream(const std::string &str, char delimiter) {
  Strings tokens;
  if (str.empty())
    return tokens;
  std::istringstream stream(str);
  std::string token;
  while (std::getline(stream, token, delimiter))
    tokens.push_back(token);
  if (str.back() == delimiter)
    tokens.push_back("");
  return tokens;
}

void strRepRemeasuring(char *str, char from, char to) {
  for (std::size_t i = 0; i < std::strlen(str); ++i)
    if (str[i] == from)
      str[i] = to;
}

int str2tokenNumWalk(const char *s, int len) {
  int count = 0;
  bool inToken = false;
  for (int i = 0; i < len; ++i) {
    const bool space = std::isspace(static_cast<unsigned char>(s[i])) != 0;
    if (!inToken) {
      if (!space) {
        inToken = true;
        ++count;
      }
    } else if (space || i == len - 1) {
      inToken = false;
    }
    if (s[i] == '\n')
      break;
  }
  return count;
}

int binSearchRecursive(const Strings &vec, int lo, int hi, const std::string &key, bool prefix) {
  const int mid = (lo + hi) / 2;
  const int order = prefix ? std::strncmp(key.c_str(), vec[mid].c_str(), key.size())
                           : std::strcmp(key.c_str(), vec[mid].c_str());
  if (order == 0)
    return mid;
  if (order < 0)
    hi = mid - 1;
  else
    lo = mid + 1;
  if (hi < lo)
    return -1;
  return binSearchRecursive(vec, lo, hi, key, prefix);
}

Strings latticePathsByBlocks(const std::vector<Strings> &lattice) {
  Strings paths = lattice[0];
  for (std::size_t c = 1; c < lattice.size(); ++c) {
    const Strings prev = paths;
    const std::size_t k = lattice[c].size();
    if (k >= 2)
      for (std::size_t copy = 0; copy + 1 < k; ++copy)
        paths.insert(paths.end(), prev.begin(), prev.end());
    for (std::size_t b = 0; b < k; ++b)
      for (std::size_t p = 0; p < prev.size(); ++p)
        paths[b * prev.size() + p] += "-" + lattice[c][b];
  }
  return paths;
}

// Random strings over a small alphabet, so that delimiters, blanks and
// repeats are frequent.
std::string randomText(std::mt19937 &random, const std::string &alphabet, int maxLength) {
  std::string text(random() % static_cast<unsigned>(maxLength + 1), ' ');
  for (char &c : text)
    c = alphabet[random() % alphabet.size()];
  return text;
}

TEST(CharacterClasses, BlankTrailingBlankAndWhiteSpaceDiffer) {
  for (char c : {'\0', '\t', '\n', '\r', ' '})
    EXPECT_EQ(isBlank(c), 1) << int(c);
  for (char c : {'\v', '\f', 'a', '\x80'})
    EXPECT_EQ(isBlank(c), 0) << int(c);

  const auto cut = [](const std::string &text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    cutTrailingBlank(buffer.data());
    return std::string(buffer.data());
  };
  EXPECT_EQ(cut("ab \t\r\n"), "ab");
  EXPECT_EQ(cut("ab\v "), "ab\v");
  EXPECT_EQ(cut(" \n"), "");
  EXPECT_EQ(cut(""), "");

  std::string padded = "\v\f a b\t\r\n";
  stringTrimLeadingTrailingBlank(padded);
  EXPECT_EQ(padded, "a b");
  std::string blanks = " \v ";
  stringTrimLeadingTrailingBlank(blanks);
  EXPECT_EQ(blanks, "");
  EXPECT_EQ(str2tokenNum("a\vb\fc", 5), 3);
}

TEST(CaseChanges, OnlyAsciiLettersChange) {
  std::string text = "Az@[`{\xC4\xE4 09";
  stringToLowerCase(text);
  EXPECT_EQ(text, "az@[`{\xC4\xE4 09");
  stringToUpperCase(text);
  EXPECT_EQ(text, "AZ@[`{\xC4\xE4 09");

  char *lower = nullptr;
  str2Lower("MiXeD 1\xC4", lower);
  ASSERT_NE(lower, nullptr);
  EXPECT_STREQ(lower, "mixed 1\xC4");
  delete[] lower;
}

TEST(StrRep, CutsAtANulReplacementAndMatchesTheRemeasuringScan) {
  char cut[] = "a,b,c";
  strRep(cut, ',', '\0');
  EXPECT_STREQ(cut, "a");
  std::mt19937 random(7);
  for (int trial = 0; trial < 500; ++trial) {
    const std::string text = randomText(random, "ab,", 12);
    const char from = "ab,\0"[random() % 4];
    const char to = "ab,\0"[random() % 4];
    std::vector<char> fast(text.begin(), text.end()), literal(text.begin(), text.end());
    fast.push_back('\0');
    literal.push_back('\0');
    strRep(fast.data(), from, to);
    strRepRemeasuring(literal.data(), from, to);
    EXPECT_EQ(fast, literal) << text;
  }
}

TEST(Str2tokenNum, StopsAtTheLineFeedAndAgreesWithTheWalk) {
  EXPECT_EQ(str2tokenNum("  ab cd\nef", 10), 2);
  EXPECT_EQ(str2tokenNum("  ab cd\nef", 4), 1);
  EXPECT_EQ(str2tokenNum("ab", 0), 0);
  EXPECT_EQ(str2tokenNum("ab", -3), 0);
  // Nothing after the terminator is read, whatever len says.
  const char buffer[8] = {'a', 'b', '\0', 'c', ' ', 'd', '\0', '\0'};
  EXPECT_EQ(str2tokenNum(buffer, 8), 1);
  std::mt19937 random(11);
  for (int trial = 0; trial < 500; ++trial) {
    const std::string text = randomText(random, "ab \t\n\v", 12);
    const int len = static_cast<int>(random() % (text.size() + 1));
    EXPECT_EQ(str2tokenNum(text.c_str(), len), str2tokenNumWalk(text.c_str(), len)) << text;
  }
}

TEST(String2token, KeepsEmptyTokensAndAgreesWithTheStreamSplit) {
  Strings tokens{"old"};
  string2token("a,b,,c,", ',', tokens, 0);
  EXPECT_EQ(tokens, (Strings{"a", "b", "", "c", ""}));
  string2token(",", ',', tokens, 0);
  EXPECT_EQ(tokens, (Strings{"", ""}));
  string2token("", ',', tokens, 0);
  EXPECT_TRUE(tokens.empty());
  tokens = {"x"};
  string2token("y;z", ';', tokens, 1);
  EXPECT_EQ(tokens, (Strings{"x", "y", "z"}));
  string2token("", ';', tokens, 1);
  EXPECT_EQ(tokens.size(), 3u);

  std::mt19937 random(3);
  for (int trial = 0; trial < 500; ++trial) {
    const std::string text = randomText(random, "a,", 10);
    string2token(text, ',', tokens, 0);
    EXPECT_EQ(tokens, string2tokenByStream(text, ',')) << text;
  }
}

TEST(StringReplace, NeverSearchesInsertedTextAndIgnoresAnEmptyPattern) {
  std::string text = "aaa";
  stringReplace(text, "a", "aa");
  EXPECT_EQ(text, "aaaaaa");
  text = "aaaa";
  stringReplace(text, "aa", "b");
  EXPECT_EQ(text, "bb");
  text = "a-b-c";
  stringReplace(text, "-", "");
  EXPECT_EQ(text, "abc");
  text = "abc";
  stringReplace(text, "", "x");
  EXPECT_EQ(text, "abc");
}

TEST(VectorJoins, JoinWithSeparatorsAndDropEmptyElements) {
  std::string out = "stale";
  intVecJoin({3, -1, 20}, ", ", out);
  EXPECT_EQ(out, "3, -1, 20");
  intVecJoin({INT_MIN}, ";", out);
  EXPECT_EQ(out, "-2147483648");
  strVecJoin({}, "-", out);
  EXPECT_EQ(out, "");
  strVecJoin({"a", "", "b"}, "::", out);
  EXPECT_EQ(out, "a::::b");

  Strings vec{"", "a", "", "", "b", ""};
  strVecRemoveEmptyElement(vec);
  EXPECT_EQ(vec, (Strings{"a", "b"}));
}

TEST(StrVecPrint, PrintsNumberedLinesOrWritesAFile) {
  testing::internal::CaptureStdout();
  strVecPrint({"x", "y z"}, "names", "");
  strVecPrint({}, "none", nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "names[0] = x\nnames[1] = y z\nnone has zero element!\n");

  TempDir dir;
  const std::string path = dir.file("out.txt");
  strVecPrint({"one", "", "three"}, "ignored", path.c_str());
  EXPECT_EQ(fileContent(path), "one\n\nthree\n");
  strVecPrint({}, "ignored", path.c_str());
  EXPECT_EQ(fileContent(path), "");
  const std::string blocked = dir.file("no/such/dir.txt");
  EXPECT_TRUE(isLocatedMessage(failureMessage([&] { strVecPrint({"a"}, "v", blocked.c_str()); }),
                               "Cannot open file " + blocked));
}

TEST(StrVecLinSearch, MatchPositionsUseTheFirstOccurrence) {
  const Strings vec{"cab", "abab", "ab", "xaby", "zz"};
  std::vector<int> index{42};
  strVecLinSearch(vec, "ab", index, 0);
  EXPECT_EQ(index, (std::vector<int>{0, 1, 2, 3}));
  strVecLinSearch(vec, "ab", index, 1);
  EXPECT_EQ(index, (std::vector<int>{1, 2}));
  strVecLinSearch(vec, "ab", index, 2);
  EXPECT_EQ(index, (std::vector<int>{0, 2})); // "abab" first has it at 0
  strVecLinSearch(vec, "ab", index, 3);
  EXPECT_EQ(index, (std::vector<int>{2}));
  strVecLinSearch(vec, "abc", index, 2);
  EXPECT_TRUE(index.empty());

  strVecLinSearch(vec, "q", index, 7);
  EXPECT_TRUE(index.empty());
  EXPECT_TRUE(isLocatedMessage(failureMessage([&] { strVecLinSearch(vec, "zz", index, 7); }),
                               "Unknown matchPos in strVecLinSearch"));

  EXPECT_EQ(strVecLinSearchFirstMatch(vec, ""), 0);
  EXPECT_EQ(strVecLinSearchFirstMatch(vec, "ba"), 1);
  EXPECT_EQ(strVecLinSearchFirstMatch(vec, "q"), -1);
  EXPECT_EQ(strVecLinSearchFirstMatch({}, ""), -1);
}

TEST(StrVecBinSearch, FindsWhatTheRecursiveSearchFinds) {
  const Strings sorted{"a", "ab", "ab", "abc", "b", "ba", "bb", "c"};
  std::vector<int> index{9};
  strVecBinSearch(sorted, "zz", index, 0);
  EXPECT_TRUE(index.empty());
  strVecBinSearch({}, "a", index, 1);
  EXPECT_TRUE(index.empty());
  strVecBinSearch(sorted, "abc", index, 0);
  EXPECT_EQ(index, (std::vector<int>{3}));
  strVecBinSearch(sorted, "abcd", index, 1); // longer than every element it meets
  EXPECT_TRUE(index.empty());

  const int last = static_cast<int>(sorted.size()) - 1;
  for (const char *key : {"", "a", "ab", "abc", "abd", "b", "ba", "bc", "c", "0", "d"}) {
    for (int prefix = 0; prefix <= 1; ++prefix) {
      strVecBinSearch(sorted, key, index, prefix);
      const int expected = binSearchRecursive(sorted, 0, last, key, prefix != 0);
      EXPECT_EQ(index, expected >= 0 ? std::vector<int>{expected} : std::vector<int>{})
          << key << " prefix " << prefix;
    }
    for (int lo = 0; lo <= last; ++lo)
      for (int hi = lo; hi <= last; ++hi) {
        EXPECT_EQ(strVecBinSearchSub0(sorted, lo, hi, key),
                  binSearchRecursive(sorted, lo, hi, key, false));
        EXPECT_EQ(strVecBinSearchSub1(sorted, lo, hi, key),
                  binSearchRecursive(sorted, lo, hi, key, true));
      }
  }
  // Bounds outside the vector are narrowed instead of read past.
  EXPECT_EQ(strVecBinSearchSub0(sorted, -5, 100, "c"), 7);
  EXPECT_EQ(strVecBinSearchSub0(sorted, 0, -1, "a"), -1);
}

TEST(GetAllLatticePath, FirstColumnVariesFastest) {
  Strings paths{"stale"};
  getAllLatticePath({{"a", "b"}, {"c", "d"}, {"e"}}, paths);
  EXPECT_EQ(paths, (Strings{"a-c-e", "b-c-e", "a-d-e", "b-d-e"}));
  getAllLatticePath({{"x", "y"}}, paths);
  EXPECT_EQ(paths, (Strings{"x", "y"}));
  getAllLatticePath({}, paths);
  EXPECT_TRUE(paths.empty());
  getAllLatticePath({{"a"}, {}, {"b"}}, paths);
  EXPECT_TRUE(paths.empty());
  getAllLatticePath({{}, {"b"}}, paths);
  EXPECT_TRUE(paths.empty());

  std::mt19937 random(5);
  for (int trial = 0; trial < 100; ++trial) {
    std::vector<Strings> lattice(1 + random() % 4);
    for (std::size_t c = 0; c < lattice.size(); ++c)
      for (unsigned k = 0; k < 1 + random() % 3; ++k)
        lattice[c].push_back(std::to_string(c) + char('a' + k));
    getAllLatticePath(lattice, paths);
    EXPECT_EQ(paths, latticePathsByBlocks(lattice));
  }
}

TEST(TextFiles, TokenTableAndKeyValuePairs) {
  TempDir dir;
  const std::string table = dir.write("table.tsv", "a\tb\n\nc\t\n");
  EXPECT_EQ(fileRead(table.c_str()), (std::vector<Strings>{{"a", "b"}, {"c", ""}}));

  const std::string settings = dir.write("settings.txt",
                                         "rate = 0.5 % note\n"
                                         "a=b=c\n"
                                         "% only a comment\n"
                                         "no pair here\n"
                                         "\t= empty key\n"
                                         "empty value =   \n"
                                         "hidden % = not a pair\n");
  Strings keys{"kept"}, values{"kept"};
  keyValuePairRead(settings.c_str(), keys, values);
  EXPECT_EQ(keys, (Strings{"kept", "rate", "a", "", "empty value"}));
  EXPECT_EQ(values, (Strings{"kept", "0.5", "b=c", "empty key", ""}));

  const std::string missing = dir.file("missing.txt");
  EXPECT_TRUE(isLocatedMessage(failureMessage([&] { keyValuePairRead(missing.c_str(), keys, values); }),
                               "Cannot open file " + missing));
}

TEST(DirectoryHelpers, ListingOnlyNormalisesTheNameAndFilterSkipsDots) {
  Strings fileList{"kept"};
  char directory[] = "C:\\data\\wav";
  testing::internal::CaptureStdout();
  fileListRecursive(fileList, directory, "wav");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "No files in current directory!\n");
  EXPECT_STREQ(directory, "C:/data/wav");
  EXPECT_EQ(fileList, (Strings{"kept"}));

  struct dirent entry {};
  EXPECT_EQ(taone(nullptr), 0);
  for (const char *name : {".", ".."}) {
    std::strcpy(entry.d_name, name);
    EXPECT_EQ(taone(&entry), 0) << name;
  }
  for (const char *name : {"...", ".hidden", "file"}) {
    std::strcpy(entry.d_name, name);
    EXPECT_EQ(taone(&entry), 1) << name;
  }
}

TEST(SegmentPrint, OneLinePerRecord) {
  const SEGMENT segments[2] = {{1, 5, 4, 1}, {-2, 0, 2, 0}};
  testing::internal::CaptureStdout();
  segmentPrint(segments, 2);
  segmentPrint(segments, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "i=0: begin=1, end=5, duration=4, valid=1\n"
            "i=1: begin=-2, end=0, duration=2, valid=0\n");
}

TEST(EncodeXor, RepeatsTheKeyAndIsItsOwnInverse) {
  char buffer[] = {'a', 'b', 'c', 'd', 'e'};
  encodeXor(buffer, 5, "\x01\x02", 2);
  EXPECT_EQ(std::string(buffer, 5), "``bfd");
  encodeXor(buffer, 5, "\x01\x02", 2);
  EXPECT_EQ(std::string(buffer, 5), "abcde");
  encodeXor(buffer, 5, " ", 1);
  EXPECT_EQ(std::string(buffer, 5), "ABCDE");
  encodeXor(buffer, 5, "", 0);
  encodeXor(buffer, 5, "x", -1);
  EXPECT_EQ(std::string(buffer, 5), "ABCDE");
}

} // namespace
