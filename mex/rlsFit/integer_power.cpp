#include "integer_power.h"

namespace integer_power {

void fillPowerRowWithLibrary(double x, int order, double *row) {
  row[order] = std::isnan(x) ? libraryPower(x, 0) : 1.0;
  int k = 1;
  if (baseInRange(x)) {
    double xHigh, xLow;
    splitHalves(x, xHigh, xLow);
    DoubleDouble power{x, 0.0};
    for (; k <= order; ++k) {
      if (k > 1)
        power = timesBase(power, x, xHigh, xLow);
      if (!chainInRange(power.high))
        break;
      row[order - k] = surelyRoundsToHigh(power) ? power.high : libraryPower(x, k);
    }
  }
  for (; k <= order; ++k)
    row[order - k] = libraryPower(x, k);
}

} // namespace integer_power
