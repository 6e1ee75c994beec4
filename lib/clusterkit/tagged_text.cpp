// Bounded token reads for the tagged text files.
#include "tagged_text.h"

#include "utility.h"

#include <cstdarg>
#include <cstring>

namespace {

// Scan formats that match TAGGED_TEXT_FIELD_SIZE - 1 characters.
constexpr const char *kTokenFormat = "%99s";
constexpr const char *kLineFormat = "%99[^\n]";
static_assert(TAGGED_TEXT_FIELD_SIZE == 100, "scan formats assume fields of 100 characters");

constexpr int kMessageSize = 1000;

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
  if (std::strcmp(token, tag) == 0)
    return;
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

void TaggedTextReader::readInt(int &value) { (void)std::fscanf(file_, "%d", &value); }

void TaggedTextReader::readDouble(double &value) { (void)std::fscanf(file_, "%lf", &value); }

void TaggedTextReader::readFloat(float &value) { (void)std::fscanf(file_, "%f", &value); }
