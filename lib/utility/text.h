// Characters, zero-terminated strings and std::string helpers of the utility
// unit, message formatting into a fixed buffer, and the small record and
// buffer helpers beside them.
#ifndef CLUSTERKIT_TEXT_H
#define CLUSTERKIT_TEXT_H

#include <cstdarg>
#include <cstddef>
#include <string>
#include <vector>

// Three character classes, kept apart on purpose:
//   blank (isBlank):            NUL, tab, line feed, carriage return, space;
//   trailing blank (cutTrailingBlank): space, tab, carriage return, line feed;
//   white space (str2tokenNum, stringTrimLeadingTrailingBlank): isspace in
//     the default locale, so also vertical tab and form feed.

/// A record of one segment of a sequence.
struct SEGMENT {
  int begin;
  int end;
  int duration;
  int valid;
};

/// 1 when c is blank (NUL, tab, line feed, carriage return, space), else 0.
int isBlank(char c);

/// Overwrites trailing spaces, tabs, carriage returns and line feeds with NUL.
void cutTrailingBlank(char *str);

/// lowerStr receives a new[]-allocated lower-case copy of str (tolower); the
/// caller releases it with delete[].
void str2Lower(const char *str, char *&lowerStr);

/// Replaces every from character by to; with to = NUL the string ends at the
/// first replaced character.
void strRep(char *str, char from, char to);

/// Number of white-space-separated tokens in the first len characters, ending
/// early after a line feed or at a NUL; 0 for len <= 0.
int str2tokenNum(const char *str, int len);

/// Splits str at every delimiter; a non-empty str gives one token more than
/// it has delimiters (empty tokens included), an empty one gives none.
/// tokens is emptied first when append is 0, else added to.
void string2token(const std::string &str, char delimiter, std::vector<std::string> &tokens,
                  int append);

/// Replaces every occurrence of from in text, left to right; inserted text is
/// never searched again. An empty from leaves text unchanged.
void stringReplace(std::string &text, const std::string &from, const std::string &to);

/// ASCII case changes: only 'A'..'Z' (resp. 'a'..'z') change.
void stringToLowerCase(std::string &str);
void stringToUpperCase(std::string &str);

/// Removes white space (isspace) at both ends.
void stringTrimLeadingTrailingBlank(std::string &str);

/// Formats like vprintf into a buffer of bufferSize characters (cut to fit)
/// and returns the text; a bufferSize of 0 gives "". The one fixed-buffer
/// formatter of failure messages (myExitFormatted, the tagged-text readers,
/// the gateways' formatMessage).
std::string vformatMessage(std::size_t bufferSize, const char *format, va_list args);

/// Prints "i=<i>: begin=..., end=..., duration=..., valid=..." per record on
/// the console.
void segmentPrint(const SEGMENT *segments, int count);

/// XORs buffer[i] with key[i mod keyLength]; applying it twice restores the
/// buffer. A keyLength below 1 leaves the buffer unchanged.
void encodeXor(char *buffer, int length, const char *key, int keyLength);

#endif // CLUSTERKIT_TEXT_H
