// Vector helpers of the utility unit: element-wise arithmetic, mean, minimum,
// medians, resampling, rounding, sort comparators, table searches and lookups.
#ifndef CLUSTERKIT_VECTOR_H
#define CLUSTERKIT_VECTOR_H

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

#endif // CLUSTERKIT_VECTOR_H
