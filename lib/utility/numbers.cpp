// Conversions of doubles to ints that stay defined outside the int range.
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
