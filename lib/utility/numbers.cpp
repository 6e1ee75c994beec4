// Small numeric helpers of the utility unit.
#include "utility.h"

#include <climits>
#include <cmath>

int truncateToInt(double value) {
  if (std::isnan(value))
    return 0;
  if (value >= 2147483647.0)
    return INT_MAX;
  if (value <= -2147483648.0)
    return INT_MIN;
  return static_cast<int>(value);
}
