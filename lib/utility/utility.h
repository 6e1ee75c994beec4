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

/// Truncates toward zero to an int; NaN gives 0, values beyond the int range
/// saturate (a plain conversion would be undefined there).
int truncateToInt(double value);

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
// Vector helpers
// ---------------------------------------------------------------------------
// Templates over the element type, instantiated for double (vecMinus, vecMean,
// vecMin, vecMedian, split4vecMedian) or int (rangeSearchBin,
// rangeSearchBinSub). Sums run in index order from 0.0.

/// Keeps a template parameter out of argument deduction, so that
/// vecMinus(v, 1, n, v) takes the scalar overload with T = double.
template <class T> struct TypeIdentity {
  using type = T;
};

/// out[i] = a[i] - b[i] for i < n.
template <class T> void vecMinus(const T *a, const T *b, int n, T *out);

/// dst[i] = src[i] - x for i < n; dst may be src.
template <class T> void vecMinus(const T *src, typename TypeIdentity<T>::type x, int n, T *dst);

/// Sum of v[0 .. n-1] divided by n (n of 0 gives NaN).
template <class T> T vecMean(const T *v, int n);

/// Smallest element, its position in index. Ties keep the first; v[0] is the
/// starting value, so v must hold at least one element (n of 1 or less gives
/// v[0], index 0). NaN elements after the first are never taken.
template <class T> T vecMin(const T *v, int n, int &index);

/// Median of v[0 .. n-1] by repeated partition of a scratch copy (v is left
/// unchanged); for even n the mean of the two middle values, (a + b) * 0.5.
/// NaN for n below 1. A scratch copy that cannot be allocated fails.
template <class T> T vecMedian(const T *v, int n);

/// Partitions v[lo .. hi] around the pivot v[lo]: elements strictly less than
/// it move left (in the order met), the pivot lands at *pivotPos, the others
/// are right of it.
template <class T> void split4vecMedian(T *v, int lo, int hi, int *pivotPos);

/// Median of small non-negative integers through the caller's histogram of
/// histVecLen bins (cleared first). Elements outside 0 .. histVecLen-1 are
/// reported on the console ("Out of bound!", then "vec[i]=v, histVecLen=h")
/// and left out. For even n whose middle bin holds one element, the result is
/// the truncated mean of that bin and the previous non-empty one. -1 when the
/// counted elements never reach n/2 + 1 (none counted, or too many out of
/// range).
int vecMedianByCounting(const int *vec, int n, int *hist, int histVecLen);

/// Linear resampling of src (srcLen) onto dst (dstLen) keeping both end
/// points: dst[i] = f * src[k+1] + (1 - f) * src[k] with k = i*(srcLen-1) /
/// (dstLen-1) truncated and f the fraction left over. A single source element
/// fills dst; nothing is written when either length is below 1.
void vecResample(const double *src, int srcLen, double *dst, int dstLen);

/// vecResample in fixed point with a rounded fraction of 7 bits (e/128):
/// dst[i] = ((128 - e) * src[k] + e * src[k+1]) / 128, truncated. Products are
/// formed in 64 bits, so long vectors do not overflow.
void vecResampleInt(const int *src, int srcLen, int *dst, int dstLen);

/// Rounds halves away from zero: 2.5 gives 3, -2.5 gives -3 (computed in
/// double for both overloads). x must lie within the int range.
int myRound(double x);
int myRound(float x);

/// Rounded quotient, halves away from zero: (a + b/2) / b for a > 0, else
/// (a - b/2) / b, each division truncating. b must not be 0.
int intDiv(int a, int b);

/// dst[i] = myRound(src[i]).
void double2intVec(const double *src, int n, int *dst);

/// dst[i] = src[i] as a double.
void int2doubleVec(const int *src, int n, double *dst);

/// qsort comparators, ascending. For doubles and floats the sign of *a - *b
/// (the difference in the element's own precision); a NaN difference gives 1.
int sortFunction(const void *a, const void *b);
int doubleSortFunction(const void *a, const void *b);
int floatSortFunction(const void *a, const void *b);
int intSortFunction(const void *a, const void *b);

