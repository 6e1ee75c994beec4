// Conversions of doubles to integers that stay defined outside the integer's
// range.
#include "numbers.h"

#include <climits>
#include <cmath>

bool saturatesInt(double value, int &saturated) {
  if (!(value < INT_MAX_AS_DOUBLE)) {
    saturated = INT_MAX;
    return true;
  }
  if (value <= static_cast<double>(INT_MIN)) {
    saturated = INT_MIN;
    return true;
  }
  return false;
}

int truncateToInt(double value) {
  if (std::isnan(value))
    return 0;
  int saturated;
  return saturatesInt(value, saturated) ? saturated : static_cast<int>(value);
}

long long truncateToLongLong(double value) {
  // 2^63 as a double: the first value beyond LLONG_MAX.
  constexpr double beyondLongLong = 9223372036854775808.0;
  if (std::isnan(value))
    return 0;
  if (value >= beyondLongLong)
    return LLONG_MAX;
  if (value <= -beyondLongLong)
    return LLONG_MIN;
  return static_cast<long long>(value);
}
