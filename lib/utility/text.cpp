// Character and string routines of the utility unit, message formatting into
// a fixed buffer, and the small record and buffer helpers beside them.
#include "text.h"

#include "failure.h"
#include "host_interface.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// The standard isspace classification; the cast keeps bytes above 127 from
// being passed as negative values, which isspace does not accept.
bool isWhiteSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool isTrailingBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

// --- characters and zero-terminated strings --------------------------------

int isBlank(char c) { return c == '\0' || c == '\t' || c == '\n' || c == '\r' || c == ' '; }

void cutTrailingBlank(char *str) {
  for (std::size_t end = std::strlen(str); end > 0 && isTrailingBlank(str[end - 1]); --end)
    str[end - 1] = '\0';
}

void str2Lower(const char *str, char *&lowerStr) {
  const std::size_t length = std::strlen(str);
  lowerStr = new (std::nothrow) char[length + 1];
  if (lowerStr == nullptr)
    myExitFormatted("Cannot allocate %zu characters in str2Lower (line %d of %s)", length + 1,
                    __LINE__, UTILITY_SOURCE_PATH);
  for (std::size_t i = 0; i < length; ++i)
    lowerStr[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(str[i])));
  lowerStr[length] = '\0';
}

void strRep(char *str, char from, char to) {
  // One pass: the string's length only changes when to is NUL, and then the
  // scan ends at the character just cut.
  for (std::size_t i = 0; str[i] != '\0'; ++i) {
    if (str[i] != from)
      continue;
    str[i] = to;
    if (to == '\0')
      return;
  }
}

int str2tokenNum(const char *str, int len) {
  int count = 0;
  bool inToken = false;
  // A NUL ends the walk too: nothing after a string's terminator is text.
  for (int i = 0; i < len && str[i] != '\0'; ++i) {
    const bool space = isWhiteSpace(str[i]);
    if (!inToken && !space) {
      inToken = true;
      ++count;
    } else if (inToken && space) {
      inToken = false;
    }
    if (str[i] == '\n')
      break;
  }
  return count;
}

// --- strings ----------------------------------------------------------------

void string2token(const std::string &str, char delimiter, std::vector<std::string> &tokens,
                  int append) {
  if (append == 0)
    tokens.clear();
  if (str.empty())
    return;
  // Every delimiter ends one token, also an empty one, and the text after the
  // last delimiter is one more: n delimiters give n + 1 tokens.
  std::size_t start = 0;
  for (std::size_t at = str.find(delimiter); at != std::string::npos;
       at = str.find(delimiter, start)) {
    tokens.push_back(str.substr(start, at - start));
    start = at + 1;
  }
  tokens.push_back(str.substr(start));
}

void stringReplace(std::string &text, const std::string &from, const std::string &to) {
  // An empty pattern matches everywhere and would never be used up.
  if (from.empty())
    return;
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

void stringToLowerCase(std::string &str) {
  for (char &c : str)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
}

void stringToUpperCase(std::string &str) {
  for (char &c : str)
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 32);
}

void stringTrimLeadingTrailingBlank(std::string &str) {
  std::size_t first = 0;
  while (first < str.size() && isWhiteSpace(str[first]))
    ++first;
  str.erase(0, first);
  std::size_t end = str.size();
  while (end > 0 && isWhiteSpace(str[end - 1]))
    --end;
  str.erase(end);
}

// --- messages ---------------------------------------------------------------

std::string vformatMessage(std::size_t bufferSize, const char *format, va_list args) {
  if (bufferSize == 0)
    return std::string();
  std::vector<char> buffer(bufferSize, '\0');
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  return std::string(buffer.data());
}

// --- records and buffers ---------------------------------------------------

void segmentPrint(const SEGMENT *segments, int count) {
  for (int i = 0; i < count; ++i)
    mexPrintf("i=%d: begin=%d, end=%d, duration=%d, valid=%d\n", i, segments[i].begin,
              segments[i].end, segments[i].duration, segments[i].valid);
}

void encodeXor(char *buffer, int length, const char *key, int keyLength) {
  // Without a key byte there is nothing to combine with.
  if (keyLength < 1)
    return;
  for (int i = 0, k = 0; i < length; ++i) {
    buffer[i] = static_cast<char>(buffer[i] ^ key[k]);
    k = k + 1 < keyLength ? k + 1 : 0;
  }
}
