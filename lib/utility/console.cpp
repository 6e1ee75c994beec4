// Console and process routines of the utility unit.
#include "console.h"

#include "failure.h"
#include "host_interface.h"
#include "numbers.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <ctime>

namespace {
constexpr int kLineBufferSize = 256;
} // namespace

void getTempDir(char *dir) {
  // Fixed by design: no environment variable is consulted.
  std::snprintf(dir, 5, "%s", "/tmp");
}

void myPrintf(const char * /*format*/, ...) {}

void myGets(char *buf) {
  if (std::fgets(buf, kLineBufferSize, stdin) == nullptr)
    myExitFormatted("Error reading string (line %d of %s)", __LINE__, UTILITY_SOURCE_PATH);
}

int pauseForInput() {
  mexPrintf("Hit RETURN to continue ...\n");
  return std::getchar();
}

void sleep(float seconds) {
  // NaN and negative waits are no wait (the plain conversion of NaN, or of a
  // value beyond 64 bits, would be undefined); huge ones saturate.
  if (!(seconds > 0.0f))
    return;
  // CLOCKS_PER_SEC is 1000000 on the platforms this library targets.
  const long long ticks = truncateToLongLong(seconds * 1000000.0f);
  const long long now = static_cast<long long>(std::clock());
  if (now < 0) // no processor clock to wait on
    return;
  const long long target = ticks > LLONG_MAX - now ? LLONG_MAX : now + ticks;
  while (static_cast<long long>(std::clock()) < target) {
  }
}

int platformPrintf(const char *format, ...) {
  va_list args;
  va_start(args, format);
#if CLUSTERKIT_MACOS_FLAVOR
  char text[4096];
  int written = std::vsnprintf(text, sizeof text, format, args);
  mexPrintf("%s", text);
#else
  int written = std::vprintf(format, args);
  // Keep the text in order with the host's own console output.
  std::fflush(stdout);
#endif
  va_end(args);
  return written;
}
