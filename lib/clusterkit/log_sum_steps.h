// Steps of the sequential log-sum, acc <- ln(exp(a - acc) + 1.0) + acc for a
// value a well below acc, decided without calling exp and log: the same bits
// as the library's calls wherever an error bound leaves only one answer, and
// no answer (the caller makes the calls) elsewhere. Not part of the public
// interface; mixLogSum uses it, and the tests check it against the calls.
//
// Why a step can skip the calls. The step computes x = a - acc, t = exp(x),
// u = t + 1.0, l = log(u) and l + acc, each rounded. For x in [-37, -8],
// t <= 2^-11.5, so u = 1 + d with d a multiple of 2^-52, and the result is
// known once d and l are. The library's exp and log are taken to be within
// one unit in the last place (ulp(y) <= |y| 2^-52); glibc's are within 0.52.
//  - d: u is the double nearest 1 + exp(x). With an estimate t' of exp(x)
//    whose error plus the library's stays below E = t' 2^-49, u' = t' + 1.0
//    is u when 1 + t' lies more than E inside the interval that rounds to
//    u', i.e. |t' - (u' - 1)| + E < 2^-53 (t' - (u' - 1) is exact; the slack
//    factor covers the rounding of the sum).
//  - l: ln(1 + d) = d - d^2/2 + d^3/3 - d^4/4 + r5 with 0 <= r5 <= d^5/5
//    (three terms and r4 <= d^4/4 where d <= 2^-17). The series l' differs
//    from log(u) by at most the library's unit (<= l' 2^-52), the rounding
//    of l' (<= l' 2^-53), the remainder and the rounding of the small terms
//    (<= d^2 2^-51): together under M = l' 2^-50 + d^2 (d^3 + 2^-49).
//  - l + acc: the sum s = fl(l' + acc) and its exact error e (TwoSum) put
//    log(u) + acc within |e| + M of s; when that is below half a unit in the
//    last place of s (and s is not a power of two, where the gap below is
//    half as wide), log(u) + acc rounds to s too.
// The estimate of exp(x) comes in two parts, so that the long part runs off
// the chain from one value to the next: estimateExp(z) for z = a - acc taken
// with the sum one step earlier, and then exp(x) = exp(z) exp(x - z), where
// x - z is exact (Sterbenz: |x - z| <= 2^-11 while |x| >= 8) and small
// enough for four terms of its series (remainder <= 2^-61.9; three terms,
// remainder <= 2^-53.6, where |x - z| <= 2^-17).
// estimateExp: z = k ln2/64 + r with |r| <= 0.00542, k from rounding
// z 64/ln2; ln2/64 in two parts, the first with 40 bits so that k times it is
// exact (|k| < 2^12), the first subtraction exact (Sterbenz). exp(r) by its
// series to r^5/120 (remainder <= 2^-54.7), times 2^(j/64) from a table of
// correctly rounded values and the exact power 2^((k - j)/64). Relative
// error: table 2^-53, series and its rounding 2^-52.4, product 2^-53, r's
// own error 2^-60 (the tests check 2^-50 on many exponents). With the factor
// exp(x - z) (series 2^-53.6 at most, product and sum 2^-53) and the
// library's 2^-52, under 2^-50.1: inside E with a factor 2 to spare.
#ifndef CLUSTERKIT_LOG_SUM_STEPS_H
#define CLUSTERKIT_LOG_SUM_STEPS_H

#include "double_bits.h"

#include <cmath>
#include <cstdint>

