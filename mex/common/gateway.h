// Helpers shared by the plug-in gateways: argument checks that never read
// data of the wrong class, fixed-size message formatting, work buffers that
// fail as host errors, and the boundary where library failures become host
// errors.
#ifndef CLUSTERKIT_GATEWAY_H
#define CLUSTERKIT_GATEWAY_H

#include "mex.h"
#include "utility.h"

#include <cstddef>
#include <memory>
#include <new>
#include <string>

/// True for a full (not sparse), real double array: the only arrays whose
/// mxGetPr is a plain column-major block of real doubles.
bool isFullRealDouble(const mxArray *array);

/// The class check of every gateway: ends the call with "<what> must be a
/// double real matrix." (what: "Input MAT1", "Field gPrm.mu", ...) unless the
/// array is a full real double array of any shape. Run it before reading the
/// array's data.
void requireFullRealDouble(const mxArray *array, const char *what);

/// What went wrong: the last part of the identifier
/// "clusterkit:<plug-in>:<kind>" that every gateway error carries, <plug-in>
/// being the name the plug-in was called by. Each kind means one thing in
/// every plug-in (docs/error-identifiers.md lists which error has which).
enum class ErrorKind {
  usage,          ///< wrong number of inputs or outputs
  invalidInput,   ///< wrong class, complex, sparse, empty, missing field, value out of range
  sizeMismatch,   ///< inputs whose sizes disagree
  tooLarge,       ///< sizes beyond 32 bits, output beyond the machine
  outOfMemory,    ///< a work buffer that could not be allocated
  libraryFailure, ///< a library failure passed through the boundary
};

/// The kind's name as it appears in identifiers ("usage", "invalidInput", ...).
const char *errorKindName(ErrorKind kind);

/// Formats like printf into a buffer of bufferSize characters, cut to fit.
std::string formatMessage(std::size_t bufferSize, const char *format, ...)
    __attribute__((format(printf, 2, 3)));

/// Ends the call with a host error whose text is formatted into a buffer of
/// bufferSize characters (cut to fit), identified by its kind.
[[noreturn]] void failWithFormat(ErrorKind kind, std::size_t bufferSize, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

/// Ends the call with a host error of the given kind: the host shows message
/// exactly as mexErrMsgTxt would, with the identifier
/// "clusterkit:<plug-in>:<kind>".
[[noreturn]] void fail(ErrorKind kind, const char *message);

/// The first element of a numeric, logical or char array as a double (0 for
/// an empty one, the real part of a complex one). Any other class ends the
/// call with "Input <argName> must be numeric."
double firstElement(const mxArray *array, const char *argName);

/// firstElement() truncated toward zero to an int.
int firstElementAsInt(const mxArray *array, const char *argName);

/// Rows, columns (all dimensions after the first) and elements of an array
/// as the 32-bit ints the algorithms use. A size beyond the int range ends
/// the call with "Input is too large for 32-bit sizes." instead of wrapping
/// round to a negative size. columnCount reads a structure array's size
/// without mxGetN, which leaks in Octave when called on one before
/// mxGetField.
int rowCount(const mxArray *array);
int columnCount(const mxArray *array);
int elementCount(const mxArray *array);

/// A zero-initialised work buffer of count elements; a failed allocation ends
/// the call with "Out of memory." instead of throwing through the host.
template <class T> std::unique_ptr<T[]> allocateWork(std::size_t count) {
  std::unique_ptr<T[]> buffer(new (std::nothrow) T[count > 0 ? count : 1]());
  if (!buffer)
    fail(ErrorKind::outOfMemory, "Out of memory.");
  return buffer;
}

/// Ends the call with "Output too large for this machine." when elementCount
/// doubles would take more than half the physical memory: the host zero-fills
/// every new matrix, and a block that large gets it killed, not refused.
void requireOutputFits(double elementCount);

/// A real rows x cols double matrix, all zeros, after requireOutputFits().
mxArray *createDoubleMatrix(long long rows, long long cols);

/// As createDoubleMatrix, but the elements are left unset: only for an output
/// whose every element the caller writes before the call returns. Spares the
/// host's zero fill, a pass over the whole block before the real one.
mxArray *createUninitDoubleMatrix(long long rows, long long cols);

/// Runs library code. A LibraryFailure it throws is caught here, the handler
/// is left, and only then is the message handed to the host's error exit:
/// an exception that left the plug-in would abort the host. Nothing else is
/// caught, so the host's own errors pass through untouched.
template <class Body> void callLibrary(Body &&body) {
  std::string failure;
  bool failed = false;
  try {
    body();
  } catch (const LibraryFailure &error) {
    failure = error.what();
    failed = true;
  }
  if (failed)
    fail(ErrorKind::libraryFailure, failure.c_str());
}

#endif // CLUSTERKIT_GATEWAY_H
