// utility: the numeric, console, file and text services of the clusterkit
// library. Plain free functions on plain arrays; no host types.
//
// Conventions: arrays are a pointer and an int length; matrices are flat and
// column-major unless a routine says otherwise; positions are 0-based.
// Distance-type codes: 1 = L1 norm (sum of absolute differences),
// 2 = L2 norm taken as the squared Euclidean distance.
//
// Failures: a routine that fails calls myExit(), which logs the message to
// /tmp/error.log and throws LibraryFailure. Host gateways catch that one type
// at their boundary and turn it into a host error; C++ callers may catch it
// like any std::runtime_error.
#ifndef CLUSTERKIT_UTILITY_H
#define CLUSTERKIT_UTILITY_H

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Failure and console
// ---------------------------------------------------------------------------

/// The library's one failure type: owns a copy of the message.
class LibraryFailure : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

/// Source path named by messages that end in "(line %d of %s)".
constexpr const char *UTILITY_SOURCE_PATH = "lib/utility/utility";

/// The largest 32-bit int as a double: a distance abandoned at its bound or
/// never computed. Finite; compares like any distance.
constexpr double TOO_FAR_DISTANCE = 2147483647.0;

/// Writes "Error: msg" to /tmp/error.log, says where on the console, throws.
[[noreturn]] void myExit(const char *msg);

/// Same as myExit(msg).
[[noreturn]] void showErrorMsg(const char *msg);

/// Formats into a 1000-character buffer (cut to fit), then myExit().
[[noreturn]] void myExitFormatted(const char *format, ...)
    __attribute__((format(printf, 1, 2)));

/// Accepts printf arguments and prints nothing.
void myPrintf(const char *format, ...);

/// Reads one line (at most 255 characters, newline kept when it fits) from
/// standard input into buf (at least 256 characters); fails at end of input.
void myGets(char *buf);

/// Prints "Hit RETURN to continue ..." and returns one character read from
/// standard input (EOF at end of input).
int pauseForInput();

/// Busy-waits for the given processor time; returns at once for 0 or less.
void sleep(float seconds);

/// Writes "/tmp" into dir (at least 5 characters).
void getTempDir(char *dir);

/// printf on the console of this build's platform flavour: the host window in
/// macOS builds, the process's standard output in Linux builds. Used by the
/// clusterkit unit and the gateways for their formatted printing.
int platformPrintf(const char *format, ...) __attribute__((format(printf, 1, 2)));

// ---------------------------------------------------------------------------
// Distance kernels (element type double)
// ---------------------------------------------------------------------------

/// Distance of the given type between two dim-vectors, summed in index order.
/// An unknown type prints "Unknown method!" and fails.
template <class T> T vecDistance(const T *vec1, const T *vec2, int dim, int type);

/// As vecDistance, but returns TOO_FAR_DISTANCE as soon as the running sum
/// exceeds bound (strictly; the test follows every term). For type 2 the bound
/// is compared with the squared sum.
template <class T>
T vecDistanceWithBound(const T *vec1, const T *vec2, int dim, int type, T bound);

/// The bounded kernel without the sentinel: true with the full distance when
/// the running sum never exceeded bound, false when it was abandoned. Lets a
/// caller tell an abandoned candidate from one whose distance happens to equal
/// TOO_FAR_DISTANCE.
bool vecDistanceWithinBound(const double *vec1, const double *vec2, int dim, int type,
                            double bound, double &distance);

/// Sum of squared differences of two dim-vectors; no type, no bound.
double squaredDistance(const double *vec1, const double *vec2, int dim);

// ---------------------------------------------------------------------------
// Files and tables
// ---------------------------------------------------------------------------

/// fopen(path, mode); fails with "Cannot open file <path> ..." when it cannot.
FILE *openFile(const char *path, const char *mode);

#endif // CLUSTERKIT_UTILITY_H
