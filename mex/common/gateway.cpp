#include "gateway.h"

#include <cstdarg>
#include <unistd.h>

// Room for the class-check message with a field label of about 150 characters.
static constexpr std::size_t kClassMessageSize = 200;

bool isFullRealDouble(const mxArray *array) {
  return mxIsDouble(array) && !mxIsComplex(array) && !mxIsSparse(array);
}

void requireFullRealDouble(const mxArray *array, const char *what) {
  if (!isFullRealDouble(array))
    failWithFormat(kClassMessageSize, "%s must be a double real matrix.", what);
}

std::string formatMessage(std::size_t bufferSize, const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformatMessage(bufferSize, format, args);
  va_end(args);
  return text;
}

void fail(const char *message) { fisError(message); }

void failWithFormat(std::size_t bufferSize, const char *format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformatMessage(bufferSize, format, args);
  va_end(args);
  fail(text.c_str());
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
    failWithFormat(100, "Input %s must be numeric.", argName);
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
    fail("Input is too large for 32-bit sizes.");
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

void requireOutputFits(double elementCount) {
  const double physicalBytes =
      static_cast<double>(sysconf(_SC_PHYS_PAGES)) * static_cast<double>(sysconf(_SC_PAGESIZE));
  if (physicalBytes > 0 && elementCount * sizeof(double) > physicalBytes / 2)
    fail("Output too large for this machine.");
}

mxArray *createDoubleMatrix(long long rows, long long cols) {
  requireOutputFits(static_cast<double>(rows) * static_cast<double>(cols));
  return mxCreateDoubleMatrix(static_cast<mwSize>(rows), static_cast<mwSize>(cols), mxREAL);
}
