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

/// out[i] = squaredDistance(vector, column i, dim) for the count consecutive
/// dim-element columns starting at columns, bit for bit; several sums run
/// side by side, each in index order.
void squaredDistancesToColumns(const double *vector, const double *columns, int dim, int count,
                               double *out);

/// As squaredDistancesToColumns, with each difference taken column minus
/// vector: out[i] = squaredDistance(column i, vector, dim) bit for bit. (The
/// two orders can differ only in which NaN a NaN-against-NaN term keeps.)
void squaredDistancesFromColumns(const double *vector, const double *columns, int dim,
                                 int count, double *out);

// ---------------------------------------------------------------------------
// Files and tables
// ---------------------------------------------------------------------------

// Formats: a text table is numbers as text separated by white space (the
// writers put one per line); a binary table is raw native doubles or ints with
// no header; a string list is one string per line ending in "\n". A table's
// form is chosen by its extension: exactly "bin"/"BIN" or "txt"/"TXT".
// Only opening is checked: a file that cannot be opened fails through
// myExit(); short reads and write errors are not reported.

/// fopen(path, mode); fails with "Cannot open file <path> ..." when it cannot
/// (also for a null path).
FILE *openFile(const char *path, const char *mode);

/// 1 if path can be opened for reading, else 0 (also for a null path). Never
/// fails.
int fileExist(const char *path);

/// Size of an open file in bytes; its position is restored.
long getFileSize(FILE *fp);

/// Size of the file at path in bytes.
long getFileSize(const char *path);

/// Number of line reads of at most 999 characters each: a line of 999 or more
/// characters counts once per read; a last line without line end counts.
int getFileLineCount(const char *path);

/// Line lineNum (1-based, lines read 998 characters at a time) into buf
/// (at least 999 characters) without its line end. When the file has fewer
/// lines, buf keeps the last line read (or its old text for an empty file).
void getLineInFile(const char *path, int lineNum, char *buf);

/// The whole file (read in binary mode) in a new buffer of len bytes, with no
/// terminator added; the caller frees it with free().
char *fileRead(const char *path, long &len);

/// The file's bytes up to its first zero byte, or all of them.
void fileRead(const char *path, std::string &text);

/// Clears vec, then reads "%d" values until one does not parse or the end.
void fileRead(const char *path, std::vector<int> &vec);

/// Clears vec, then reads "%f" values until one does not parse or the end.
void fileRead(const char *path, std::vector<float> &vec);

/// Clears lines, then appends each line without its "\n", skipping empty
/// lines and lines whose first character is commentChar (0: only empty
/// lines). Lines are read 99999 characters at a time: a longer line arrives
/// in pieces, with a warning on the console.
void fileRead(const char *path, std::vector<std::string> &lines, char commentChar);

/// Writes len raw bytes (binary mode), replacing the file.
void fileWrite(const char *path, const char *data, long len);

/// Replaces the file with the value and a line end ("%g\n").
void fileWrite(const char *path, double value);
void fileWrite(const char *path, float value);

/// Replaces the file with one "%d\n" line per element.
void fileWrite(const char *path, const std::vector<int> &vec);

/// Replaces the file with one "%s\n" line per element.
void fileWrite(const char *path, const std::vector<std::string> &vec);

/// Appends the value and a line end: "%lf\n", "%f\n" or "%d\n".
void logVar(double value, const char *path);
void logVar(float value, const char *path);
void logVar(int value, const char *path);

/// Reads up to count raw values (8-byte doubles, 4-byte ints) into table;
/// elements not read stay unchanged; a count below 1 reads nothing.
void readBinTable(const char *path, double *table, int count);
void readBinTable(const char *path, int *table, int count);

/// count reads of "%lf\n" / "%d\n" into table[0 .. count-1]; elements not
/// read stay unchanged.
void readTxtTable(const char *path, double *table, int count);
void readTxtTable(const char *path, int *table, int count);

/// readBinTable or readTxtTable by the path's extension; any other extension
/// fails with "Error in reading <path>: The only allowed extensions are ...".
void readTable(const char *path, double *table, int count);
void readTable(const char *path, int *table, int count);

/// The text after the last '.' of path (the search crosses directory
/// separators), or its terminator when there is none.
const char *getExtName(const char *path);
char *getExtName(char *path);

// ---------------------------------------------------------------------------
// Strings and tokens
// ---------------------------------------------------------------------------
// Three character classes, kept apart on purpose:
//   blank (isBlank):            NUL, tab, line feed, carriage return, space;
//   trailing blank (cutTrailingBlank): space, tab, carriage return, line feed;
//   white space (str2tokenNum, stringTrimLeadingTrailingBlank): isspace in
//     the default locale, so also vertical tab and form feed.
// The binary searches order strings byte-wise (strcmp order).

