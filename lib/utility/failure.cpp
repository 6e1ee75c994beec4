// The failure path of the utility unit: log the message, then throw.
#include "failure.h"

#include "console.h"
#include "host_interface.h"
#include "text.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
constexpr int kPathBufferSize = 1000;
constexpr int kMessageBufferSize = 1000;
} // namespace

void myExit(const char *msg) {
  char logPath[kPathBufferSize];
  getTempDir(logPath);
  std::snprintf(logPath + 4, sizeof logPath - 4, "/%s", "error.log");
  if (FILE *log = std::fopen(logPath, "w")) {
    mexPrintf("\nSaved error log at %s...\n", logPath);
    std::fprintf(log, "Error: %s\n", msg);
    std::fclose(log);
  }
  // The exception owns its copy: msg often lives in the caller's buffer.
  throw LibraryFailure(msg);
}

void fisError(const char *msg) {
  mexErrMsgTxt(msg);
  std::abort(); // not reached: the host's error exit does not return
}

void showErrorMsg(const char *msg) { myExit(msg); }

void myExitFormatted(const char *format, ...) {
  va_list args;
  va_start(args, format);
  const std::string message = vformatMessage(kMessageBufferSize, format, args);
  va_end(args);
  myExit(message.c_str());
}