/// Binary search of value in the ascending table[lo .. hi] by halving
/// (mid = (lo + hi) / 2): mid + 1 at the first entry equal to value that the
/// halving meets, otherwise hi + 1 where lo passes hi, the end of the entries
/// not greater than value.
template <class T> int rangeSearchBinSub(T value, const T *table, int lo, int hi);

/// rangeSearchBinSub(value, table, 0, n-1): for distinct entries the 1-based
/// position of the last entry not greater than value; 0 below table[0], n at
/// or above table[n-1].
template <class T> int rangeSearchBin(const T *table, int n, T value);

/// offset + rangeSearchBin(table, n, value), or offset + n - that position
/// when reverse is non-zero.
int tableLookupByRangeSearch(const int *table, int n, int value, int offset, int reverse);

/// Linear interpolation in a table whose entry k belongs to xMin + k*step
/// (n at least 1, step positive): table[0] for x at most xMin, table[n-1] for
/// x at least xMax, NaN for a NaN x. A position that falls on or past the
/// last entry (rounding just below xMax, or a table shorter than its range)
/// interpolates in the last interval instead of reading past the table.
double tableLookupByDirectMapping(const double *table, int n, double x, double xMin,
                                  double xMax, double step);

/// Moves the entries that are not -1.0 to the front, in their order, and
/// fills the rest with -1.0 (a NaN is kept like any other value).
void packCharIndex(double *v, int n);

/// Replaces every 0 after the first element by the element before it, so a
/// run of zeros takes the last non-zero value. Fails with "Wrong vector
/// format (line %d of %s)" when v[0] is 0; does nothing when n is below 1.
void replaceZeroWithPrevOne(double *v, int n);

// ---------------------------------------------------------------------------
// Linear scaling matcher
// ---------------------------------------------------------------------------
// Compares a query with the leading part of a reference under uniform time
// stretches. Ratio i of count is ((double)i * (upper - lower)) / (count - 1)
// + lower, so the grid runs evenly from lower to upper (a count of 1 uses
// lower alone; a count below 1 compares nothing). The stretched length of
// ratio i is ratio * query length made an int: truncated in
// linearScaledVecCreate and the plain linearScaling, rounded (myRound) in the
// offset-removing variants. Ratios are tried in order and the first stretched
// length longer than the reference ends the loop. Each stored distance is
// the kernel's distance divided by the stretched length; entries not
// compared stay TOO_FAR_DISTANCE. The best index is the lowest position of
// the smallest compared distance, 0 when nothing was compared.
// Distance types: 1 = mean absolute difference, with the median as the offset
// removed; 2 = mean squared difference, with the mean as the offset.

/// The stretched copies of one query, made once for matching many references.
/// Copy i lies at scaledData + i * slotLength with scaledLength[i] valid
/// elements. The record is the caller's; the two arrays belong to the set
/// between linearScaledVecCreate and linearScaledVecFree.
struct SCALEDVECSET {
  double lowerRatio;
  double upperRatio;
  int ratioCount;
  int slotLength;     ///< room per copy: query length * upperRatio, truncated
  double *scaledData; ///< ratioCount slots of slotLength doubles
  int *scaledLength;  ///< valid length of each copy
};

/// Fills set: the ratios, the slots, and in slot i the query resampled to
/// its truncated stretched length. slotLength is query length * upper
/// truncated, or the longest copy when that is longer (ratios that do not
/// rise, or rounding at the top ratio), so a copy never overruns its slot.
/// Fails through myExit when the arrays cannot be allocated.
void linearScaledVecCreate(const double *query, int queryLength, double lowerRatio,
                           double upperRatio, int ratioCount, SCALEDVECSET *set);

/// Releases the set's two arrays and sets their pointers to null; the other
/// fields are left as they are.
void linearScaledVecFree(SCALEDVECSET *set);

