#include "gateway.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#if __has_include(<unistd.h>)
#include <unistd.h>
#endif

// Room for the class-check message with a field label of about 150 characters.
static constexpr std::size_t kClassMessageSize = 200;

bool isFullRealDouble(const mxArray *array) {
  return mxIsDouble(array) && !mxIsComplex(array) && !mxIsSparse(array);
}

void requireFullRealDouble(const mxArray *array, const char *what) {
  if (!isFullRealDouble(array))
    failWithFormat(ErrorKind::invalidInput, kClassMessageSize, "%s must be a double real matrix.",
                   what);
}

std::string formatMessage(std::size_t bufferSize, const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformatMessage(bufferSize, format, args);
  va_end(args);
  return text;
}

const char *errorKindName(ErrorKind kind) {
  switch (kind) {
  case ErrorKind::usage:
    return "usage";
  case ErrorKind::invalidInput:
    return "invalidInput";
  case ErrorKind::sizeMismatch:
    return "sizeMismatch";
  case ErrorKind::tooLarge:
    return "tooLarge";
  case ErrorKind::outOfMemory:
    return "outOfMemory";
  case ErrorKind::libraryFailure:
    return "libraryFailure";
  }
  return "libraryFailure";
}

void fail(ErrorKind kind, const char *message) {
  const std::string identifier =
      std::string("clusterkit:") + mexFunctionName() + ":" + errorKindName(kind);
  // The message goes in as an argument, never as a format. A final newline
  // stays in the format, as mexErrMsgTxt passes it, so that the host shows
  // the text just as it shows it from mexErrMsgTxt (Octave drops it there).
  const std::size_t length = std::strlen(message);
  if (length > 0 && message[length - 1] == '\n') {
    const std::string withoutNewline(message, length - 1);
    mexErrMsgIdAndTxt(identifier.c_str(), "%s\n", withoutNewline.c_str());
  } else {
    mexErrMsgIdAndTxt(identifier.c_str(), "%s", message);
  }
  std::abort(); // not reached: the host's error exit does not return
}

void failWithFormat(ErrorKind kind, std::size_t bufferSize, const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformatMessage(bufferSize, format, args);
  va_end(args);
  fail(kind, text.c_str());
}

// The first stored element of a sparse array is element 0 only when column 0
// holds a non-zero in row 0.
static double firstSparseElement(const mxArray *array) {
  const mwIndex *columnStarts = mxGetJc(array);
  const mwIndex *rows = mxGetIr(array);
  if (mxGetN(array) == 0 || columnStarts[1] == 0 || rows[0] != 0)
    return 0.0;
  if (mxIsLogical(array))
    return mxGetLogicals(array)[0] ? 1.0 : 0.0;
  return mxGetPr(array)[0];
}

double firstElement(const mxArray *array, const char *argName) {
  if (!mxIsNumeric(array) && !mxIsLogical(array) && !mxIsChar(array))
    failWithFormat(ErrorKind::invalidInput, 100, "Input %s must be numeric.", argName);
  if (mxGetNumberOfElements(array) == 0)
    return 0.0;
  if (mxIsSparse(array))
    return firstSparseElement(array);
  return mxGetScalar(array);
}

int firstElementAsInt(const mxArray *array, const char *argName) {
  return truncateToInt(firstElement(array, argName));
}

static int checkedSize(double size) {
  if (size > INT_MAX_AS_DOUBLE)
    fail(ErrorKind::tooLarge, "Input is too large for 32-bit sizes.");
  return truncateToInt(size);
}

int rowCount(const mxArray *array) { return checkedSize(static_cast<double>(mxGetM(array))); }

int columnCount(const mxArray *array) {
  // Octave's mxGetN on a structure array, called before any mxGetField on
  // it, loses a small block on every call: a structure's columns are taken
  // as its elements over its rows instead.
  if (mxIsStruct(array) && mxGetM(array) > 0)
    return checkedSize(static_cast<double>(mxGetNumberOfElements(array) / mxGetM(array)));
  return checkedSize(static_cast<double>(mxGetN(array)));
}

int elementCount(const mxArray *array) {
  return checkedSize(static_cast<double>(mxGetM(array)) * static_cast<double>(mxGetN(array)));
}

// The machine's physical memory in bytes, or 0 where the platform does not
// tell (the standard library has no way to ask).
static double physicalMemoryBytes() {
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGESIZE)
  return static_cast<double>(sysconf(_SC_PHYS_PAGES)) * static_cast<double>(sysconf(_SC_PAGESIZE));
#else
  return 0.0;
#endif
}

void requireOutputFits(double elementCount) {
  const double physicalBytes = physicalMemoryBytes();
  if (physicalBytes > 0 && elementCount * sizeof(double) > physicalBytes / 2)
    fail(ErrorKind::tooLarge, "Output too large for this machine.");
}

mxArray *createDoubleMatrix(long long rows, long long cols) {
  requireOutputFits(static_cast<double>(rows) * static_cast<double>(cols));
  return mxCreateDoubleMatrix(static_cast<mwSize>(rows), static_cast<mwSize>(cols), mxREAL);
}

mxArray *createUninitDoubleMatrix(long long rows, long long cols) {
  requireOutputFits(static_cast<double>(rows) * static_cast<double>(cols));
  return mxCreateUninitNumericMatrix(static_cast<mwSize>(rows), static_cast<mwSize>(cols),
                                     mxDOUBLE_CLASS, mxREAL);
}
