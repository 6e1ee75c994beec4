// Reading the tagged text files of the clusterkit unit (mixture models and
// speaker features): whitespace-separated tokens, a tag before each item,
// and a comment that is the rest of a line. Internal to the unit.
#ifndef CLUSTERKIT_TAGGED_TEXT_H
#define CLUSTERKIT_TAGGED_TEXT_H

#include <cstdio>

/// Capacity of every character field and token buffer, terminator included.
constexpr int TAGGED_TEXT_FIELD_SIZE = 100;

/// Prints message (which ends in a newline) on the console, then fails
/// through myExit with the same text without its newline.
[[noreturn]] void failWithPrintedMessage(const char *message);

/// printf into a message buffer, then failWithPrintedMessage().
[[noreturn]] void failWithPrintedFormat(const char *format, ...)
    __attribute__((format(printf, 1, 2)));

/// Copies text into a field of TAGGED_TEXT_FIELD_SIZE characters, cut to fit.
void copyToField(char *field, const char *text);

/// A file opened for reading through openFile and closed when the reader
/// goes, also when a failure unwinds past it. Every read is bounded by the
/// field size; conversions that fail leave their target unchanged and the
/// offending text in the stream. Not shared between threads.
class TaggedTextReader {
public:
  explicit TaggedTextReader(const char *path);
  ~TaggedTextReader();
  TaggedTextReader(const TaggedTextReader &) = delete;
  TaggedTextReader &operator=(const TaggedTextReader &) = delete;

  /// Reads one token; unless it is exactly tag, prints "temp=<token>" and
  /// "Cannot find \"<tag>\"!" and fails. A token longer than 99 characters
  /// is never a tag: its first 99 characters are what temp shows.
  void requireTag(const char *tag);

  /// Skips blank space and line ends, then reads the rest of that line into
  /// field (cut to 99 characters) and skips the white space after it. At the
  /// end of the file field is left as it was.
  void readRestOfLine(char *field);

  /// Reads one token into field, cut to 99 characters (the rest of a longer
  /// token is dropped, so it cannot be taken for the next tag).
  void readToken(char *field);

  /// Reads an integer as "%d" does (blank space, an optional sign, the
  /// digits, the first other character left in the stream); no digits leave
  /// value as it was. A value beyond the int range prints and fails with
  /// "Value of \"<tag>\" beyond the int range: <text>!", tag being the last
  /// one required, instead of wrapping round (a "%d" conversion of it would
  /// be undefined).
  void readInt(int &value);

  /// "%lf" and "%f" conversions; false at the end of the file, where every
  /// further read would fail too.
  bool readDouble(double &value);
  bool readFloat(float &value);

  /// Bytes from the read position to the end of the file; LONG_MAX when the
  /// file cannot tell (not seekable).
  long bytesLeft();

private:
  std::FILE *file_;
  const char *lastTag_ = "";
};

#endif // CLUSTERKIT_TAGGED_TEXT_H