/// Plain matcher: distance[i] = vecDistance(stretched query, reference, L,
/// type) / L for each ratio whose truncated length L fits the reference.
/// distance holds ratioCount entries; work at least as many doubles as the
/// longest stretched length compared. Returns the smallest compared distance
/// (TOO_FAR_DISTANCE when nothing was compared); an unknown type fails in the
/// distance kernel.
double linearScaling(const double *query, int queryLength, const double *reference,
                     int referenceLength, double lowerRatio, double upperRatio, int ratioCount,
                     int distanceType, double *distance, double *work, int &bestIndex);

/// Offset-removing matcher: for each ratio whose rounded length L fits the
/// reference, the stretched query is put in work, difference = work -
/// reference, shift[i] = median (type 1) or mean (type 2) of it, shift[i] is
/// subtracted from work, and distance[i] = vecDistanceWithBound(work,
/// reference, L, type, L * boundFactor) / L, so an abandoned ratio stores
/// TOO_FAR_DISTANCE / L. shift entries of ratios not compared are left
/// alone. Any other type fails with "Unknown distance type (line %d of %s)"
/// at the first ratio that fits. Returns the smallest compared distance.
double linearScaling(const double *query, int queryLength, const double *reference,
                     int referenceLength, double lowerRatio, double upperRatio, int ratioCount,
                     int distanceType, double *distance, double *shift, double *work,
                     double *difference, int &bestIndex, double boundFactor);

/// The offset-removing matcher on a prepared set: copy i with its stored
/// length in place of fresh resampling, stopping at the first copy longer
/// than the reference. The shift is subtracted from the copy inside the set,
/// so the set keeps the shifted copies (a second call finds shifts near 0 and
/// the same distances up to rounding). unusedBuffer is not read.
double linearScaling2(SCALEDVECSET *set, const double *reference, int referenceLength,
                      int distanceType, double *distance, double *shift, double *unusedBuffer,
                      double *difference, int &bestIndex, double boundFactor);

// ---------------------------------------------------------------------------
// Shift-tolerant distance
// ---------------------------------------------------------------------------

/// Slides the shorter vector S along the longer T (the first argument is S
/// when the lengths are equal) and at each alignment i = 0 .. m-n removes the
/// offset of S - T[i .. i+n-1] (median for type 1, mean for type 2) before
/// taking vecDistance(S - offset, T[i ..], n, type), not divided by n.
/// Returns the smallest distance; bestAlignment is the lowest alignment that
/// gives it and bestOffset its offset (shorter minus longer). Distances must
/// be strictly below TOO_FAR_DISTANCE to count: otherwise bestAlignment is -1
/// and bestOffset keeps its value. An empty vector (length below 1) gives
/// TOO_FAR_DISTANCE with bestOffset = TOO_FAR_DISTANCE and bestAlignment =
/// -1. Any other type fails with "Unknown distance type (line %d of %s)".
double lrShiftDist(const double *vec1, int length1, const double *vec2, int length2,
                   int distanceType, double &bestOffset, int &bestAlignment);

// ---------------------------------------------------------------------------
// Greedy set cover
// ---------------------------------------------------------------------------

/// Greedy cover of the labels 1 .. L, L being the largest value of the set
/// matrix (setCount rows, slotCount columns, column-major; each row lists one
/// set's labels in any order, 0 for an empty slot). Each row is first
/// rewritten in place as its distinct labels in ascending order followed by
/// zeros. Round r then takes the set that adds the most labels not yet
/// covered (the lowest row on ties) into chosenSet[r] and stores the covered
/// share of L in coveredFraction[r]. The rounds end when a round adds
/// nothing (it is not counted), every label is covered, or maxRounds rounds
/// were made. Both outputs hold maxRounds entries, set to 0 and 1 first.
/// Returns the number of rounds counted. A label that is negative, not finite
/// or beyond the int range fails through myExit before anything is written.
int setCover(double *setMatrix, int setCount, int slotCount, int maxRounds, int *chosenSet,
             double *coveredFraction);

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
