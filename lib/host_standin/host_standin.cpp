// Stand-in for the host's console and error exit, for C++ programs and unit
// tests that link the library without a host: console text goes to standard
// output, and an error exit ends the call by throwing HostError.
#include "host_standin.h"

#include <cstdarg>
#include <cstdio>

extern "C" int mexPrintf(const char *format, ...) {
  va_list args;
  va_start(args, format);
  int written = std::vprintf(format, args);
  va_end(args);
  std::fflush(stdout);
  return written;
}

extern "C" void mexErrMsgTxt(const char *message) { throw HostError(message); }
