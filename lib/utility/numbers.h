// Conversions of doubles to integers that stay defined outside the integer's
// range.
#ifndef CLUSTERKIT_NUMBERS_H
#define CLUSTERKIT_NUMBERS_H

/// The largest 32-bit int as a double: the top of the int range, the
/// library's too-far distance and the limit of sizes read from the host.
constexpr double INT_MAX_AS_DOUBLE = 2147483647.0;

/// True when value lies outside the int range (at or beyond INT_MAX or
/// INT_MIN, or NaN); saturated then holds INT_MIN for values at or below
/// INT_MIN and INT_MAX otherwise (NaN included). A plain conversion of such a
/// value would be undefined.
bool saturatesInt(double value, int &saturated);

/// Truncates toward zero to an int; NaN gives 0, values beyond the int range
/// saturate (a plain conversion would be undefined there).
int truncateToInt(double value);

/// Truncates toward zero to a 64-bit integer; NaN gives 0, values beyond the
/// range saturate at LLONG_MIN or LLONG_MAX.
long long truncateToLongLong(double value);

#endif // CLUSTERKIT_NUMBERS_H
