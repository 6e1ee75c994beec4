// Whole powers x^k of a double with the bits of std::pow(x, k), mostly
// without calling it.
//
// Three calls of the library's pow per point dominated a cubic fit; the
// powers here come from an exact-enough product chain and are accepted only
// where the library's own accuracy leaves it no other result.
//
// Method. x^k is carried as an unevaluated sum high + low of two doubles
// (|low| <= ulp(high)/2): x^1 = (x, 0), and each further power multiplies by
// x with Dekker's exact product (Veltkamp's split, no fused multiply-add;
// the build forbids contraction), p + e = high * x exactly, then
// s = low * x + e and the renormalisation high' = p + s,
// low' = s - (high' - p), which is exact because |s| < 2^-51 |p|.
//
// Premise: the system library's pow (the table-driven one of glibc 2.28 and
// later, every x86-64 variant built from that source) returns a double within
// 0.54 units in the last place of the exact value t, the unit being that of
// t's binade, 2^(E-52) for 2^E <= |t| < 2^(E+1) (its documented worst error;
// 0.52 with fused multiply-add).
//
// Error of the chain. While 2^-900 <= |high| < 2^901 and 2^-60 <= |x| < 2^61,
// no split, product or sum overflows, and every exact product term is a
// multiple of 2^-1064, so Dekker's product is exact. One step then
// errs by at most |low * x| 2^-53 + |s| 2^-53 + 2^-1075 (one underflowing
// rounding) <= 2.01 * 2^-106 |high * x| + 2^-1075, which relative to the
// result (>= 2^-960) is below 2^-104.9. After k steps,
// |high + low - t| <= k 2^-104 |t|.
//
// Acceptance. Let u = ulp(high) = 2^(E-52) with high not a power of two,
// 2^-900 <= |high| < 2^901, and |low| <= (470/1024) u. Then
// |t - high| <= (470/1024) u + k 2^-104 |t| and |t| < 2^53.01 u, so for
// every k < 2^31 the distance is below 0.45899 u < 0.46 u: t lies in high's
// binade (high is at least u away from either power of two), its unit is u,
// and every other double lies more than 0.54 u from t. By the premise
// pow(x, k) returns high. Everything else asks the library: NaN, infinities, zeros,
// subnormals, |x| outside [2^-60, 2^61), powers leaving [2^-900, 2^901)
// (overflow and underflow included), results that are powers of two (the
// unit below them is half as large, so the premise would allow the
// neighbour below) and values within 0.041 units of a rounding midpoint
// (about 8 % of the powers of random x: the premise leaves them undecided).
#ifndef CLUSTERKIT_INTEGER_POWER_H
#define CLUSTERKIT_INTEGER_POWER_H

#include "double_bits.h"

#include <cmath>
#include <cstdint>

namespace integer_power {

// The binades (the power of two at or below the magnitude) that the chain
// works in: x in [2^-60, 2^61), its powers in [2^-900, 2^901).
constexpr double kLowestBase = 0x1p-60;
constexpr double kHighestBase = 0x1p60;
constexpr double kLowestChain = 0x1p-900;
constexpr double kHighestChain = 0x1p900;
// The largest accepted |low| is this times the binade of high: (470/1024)
// units of 2^-52 times the binade. Both factors are powers of two or short,
// so the product is exact.
constexpr double kAcceptedLowPerBinade = 0.458984375 * 0x1p-52;
constexpr double kSplitter = 134217729.0; // 2^27 + 1

// high + low, |low| <= ulp(high) / 2.
struct DoubleDouble {
  double high;
  double low;
};

// high + low == value, each with at most 26 significant bits (Veltkamp).
inline void splitHalves(double value, double &high, double &low) {
  const double scaled = kSplitter * value;
  high = scaled - (scaled - value);
  low = value - high;
}

// The power times x (split into xHigh + xLow), renormalised.
inline DoubleDouble timesBase(DoubleDouble power, double x, double xHigh, double xLow) {
  double high, low;
  splitHalves(power.high, high, low);
  const double product = power.high * x;
  const double productError = ((high * xHigh - product) + high * xLow + low * xHigh) + low * xLow;
  const double tail = power.low * x + productError;
  const double sum = product + tail;
  return {sum, tail - (sum - product)};
}

// Whether the chain may go on from this power (see the error bound above).
inline bool chainInRange(double high) {
  const double binade = binadeOf(high);
  return (kLowestChain <= binade) & (binade <= kHighestChain);
}

// Whether the chain may start from x (false for NaN too).
inline bool baseInRange(double x) {
  const double binade = binadeOf(x);
  return (kLowestBase <= binade) & (binade <= kHighestBase);
}

// Whether pow must return power.high (see Acceptance above); power.high is
// in the chain's range.
inline bool surelyRoundsToHigh(DoubleDouble power) {
  const double binade = binadeOf(power.high);
  return (binade < std::fabs(power.high)) &
         (std::fabs(power.low) <= binade * kAcceptedLowPerBinade);
}

} // namespace integer_power

/// std::pow(x, k) with an exponent the compiler cannot see: it would fold
/// pow(x, 0) to 1 and pow(x, 1) to x, which the library does not return for
/// a signalling NaN (it quiets it).
inline double libraryPower(double x, int k) {
#if defined(__GNUC__) || defined(__clang__)
  __asm__("" : "+r"(k));
#endif
  return std::pow(x, static_cast<double>(k));
}

namespace integer_power {

// The row of fillPowerRow without the library when every power passes the
// acceptance above; returns whether they all did (the row is then complete).
// Branch-free: values outside the chain's range only make it return false.
inline bool fillPowerRowDirectly(double x, int order, double *row) {
  bool accepted = baseInRange(x);
  double xHigh, xLow;
  splitHalves(x, xHigh, xLow);
  DoubleDouble power{x, 0.0};
  row[order] = 1.0;
  for (int k = 1; k <= order; ++k) {
    if (k > 1)
      power = timesBase(power, x, xHigh, xLow);
    accepted &= chainInRange(power.high) & surelyRoundsToHigh(power);
    row[order - k] = power.high;
  }
  return accepted;
}

// fillPowerRow when some power needs the library: each power is taken from
// the chain where it passes, from pow otherwise.
void fillPowerRowWithLibrary(double x, int order, double *row);

} // namespace integer_power

/// row[j] = std::pow(x, order - j) for j = 0 .. order (order + 1 values,
/// order >= 0), with the same bits: x^order first, the constant 1 last.
/// NaN (pow(x, 0) is 1 for a quiet NaN, a quiet NaN for a signalling one),
/// infinities, zeros, tiny or huge x and the rare doubtful powers come from
/// the library's pow itself.
inline void fillPowerRow(double x, int order, double *row) {
  if (!integer_power::fillPowerRowDirectly(x, order, row))
    integer_power::fillPowerRowWithLibrary(x, order, row);
}

#endif // CLUSTERKIT_INTEGER_POWER_H