/// A record of one segment of a sequence.
struct SEGMENT {
  int begin;
  int end;
  int duration;
  int valid;
};

struct dirent;

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

/// out = the elements joined with separator between neighbours ("" if none).
void strVecJoin(std::vector<std::string> vec, const char *separator, std::string &out);

/// As strVecJoin, each integer written with "%d".
void intVecJoin(std::vector<int> vec, const char *separator, std::string &out);

/// Keeps the non-empty elements, in order.
void strVecRemoveEmptyElement(std::vector<std::string> &vec);

/// With a non-empty outFile: writes one element per line to it, replacing it.
/// Otherwise prints "name[i] = element" lines to standard output, or
/// "<name> has zero element!" on the console for an empty vector.
void strVecPrint(std::vector<std::string> vec, const char *name, const char *outFile);

/// index receives, in order, every element whose first occurrence of key
/// satisfies matchPos: 0 anywhere, 1 at the start, 2 ending the element,
/// 3 equal to it. Another matchPos fails with "Unknown matchPos in
/// strVecLinSearch ..." at the first element that contains key.
void strVecLinSearch(const std::vector<std::string> &vec, std::string key,
                     std::vector<int> &index, int matchPos);

/// Index of the first element containing key, or -1.
int strVecLinSearchFirstMatch(const std::vector<std::string> &vec, std::string key);

/// Binary search of a strcmp-sorted vector: index receives one index whose
/// element equals key (prefixMatch 0) or begins with it (otherwise), or stays
/// empty. Among several matches any one may be found.
void strVecBinSearch(const std::vector<std::string> &vec, std::string key,
                     std::vector<int> &index, int prefixMatch);

/// An index in lo..hi (inclusive, narrowed to the vector) whose element
/// equals key, or -1.
int strVecBinSearchSub0(const std::vector<std::string> &vec, int lo, int hi,
                        const std::string &key);

/// An index in lo..hi (inclusive, narrowed to the vector) whose element
/// begins with key, or -1.
int strVecBinSearchSub1(const std::vector<std::string> &vec, int lo, int hi,
                        const std::string &key);

/// Every path through the lattice (one string per column, joined by "-"),
/// the first column varying fastest. An empty lattice, or an empty column,
/// gives no paths.
void getAllLatticePath(std::vector<std::vector<std::string>> lattice,
                       std::vector<std::string> &paths);

/// The token table: one row per non-empty line, fields split at tabs (a
/// trailing tab gives an empty last field).
std::vector<std::vector<std::string>> fileRead(const char *path);

/// Appends "key = value" pairs of a text file to keys and values: text from
/// '%' on is a comment, key and value are trimmed, a value may contain '=',
/// lines without '=' are ignored.
void keyValuePairRead(const char *fileName, std::vector<std::string> &keys,
                      std::vector<std::string> &values);

/// Turns backslashes in directory into slashes and prints "No files in
/// current directory!"; reads no directory and leaves fileList unchanged.
void fileListRecursive(std::vector<std::string> &fileList, char *directory,
                       const char *extension);

/// Directory-scan filter: 0 for a null entry and for "." and "..", else 1.
int taone(const struct dirent *entry);

/// Prints "i=<i>: begin=..., end=..., duration=..., valid=..." per record on
/// the console.
void segmentPrint(const SEGMENT *segments, int count);

/// XORs buffer[i] with key[i mod keyLength]; applying it twice restores the
/// buffer. A keyLength below 1 leaves the buffer unchanged.
void encodeXor(char *buffer, int length, const char *key, int keyLength);

// ---------------------------------------------------------------------------
// Matrix allocation
// ---------------------------------------------------------------------------
// A row-pointer matrix is an array of row pointers, each row its own
// zero-filled block, indexed matrix[row][column]. It does not know its own
// sizes: the caller keeps the row count for fisFreeMatrix.

/// Hands msg to the host's error exit (mexErrMsgTxt); never returns.
[[noreturn]] void fisError(const char *msg);

/// A zero-filled rows x cols matrix of elements of elementSize bytes; null for
/// 0 x 0. One zero dimension gives a valid empty matrix (no rows, or rows of
/// no elements). Negative sizes or an exhausted allocator end the call with
/// "Error in fisCreateMatrix!" through fisError.
void **fisCreateMatrix(int rows, int cols, int elementSize);

/// As fisCreateMatrix, but fails with "Error in matrixCreate!" through the
/// library's failure path (showErrorMsg).
void **matCreate(int rows, int cols, int elementSize);

/// Releases rows row blocks, then the pointer array, of a matrix from either
/// creator. A null matrix is ignored.
void fisFreeMatrix(void **matrix, int rows);

#endif // CLUSTERKIT_UTILITY_H
