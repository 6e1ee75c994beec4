// The utility unit's failure path: one exception type, thrown after the
// message is logged to /tmp/error.log. Host gateways catch that one type at
// their boundary; C++ callers may catch it like any std::runtime_error.
#ifndef CLUSTERKIT_FAILURE_H
#define CLUSTERKIT_FAILURE_H

#include <stdexcept>

/// The library's one failure type: owns a copy of the message.
class LibraryFailure : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

/// Source path named by messages that end in "(line %d of %s)".
constexpr const char *UTILITY_SOURCE_PATH = "lib/utility/utility";

/// Writes "Error: msg" to /tmp/error.log, says where on the console, throws.
[[noreturn]] void myExit(const char *msg);

/// Same as myExit(msg).
[[noreturn]] void showErrorMsg(const char *msg);

/// Hands msg to the host's error exit (mexErrMsgTxt); never returns. The
/// failure path of code that runs only inside a host (fisCreateMatrix, the
/// gateways' fail()).
[[noreturn]] void fisError(const char *msg);

/// Formats into a 1000-character buffer (cut to fit), then myExit().
[[noreturn]] void myExitFormatted(const char *format, ...)
    __attribute__((format(printf, 1, 2)));

#endif // CLUSTERKIT_FAILURE_H
