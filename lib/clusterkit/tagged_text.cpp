// Bounded token reads for the tagged text files.
#include "tagged_text.h"

#include "utility.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <string>

namespace {

// Scan formats that match TAGGED_TEXT_FIELD_SIZE - 1 characters.
constexpr const char *kTokenFormat = "%99s";
constexpr const char *kLineFormat = "%99[^\n]";
static_assert(TAGGED_TEXT_FIELD_SIZE == 100, "scan formats assume fields of 100 characters");

constexpr int kMessageSize = 1000;

// Characters of an out-of-range integer shown in its message.
constexpr std::size_t kShownIntegerLength = 40;

// One more than the magnitude of INT_MIN: a running magnitude capped here
// cannot overflow and still tells every value beyond the range.
constexpr long long kBeyondIntMagnitude = 2147483649LL;

} // namespace

void failWithPrintedMessage(const char *message) {
  platformPrintf("%s", message);
  char text[kMessageSize];
  std::snprintf(text, sizeof text, "%s", message);
  const std::size_t length = std::strlen(text);
  if (length > 0 && text[length - 1] == '\n')
    text[length - 1] = '\0';
  myExit(text);
}

void failWithPrintedFormat(const char *format, ...) {
  va_list args;
  va_start(args, format);
  const std::string message = vformatMessage(kMessageSize, format, args);
  va_end(args);
  failWithPrintedMessage(message.c_str());
}

void copyToField(char *field, const char *text) {
  std::snprintf(field, TAGGED_TEXT_FIELD_SIZE, "%s", text);
}

TaggedTextReader::TaggedTextReader(const char *path) : file_(openFile(path, "r")) {}

TaggedTextReader::~TaggedTextReader() { std::fclose(file_); }

void TaggedTextReader::requireTag(const char *tag) {
  // Cleared first, so that a read at the end of the file shows as empty
  // rather than as the previous token.
  char token[TAGGED_TEXT_FIELD_SIZE] = "";
  if (std::fscanf(file_, kTokenFormat, token) != 1)
    token[0] = '\0';
  if (std::strcmp(token, tag) == 0) {
    lastTag_ = tag;
    return;
  }
  platformPrintf("temp=%s\n", token);
  failWithPrintedFormat("Cannot find \"%s\"!\n", tag);
}

void TaggedTextReader::readRestOfLine(char *field) {
  if (std::fscanf(file_, " ") == EOF)
    return;
  if (std::fscanf(file_, kLineFormat, field) != 1)
    return;
  (void)std::fscanf(file_, "%*[^\n]");
  (void)std::fscanf(file_, " ");
}

void TaggedTextReader::readToken(char *field) {
  if (std::fscanf(file_, kTokenFormat, field) != 1)
    return;
  (void)std::fscanf(file_, "%*[^ \t\n\v\f\r]");
}

void TaggedTextReader::readInt(int &value) {
  int c = std::getc(file_);
  while (c != EOF && std::isspace(c))
    c = std::getc(file_);
  std::string text;
  if (c == '+' || c == '-') {
    text += static_cast<char>(c);
    c = std::getc(file_);
  }
  long long magnitude = 0;
  bool anyDigit = false;
  for (; c != EOF && std::isdigit(c); c = std::getc(file_)) {
    anyDigit = true;
    if (text.size() < kShownIntegerLength)
      text += static_cast<char>(c);
    magnitude = std::min(magnitude * 10 + (c - '0'), kBeyondIntMagnitude);
  }
  if (c != EOF)
    std::ungetc(c, file_);
  if (!anyDigit)
    return;
  const bool negative = text[0] == '-';
  if (magnitude > (negative ? -static_cast<long long>(INT_MIN) : INT_MAX))
    failWithPrintedFormat("Value of \"%s\" beyond the int range: %s!\n", lastTag_, text.c_str());
  value = static_cast<int>(negative ? -magnitude : magnitude);
}

bool TaggedTextReader::readDouble(double &value) { return std::fscanf(file_, "%lf", &value) != EOF; }

bool TaggedTextReader::readFloat(float &value) { return std::fscanf(file_, "%f", &value) != EOF; }

long TaggedTextReader::bytesLeft() {
  const long position = std::ftell(file_);
  if (position < 0 || std::fseek(file_, 0, SEEK_END) != 0)
    return LONG_MAX;
  const long end = std::ftell(file_);
  std::fseek(file_, position, SEEK_SET);
  return end >= position ? end - position : LONG_MAX;
}