namespace log_sum_steps {

/// An estimate of exp(z), made ahead of the step that needs it; valid only
/// for z in [-40, -6] (NaN and everything else are not).
struct ExpEstimate {
  double z;
  double value;     // e, the estimate of exp(z)
  double half;      // e / 2
  double square;    // e^2
  double logSeries; // -e^2/2 + e^3/3, the start of ln(1 + e) - e
  bool valid;
};

// 2^(j/64), j = 0 .. 63, each the double nearest its exact value.
constexpr double kTwoToJOver64[64] = {
    0x1.0000000000000p+0, 0x1.02c9a3e778061p+0, 0x1.059b0d3158574p+0, 0x1.0874518759bc8p+0,
    0x1.0b5586cf9890fp+0, 0x1.0e3ec32d3d1a2p+0, 0x1.11301d0125b51p+0, 0x1.1429aaea92de0p+0,
    0x1.172b83c7d517bp+0, 0x1.1a35beb6fcb75p+0, 0x1.1d4873168b9aap+0, 0x1.2063b88628cd6p+0,
    0x1.2387a6e756238p+0, 0x1.26b4565e27cddp+0, 0x1.29e9df51fdee1p+0, 0x1.2d285a6e4030bp+0,
    0x1.306fe0a31b715p+0, 0x1.33c08b26416ffp+0, 0x1.371a7373aa9cbp+0, 0x1.3a7db34e59ff7p+0,
    0x1.3dea64c123422p+0, 0x1.4160a21f72e2ap+0, 0x1.44e086061892dp+0, 0x1.486a2b5c13cd0p+0,
    0x1.4bfdad5362a27p+0, 0x1.4f9b2769d2ca7p+0, 0x1.5342b569d4f82p+0, 0x1.56f4736b527dap+0,
    0x1.5ab07dd485429p+0, 0x1.5e76f15ad2148p+0, 0x1.6247eb03a5585p+0, 0x1.6623882552225p+0,
    0x1.6a09e667f3bcdp+0, 0x1.6dfb23c651a2fp+0, 0x1.71f75e8ec5f74p+0, 0x1.75feb564267c9p+0,
    0x1.7a11473eb0187p+0, 0x1.7e2f336cf4e62p+0, 0x1.82589994cce13p+0, 0x1.868d99b4492edp+0,
    0x1.8ace5422aa0dbp+0, 0x1.8f1ae99157736p+0, 0x1.93737b0cdc5e5p+0, 0x1.97d829fde4e50p+0,
    0x1.9c49182a3f090p+0, 0x1.a0c667b5de565p+0, 0x1.a5503b23e255dp+0, 0x1.a9e6b5579fdbfp+0,
    0x1.ae89f995ad3adp+0, 0x1.b33a2b84f15fbp+0, 0x1.b7f76f2fb5e47p+0, 0x1.bcc1e904bc1d2p+0,
    0x1.c199bdd85529cp+0, 0x1.c67f12e57d14bp+0, 0x1.cb720dcef9069p+0, 0x1.d072d4a07897cp+0,
    0x1.d5818dcfba487p+0, 0x1.da9e603db3285p+0, 0x1.dfc97337b9b5fp+0, 0x1.e502ee78b3ff6p+0,
    0x1.ea4afa2a490dap+0, 0x1.efa1bee615a27p+0, 0x1.f50765b6e4540p+0, 0x1.fa7c1819e90d8p+0,
};

inline ExpEstimate estimateExp(double z) {
  constexpr double kSixtyFourOverLn2 = 0x1.71547652b82fep+6;
  constexpr double kLn2Over64High = 0x1.62e42fefa4000p-7; // 40 bits
  constexpr double kLn2Over64Low = -0x1.8432a1b0e2634p-49;
  constexpr double kRoundingShifter = 0x1.8p52;
  if (!(z >= -40.0 && z <= -6.0)) // NaN too; no work where no step can use it
    return {z, 0.0, 0.0, 0.0, 0.0, false};
  const double kd = (z * kSixtyFourOverLn2 + kRoundingShifter) - kRoundingShifter;
  const double r = (z - kd * kLn2Over64High) - kd * kLn2Over64Low;
  const double r2 = r * r;
  const double tail = (0.5 + r * (1.0 / 6)) + r2 * (1.0 / 24 + r * (1.0 / 120));
  const double expOfR = 1.0 + (r + r2 * tail);
  const int k = static_cast<int>(kd);
  const unsigned j = static_cast<unsigned>(k) & 63u;
  const int power = (k - static_cast<int>(j)) / 64; // in [-58, -9]
  const double scale = doubleOf(static_cast<std::uint64_t>(power + 1023) << 52);
  const double value = (kTwoToJOver64[j] * expOfR) * scale;
  const double square = value * value;
  return {z, value, value * 0.5, square, square * (-0.5 + value * (1.0 / 3)), true};
}

// Half a unit in the last place of s, or 0 where the test must not pass:
// s a power of two, zero or subnormal.
inline double halfUlpAwayFromPowersOfTwo(double s) {
  const double binade = binadeOf(s);
  return std::fabs(s) == binade ? 0.0 : binade * 0x1p-53;
}

/// One step acc <- ln(exp(a - acc) + 1.0) + acc with the estimate made for
/// a one step earlier. Returns true and the step's result where the bounds
/// above decide it; false (result untouched) elsewhere, NaN and infinities
/// included.
inline bool decideStep(double acc, double a, const ExpEstimate &estimate, double &result) {
  const double x = a - acc;
  const double shift = x - estimate.z;
  if (!(estimate.valid && x >= -37.0 && x <= -8.0 && std::fabs(shift) <= 0x1p-11))
    return false;
  double t, d, l, seriesRemainder;
  if (x <= -12.0 && std::fabs(shift) <= 0x1p-17) {
    // exp(x) <= 2^-17.3: three terms of exp(shift) (remainder under
    // |shift|^3/6 <= 2^-53.6 relative), and ln(1 + d) - d from the estimate
    // made ahead, -e^2/2 + e^3/3 - e^2 shift, which leaves on the chain only
    // the last term. Its distance from ln(1 + d) - d, with y = exp(x): from
    // d - y, y 2^-52.9 + y^2 2^-48.9; the dropped terms of exp(2 shift) and
    // of the series, y^2 (2^-34 + 2^-34.3 + 2^-36.6); roundings, y^2 2^-49:
    // under t (2^-52 + t 2^-32).
    t = (estimate.value + estimate.value * shift) + (estimate.half * shift) * shift;
    d = (t + 1.0) - 1.0;
    l = d + (estimate.logSeries - estimate.square * shift);
    seriesRemainder = t * (0x1p-52 + t * 0x1p-32);
  } else {
    const double shift2 = shift * shift;
    const double expOfShiftMinusOne =
        shift + shift2 * ((0.5 + shift * (1.0 / 6)) + shift2 * (1.0 / 24));
    t = estimate.value + estimate.value * expOfShiftMinusOne;
    d = (t + 1.0) - 1.0;
    const double d2 = d * d;
    l = d + d2 * ((-0.5 + d * (1.0 / 3)) + d2 * -0.25);
    seriesRemainder = d2 * (d2 * d + 0x1p-49);
  }
  const double s = l + acc;
  constexpr double kSlack = 1.0 - 0x1p-50; // covers the rounding of the sums below
  const bool onePlusDecided = std::fabs(t - d) + t * 0x1p-49 < 0x1p-53 * kSlack;
  const double back = s - acc;
  const double sumError = (acc - (s - back)) + (l - back);
  const double logMargin = l * 0x1p-50 + seriesRemainder;
  const bool sumDecided =
      std::fabs(sumError) + logMargin < halfUlpAwayFromPowersOfTwo(s) * kSlack;
  if (!(onePlusDecided && sumDecided))
    return false;
  result = s;
  return true;
}

} // namespace log_sum_steps

#endif // CLUSTERKIT_LOG_SUM_STEPS_H
