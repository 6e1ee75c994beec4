// Lane types for the vectorised kernels: one interface, one type per target.
//
// A lane type packs `width` doubles (Vec) and says which lanes pass a test as
// a bit set (Mask, lane 0 in bit 0). Every operation is the plain IEEE
// operation per lane, so a kernel written over these types computes in every
// lane exactly what the scalar code computes for one value: the target only
// changes how many values go through at once.
//
//   load(p), store(p, v)    width doubles, unaligned
//   broadcast(x), zero()    every lane x, every lane +0
//   sub, mul, add           a - b, a * b, a + b per lane (never fused)
//   conditionalAbs(d)       d when d > 0, else -d (the sign bit flipped):
//                           +0 gives -0 and a NaN's sign flips, as the
//                           conditional negation does
//   lessMask(a, b)          lanes with a < b (false where either is NaN)
//   lessEqualMask(a, b)     lanes with a <= b (false where either is NaN)
//
// Per-lane conditions for blends (Cond: a lane mask of the target's own
// kind; a bit set is had from condBits):
//   lessCond, lessEqualCond, greaterCond, equalCond (false where NaN),
//   andCond, orCond, select(c, a, b) (a where c holds, else b), condBits(c)
// Further per-lane operations:
//   div(a, b), sqrt(a)      IEEE quotient and square root
//   quotientEstimate(a, b)  a / b within a relative 2^-13 for normal
//                           operands, for estimates that a proof bounds:
//                           a times a reciprocal estimate where the
//                           target has one (AVX-512), else div(a, b)
//   andBits(a, b), orBits   bitwise on the 64 bits of each lane
//   bitsAwayFrom(a, mask, centre, margin)
//                           lanes whose bits under mask (below 2^31) read
//                           as a whole number lie more than margin from
//                           centre (margin <= centre < mask)
//   negate(a)               a with its sign bit flipped (-0 for +0)
//   roundToFloat(a)         a rounded to single precision (to nearest, ties
//                           to even, overflowing to infinity) and widened
//                           back: with it, +, -, *, / and sqrt of two
//                           floats done in double and rounded give the
//                           single-precision result exactly (53 >= 2*24 + 2)
//   storeFloats(p, a)       a rounded to single precision per lane (as
//                           roundToFloat) into width floats at p, unaligned
//   floatSqrt(a)            the single-precision square root of a rounded
//                           to single precision, widened back: the same
//                           as roundToFloat(sqrt(roundToFloat(a))), with
//                           the narrower (cheaper) square root
//   truncate(a)             a rounded toward zero, for |a| < 2^31; other
//                           lanes (NaN included) give a value outside
//                           (-2^31, 2^31) or NaN
//   lookupSmall(table, i)   table[i] per lane for a table of 16 doubles and
//                           whole i in 0 .. 15: a permutation across two
//                           registers where the target has one (no gather)
//   lookup(table, i)        table[i] per lane, for whole i in range
//   transpose(v)            (LanesAvx512 only, for HoG's dense votes)
//                           v[0 .. width-1] read as a width x width matrix
//                           (v[i] lane j is element (i, j)), transposed in
//                           place: only moves values
//
// The x86 types are compiled inside the target regions of cpu_dispatch.h and
// must only be used by code compiled in the same region.
#ifndef CLUSTERKIT_SIMD_LANES_H
#define CLUSTERKIT_SIMD_LANES_H

#include "cpu_dispatch.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#if CLUSTERKIT_X86_DISPATCH
#include <immintrin.h>
#endif

struct LanesScalar {
  static constexpr int width = 1;
  using Vec = double;
  using Mask = unsigned;
  static Vec load(const double *p) { return *p; }
  static void store(double *p, Vec v) { *p = v; }
  static Vec broadcast(double x) { return x; }
  static Vec zero() { return 0.0; }
  static Vec sub(Vec a, Vec b) { return a - b; }
  static Vec mul(Vec a, Vec b) { return a * b; }
  static Vec add(Vec a, Vec b) { return a + b; }
  static Vec conditionalAbs(Vec d) {
    // Flips the sign bit without a branch the processor would mispredict.
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    bits ^= static_cast<std::uint64_t>(!(d > 0)) << 63;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  static Mask lessMask(Vec a, Vec b) { return a < b ? 1u : 0u; }
  static Mask lessEqualMask(Vec a, Vec b) { return a <= b ? 1u : 0u; }
  using Cond = bool;
  static Cond lessCond(Vec a, Vec b) { return a < b; }
  static Cond lessEqualCond(Vec a, Vec b) { return a <= b; }
  static Cond greaterCond(Vec a, Vec b) { return a > b; }
  static Cond equalCond(Vec a, Vec b) { return a == b; }
  static Cond andCond(Cond a, Cond b) { return a && b; }
  static Cond orCond(Cond a, Cond b) { return a || b; }
  static Vec select(Cond c, Vec a, Vec b) { return c ? a : b; }
  static Mask condBits(Cond c) { return c ? 1u : 0u; }
  static Vec div(Vec a, Vec b) { return a / b; }
  static Vec quotientEstimate(Vec a, Vec b) { return a / b; }
  static Vec sqrt(Vec a) { return std::sqrt(a); }
  static Vec andBits(Vec a, Vec b) { return combineBits(a, b, false); }
  static Vec orBits(Vec a, Vec b) { return combineBits(a, b, true); }
  static Cond bitsAwayFrom(Vec a, std::uint32_t mask, std::uint32_t centre, std::uint32_t margin) {
    std::uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    // Unsigned wrap-round: at most 2 * margin exactly when within margin.
    return (bits & mask) - (centre - margin) > 2 * margin;
  }
  static Vec negate(Vec a) { return -a; }
  static Vec roundToFloat(Vec a) { return static_cast<double>(static_cast<float>(a)); }
  static void storeFloats(float *p, Vec a) { *p = static_cast<float>(a); }
  static Vec floatSqrt(Vec a) { return static_cast<double>(std::sqrt(static_cast<float>(a))); }
  static Vec truncate(Vec a) { return std::trunc(a); }
  static Vec lookupSmall(const double *table, Vec i) { return lookup(table, i); }
  static Vec lookup(const double *table, Vec i) { return table[static_cast<int>(i)]; }

private:
  static Vec combineBits(Vec a, Vec b, bool either) {
    std::uint64_t x, y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    x = either ? x | y : x & y;
    std::memcpy(&a, &x, sizeof a);
    return a;
  }
};

// Float lanes for lower bounds that only decide what may be skipped (never
// for results): load, broadcast, zero, sub, mul, add as above on floats,
// abs(v) (the sign bit cleared) and greaterMask(a, b) (lanes with a > b,
// false where either is NaN). Twice as many lanes as the double type of the
// same target, except for scalar code.
struct FloatLanesScalar {
  static constexpr int width = 1;
  using Vec = float;
  using Mask = unsigned;
  static Vec load(const float *p) { return *p; }
  static Vec broadcast(float x) { return x; }
  static Vec zero() { return 0.0f; }
  static Vec sub(Vec a, Vec b) { return a - b; }
  static Vec mul(Vec a, Vec b) { return a * b; }
  static Vec add(Vec a, Vec b) { return a + b; }
  static Vec abs(Vec v) { return v < 0.0f ? -v : v; }
  static Mask greaterMask(Vec a, Vec b) { return a > b ? 1u : 0u; }
};

// Code lanes for a coarse lower bound on small integer codes (never for
// results): each lane is one 64-bit word holding eight byte codes, and the
// lanes of a vector are independent sums. As many lanes as the double type
// of the same target.
//   load(p), broadcast(w), zero()   width words, every lane w, every lane 0
//   sumAbsDiff(a, b)        per lane, the sum of the eight |a_i - b_i| of
//                           its unsigned bytes (0 .. 2040), as an integer
//   add(a, b)               per lane integer sum (sums stay below 2^31)
//   greaterMask(a, b)       lanes with a > b (both below 2^31)
struct CodeLanesScalar {
  static constexpr int width = 1;
  using Vec = std::uint64_t;
  using Mask = unsigned;
  static Vec load(const std::uint64_t *p) { return *p; }
  static Vec broadcast(std::uint64_t w) { return w; }
  static Vec zero() { return 0; }
  static Vec sumAbsDiff(Vec a, Vec b) {
    Vec sum = 0;
    for (int i = 0; i < 64; i += 8) {
      const unsigned x = static_cast<unsigned>(a >> i) & 0xFFu;
      const unsigned y = static_cast<unsigned>(b >> i) & 0xFFu;
      sum += x > y ? x - y : y - x;
    }
    return sum;
  }
  static Vec add(Vec a, Vec b) { return a + b; }
  static Mask greaterMask(Vec a, Vec b) { return a > b ? 1u : 0u; }
};

// Single-precision lanes for results, one float per lane of the double type
// of the same target (in the low part of a narrower register): IEEE float
// arithmetic, so a step on floats costs one conversion in and one out
// rather than a rounding after every double operation.
//   narrow(d)               the double lanes rounded to single precision (to
//                           nearest, ties to even, overflowing to infinity)
//   widen(f)                the float lanes as doubles (exact)
//   broadcast(x), zero()    every lane x, every lane +0
//   add, sub, mul, sqrt     single-precision sum, difference, product,
//                           square root
//   lessCond, greaterCond   per-lane comparisons (false where NaN), giving
//                           Cond for select(c, a, b) (a where c holds)
struct NarrowLanesScalar {
  static constexpr int width = 1;
  using Vec = float;
  using Cond = bool;
  static Vec narrow(double d) { return static_cast<float>(d); }
  static double widen(Vec f) { return static_cast<double>(f); }
  static Vec broadcast(float x) { return x; }
  static Vec zero() { return 0.0f; }
  static Vec add(Vec a, Vec b) { return a + b; }
  static Vec sub(Vec a, Vec b) { return a - b; }
  static Vec mul(Vec a, Vec b) { return a * b; }
  static Vec sqrt(Vec a) { return std::sqrt(a); }
  static Cond lessCond(Vec a, Vec b) { return a < b; }
  static Cond greaterCond(Vec a, Vec b) { return a > b; }
  static Vec select(Cond c, Vec a, Vec b) { return c ? a : b; }
};

#if CLUSTERKIT_X86_DISPATCH

CLUSTERKIT_BEGIN_TARGET_SSE2
struct LanesSse2 {
  static constexpr int width = 2;
  using Vec = __m128d;
  using Mask = unsigned;
  static Vec load(const double *p) { return _mm_loadu_pd(p); }
  static void store(double *p, Vec v) { _mm_storeu_pd(p, v); }
  static Vec broadcast(double x) { return _mm_set1_pd(x); }
  static Vec zero() { return _mm_setzero_pd(); }
  static Vec sub(Vec a, Vec b) { return _mm_sub_pd(a, b); }
  static Vec mul(Vec a, Vec b) { return _mm_mul_pd(a, b); }
  static Vec add(Vec a, Vec b) { return _mm_add_pd(a, b); }
  static Vec conditionalAbs(Vec d) {
    const Vec positive = _mm_cmpgt_pd(d, _mm_setzero_pd());
    return _mm_xor_pd(d, _mm_andnot_pd(positive, _mm_set1_pd(-0.0)));
  }
  static Mask lessMask(Vec a, Vec b) {
    return static_cast<Mask>(_mm_movemask_pd(_mm_cmplt_pd(a, b)));
  }
  static Mask lessEqualMask(Vec a, Vec b) {
    return static_cast<Mask>(_mm_movemask_pd(_mm_cmple_pd(a, b)));
  }
  using Cond = __m128d;
  static Cond lessCond(Vec a, Vec b) { return _mm_cmplt_pd(a, b); }
  static Cond lessEqualCond(Vec a, Vec b) { return _mm_cmple_pd(a, b); }
  static Cond greaterCond(Vec a, Vec b) { return _mm_cmpgt_pd(a, b); }
  static Cond equalCond(Vec a, Vec b) { return _mm_cmpeq_pd(a, b); }
  static Cond andCond(Cond a, Cond b) { return _mm_and_pd(a, b); }
  static Cond orCond(Cond a, Cond b) { return _mm_or_pd(a, b); }
  static Vec select(Cond c, Vec a, Vec b) { return _mm_or_pd(_mm_and_pd(c, a), _mm_andnot_pd(c, b)); }
  static Mask condBits(Cond c) { return static_cast<Mask>(_mm_movemask_pd(c)); }
  static Vec div(Vec a, Vec b) { return _mm_div_pd(a, b); }
  static Vec quotientEstimate(Vec a, Vec b) { return div(a, b); }
  static Vec sqrt(Vec a) { return _mm_sqrt_pd(a); }
  static Vec andBits(Vec a, Vec b) { return _mm_and_pd(a, b); }
  static Vec orBits(Vec a, Vec b) { return _mm_or_pd(a, b); }
  static Cond bitsAwayFrom(Vec a, std::uint32_t mask, std::uint32_t centre, std::uint32_t margin) {
    // On the low halves: the bits shifted to centre - margin + 2^31 and
    // compared signed, which is the unsigned comparison of the shift to
    // centre - margin; then each low half's result over its whole lane.
    const __m128i shift = _mm_set1_epi32(static_cast<int>(0x80000000u - (centre - margin)));
    const __m128i limit = _mm_set1_epi32(static_cast<int>(0x80000000u + 2 * margin));
    const __m128i bits = _mm_and_si128(_mm_castpd_si128(a), _mm_set1_epi32(static_cast<int>(mask)));
    const __m128i away = _mm_cmpgt_epi32(_mm_add_epi32(bits, shift), limit);
    return _mm_castsi128_pd(_mm_shuffle_epi32(away, _MM_SHUFFLE(2, 2, 0, 0)));
  }
  static Vec negate(Vec a) { return _mm_xor_pd(a, _mm_set1_pd(-0.0)); }
  static Vec roundToFloat(Vec a) { return _mm_cvtps_pd(_mm_cvtpd_ps(a)); }
  static void storeFloats(float *p, Vec a) {
    _mm_storel_pi(reinterpret_cast<__m64 *>(p), _mm_cvtpd_ps(a));
  }
  static Vec floatSqrt(Vec a) { return _mm_cvtps_pd(_mm_sqrt_ps(_mm_cvtpd_ps(a))); }
  static Vec truncate(Vec a) { return _mm_cvtepi32_pd(_mm_cvttpd_epi32(a)); }
  static Vec lookupSmall(const double *table, Vec i) { return lookup(table, i); }
  static Vec lookup(const double *table, Vec i) {
    const __m128i index = _mm_cvttpd_epi32(i);
    return _mm_set_pd(table[_mm_cvtsi128_si32(_mm_srli_si128(index, 4))],
                      table[_mm_cvtsi128_si32(index)]);
  }
};
struct FloatLanesSse2 {
  static constexpr int width = 4;
  using Vec = __m128;
  using Mask = unsigned;
  static Vec load(const float *p) { return _mm_loadu_ps(p); }
  static Vec broadcast(float x) { return _mm_set1_ps(x); }
  static Vec zero() { return _mm_setzero_ps(); }
  static Vec sub(Vec a, Vec b) { return _mm_sub_ps(a, b); }
  static Vec mul(Vec a, Vec b) { return _mm_mul_ps(a, b); }
  static Vec add(Vec a, Vec b) { return _mm_add_ps(a, b); }
  static Vec abs(Vec v) { return _mm_andnot_ps(_mm_set1_ps(-0.0f), v); }
  static Mask greaterMask(Vec a, Vec b) {
    return static_cast<Mask>(_mm_movemask_ps(_mm_cmpgt_ps(a, b)));
  }
};
struct CodeLanesSse2 {
  static constexpr int width = 2;
  using Vec = __m128i;
  using Mask = unsigned;
  static Vec load(const std::uint64_t *p) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p)); }
  static Vec broadcast(std::uint64_t w) { return _mm_set1_epi64x(static_cast<long long>(w)); }
  static Vec zero() { return _mm_setzero_si128(); }
  static Vec sumAbsDiff(Vec a, Vec b) { return _mm_sad_epu8(a, b); }
  static Vec add(Vec a, Vec b) { return _mm_add_epi64(a, b); }
  static Mask greaterMask(Vec a, Vec b) {
    // The sums fit the low 32 bits of each lane (the high ones are 0): the
    // 32-bit comparison of those halves, bits 0 and 2 of the float mask.
    const unsigned halves = static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(a, b))));
    return (halves & 1u) | ((halves >> 1) & 2u);
  }
};
struct NarrowLanesSse2 { // two floats in the low half
  static constexpr int width = 2;
  using Vec = __m128;
  using Cond = __m128;
  static Vec narrow(__m128d d) { return _mm_cvtpd_ps(d); }
  static __m128d widen(Vec f) { return _mm_cvtps_pd(f); }
  static Vec broadcast(float x) { return _mm_set1_ps(x); }
  static Vec zero() { return _mm_setzero_ps(); }
  static Vec add(Vec a, Vec b) { return _mm_add_ps(a, b); }
  static Vec sub(Vec a, Vec b) { return _mm_sub_ps(a, b); }
  static Vec mul(Vec a, Vec b) { return _mm_mul_ps(a, b); }
  static Vec sqrt(Vec a) { return _mm_sqrt_ps(a); }
  static Cond lessCond(Vec a, Vec b) { return _mm_cmplt_ps(a, b); }
  static Cond greaterCond(Vec a, Vec b) { return _mm_cmpgt_ps(a, b); }
  static Vec select(Cond c, Vec a, Vec b) {
    return _mm_or_ps(_mm_and_ps(c, a), _mm_andnot_ps(c, b));
  }
};
CLUSTERKIT_END_TARGET

CLUSTERKIT_BEGIN_TARGET_AVX2
struct LanesAvx2 {
  static constexpr int width = 4;
  using Vec = __m256d;
  using Mask = unsigned;
  static Vec load(const double *p) { return _mm256_loadu_pd(p); }
  static void store(double *p, Vec v) { _mm256_storeu_pd(p, v); }
  static Vec broadcast(double x) { return _mm256_set1_pd(x); }
  static Vec zero() { return _mm256_setzero_pd(); }
  static Vec sub(Vec a, Vec b) { return _mm256_sub_pd(a, b); }
  static Vec mul(Vec a, Vec b) { return _mm256_mul_pd(a, b); }
  static Vec add(Vec a, Vec b) { return _mm256_add_pd(a, b); }
  static Vec conditionalAbs(Vec d) {
    const Vec positive = _mm256_cmp_pd(d, _mm256_setzero_pd(), _CMP_GT_OQ);
    return _mm256_xor_pd(d, _mm256_andnot_pd(positive, _mm256_set1_pd(-0.0)));
  }
  static Mask lessMask(Vec a, Vec b) {
    return static_cast<Mask>(_mm256_movemask_pd(_mm256_cmp_pd(a, b, _CMP_LT_OQ)));
  }
  static Mask lessEqualMask(Vec a, Vec b) {
    return static_cast<Mask>(_mm256_movemask_pd(_mm256_cmp_pd(a, b, _CMP_LE_OQ)));
  }
  using Cond = __m256d;
  static Cond lessCond(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
  static Cond lessEqualCond(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_LE_OQ); }
  static Cond greaterCond(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
  static Cond equalCond(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
  static Cond andCond(Cond a, Cond b) { return _mm256_and_pd(a, b); }
  static Cond orCond(Cond a, Cond b) { return _mm256_or_pd(a, b); }
  static Vec select(Cond c, Vec a, Vec b) { return _mm256_blendv_pd(b, a, c); }
  static Mask condBits(Cond c) { return static_cast<Mask>(_mm256_movemask_pd(c)); }
  static Vec div(Vec a, Vec b) { return _mm256_div_pd(a, b); }
  static Vec quotientEstimate(Vec a, Vec b) { return div(a, b); }
  static Vec sqrt(Vec a) { return _mm256_sqrt_pd(a); }
  static Vec andBits(Vec a, Vec b) { return _mm256_and_pd(a, b); }
  static Vec orBits(Vec a, Vec b) { return _mm256_or_pd(a, b); }
  static Cond bitsAwayFrom(Vec a, std::uint32_t mask, std::uint32_t centre, std::uint32_t margin) {
    // As LanesSse2 does it.
    const __m256i shift = _mm256_set1_epi32(static_cast<int>(0x80000000u - (centre - margin)));
    const __m256i limit = _mm256_set1_epi32(static_cast<int>(0x80000000u + 2 * margin));
    const __m256i bits =
        _mm256_and_si256(_mm256_castpd_si256(a), _mm256_set1_epi32(static_cast<int>(mask)));
    const __m256i away = _mm256_cmpgt_epi32(_mm256_add_epi32(bits, shift), limit);
    return _mm256_castsi256_pd(_mm256_shuffle_epi32(away, _MM_SHUFFLE(2, 2, 0, 0)));
  }
  static Vec negate(Vec a) { return _mm256_xor_pd(a, _mm256_set1_pd(-0.0)); }
  static Vec roundToFloat(Vec a) { return _mm256_cvtps_pd(_mm256_cvtpd_ps(a)); }
  static void storeFloats(float *p, Vec a) { _mm_storeu_ps(p, _mm256_cvtpd_ps(a)); }
  static Vec floatSqrt(Vec a) { return _mm256_cvtps_pd(_mm_sqrt_ps(_mm256_cvtpd_ps(a))); }
  static Vec truncate(Vec a) { return _mm256_cvtepi32_pd(_mm256_cvttpd_epi32(a)); }
  static Vec lookupSmall(const double *table, Vec i) { return lookup(table, i); }
  static Vec lookup(const double *table, Vec i) {
    // The masked form with every lane set: its explicit source keeps GCC 12
    // from reporting the plain form's unused one as uninitialised.
    const __m256d all = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    return _mm256_mask_i32gather_pd(_mm256_setzero_pd(), table, _mm256_cvttpd_epi32(i), all, 8);
  }
};
struct FloatLanesAvx2 {
  static constexpr int width = 8;
  using Vec = __m256;
  using Mask = unsigned;
  static Vec load(const float *p) { return _mm256_loadu_ps(p); }
  static Vec broadcast(float x) { return _mm256_set1_ps(x); }
  static Vec zero() { return _mm256_setzero_ps(); }
  static Vec sub(Vec a, Vec b) { return _mm256_sub_ps(a, b); }
  static Vec mul(Vec a, Vec b) { return _mm256_mul_ps(a, b); }
  static Vec add(Vec a, Vec b) { return _mm256_add_ps(a, b); }
  static Vec abs(Vec v) { return _mm256_andnot_ps(_mm256_set1_ps(-0.0f), v); }
  static Mask greaterMask(Vec a, Vec b) {
    return static_cast<Mask>(_mm256_movemask_ps(_mm256_cmp_ps(a, b, _CMP_GT_OQ)));
  }
};
struct CodeLanesAvx2 {
  static constexpr int width = 4;
  using Vec = __m256i;
  using Mask = unsigned;
  static Vec load(const std::uint64_t *p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p)); }
  static Vec broadcast(std::uint64_t w) { return _mm256_set1_epi64x(static_cast<long long>(w)); }
  static Vec zero() { return _mm256_setzero_si256(); }
  static Vec sumAbsDiff(Vec a, Vec b) { return _mm256_sad_epu8(a, b); }
  static Vec add(Vec a, Vec b) { return _mm256_add_epi64(a, b); }
  static Mask greaterMask(Vec a, Vec b) { // sums below 2^31: the signed comparison
    return static_cast<Mask>(_mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpgt_epi64(a, b))));
  }
};
// Four floats in the same register as SSE2's two, the SSE operations on it.
struct NarrowLanesAvx2 : NarrowLanesSse2 {
  static constexpr int width = 4;
  static Vec narrow(__m256d d) { return _mm256_cvtpd_ps(d); }
  static __m256d widen(Vec f) { return _mm256_cvtps_pd(f); }
};
CLUSTERKIT_END_TARGET

CLUSTERKIT_BEGIN_TARGET_AVX512
struct LanesAvx512 {
  static constexpr int width = 8;
  using Vec = __m512d;
  using Mask = unsigned;
  static Vec load(const double *p) { return _mm512_loadu_pd(p); }
  static void store(double *p, Vec v) { _mm512_storeu_pd(p, v); }
  static Vec broadcast(double x) { return _mm512_set1_pd(x); }
  static Vec zero() { return _mm512_setzero_pd(); }
  static Vec sub(Vec a, Vec b) { return _mm512_sub_pd(a, b); }
  static Vec mul(Vec a, Vec b) { return _mm512_mul_pd(a, b); }
  static Vec add(Vec a, Vec b) { return _mm512_add_pd(a, b); }
  static Vec conditionalAbs(Vec d) {
    const __mmask8 positive = _mm512_cmp_pd_mask(d, _mm512_setzero_pd(), _CMP_GT_OQ);
    return _mm512_mask_blend_pd(positive, _mm512_xor_pd(d, _mm512_set1_pd(-0.0)), d);
  }
  static Mask lessMask(Vec a, Vec b) {
    return static_cast<Mask>(_mm512_cmp_pd_mask(a, b, _CMP_LT_OQ));
  }
  static Mask lessEqualMask(Vec a, Vec b) {
    return static_cast<Mask>(_mm512_cmp_pd_mask(a, b, _CMP_LE_OQ));
  }
  using Cond = __mmask8;
  // Every lane: the zero-masking forms, whose unused source GCC 12 would
  // otherwise report as uninitialised.
  static constexpr __mmask8 kAll = 0xFF;
  static Cond lessCond(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
  static Cond lessEqualCond(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_LE_OQ); }
  static Cond greaterCond(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ); }
  static Cond equalCond(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_EQ_OQ); }
  static Cond andCond(Cond a, Cond b) { return static_cast<Cond>(a & b); }
  static Cond orCond(Cond a, Cond b) { return static_cast<Cond>(a | b); }
  static Vec select(Cond c, Vec a, Vec b) { return _mm512_mask_blend_pd(c, b, a); }
  static Mask condBits(Cond c) { return static_cast<Mask>(c); }
  static Vec div(Vec a, Vec b) { return _mm512_div_pd(a, b); }
  // The reciprocal estimate errs by less than 2^-14 relative.
  static Vec quotientEstimate(Vec a, Vec b) {
    return _mm512_mul_pd(a, _mm512_maskz_rcp14_pd(kAll, b));
  }
  static Vec sqrt(Vec a) { return _mm512_maskz_sqrt_pd(kAll, a); }
  static Vec andBits(Vec a, Vec b) { return _mm512_and_pd(a, b); }
  static Vec orBits(Vec a, Vec b) { return _mm512_or_pd(a, b); }
  static Cond bitsAwayFrom(Vec a, std::uint32_t mask, std::uint32_t centre, std::uint32_t margin) {
    // Unsigned wrap-round: at most 2 * margin exactly when within margin.
    const __m512i bits = _mm512_and_si512(_mm512_castpd_si512(a), _mm512_set1_epi64(mask));
    const __m512i shifted = _mm512_sub_epi64(bits, _mm512_set1_epi64(centre - margin));
    return _mm512_cmpgt_epu64_mask(shifted, _mm512_set1_epi64(2 * margin));
  }
  static Vec negate(Vec a) { return _mm512_xor_pd(a, _mm512_set1_pd(-0.0)); }
  static Vec roundToFloat(Vec a) {
    return _mm512_maskz_cvtps_pd(kAll, _mm512_maskz_cvtpd_ps(kAll, a));
  }
  static void storeFloats(float *p, Vec a) {
    _mm256_storeu_ps(p, _mm512_maskz_cvtpd_ps(kAll, a));
  }
  static Vec floatSqrt(Vec a) {
    return _mm512_maskz_cvtps_pd(kAll, _mm256_sqrt_ps(_mm512_maskz_cvtpd_ps(kAll, a)));
  }
  static Vec truncate(Vec a) { return _mm512_maskz_cvtepi32_pd(kAll, truncateToInt(a)); }
  static Vec lookupSmall(const double *table, Vec i) {
    // The low four bits of whole i + 2^52 are those of i.
    const __m512i index = _mm512_castpd_si512(_mm512_add_pd(i, _mm512_set1_pd(0x1p52)));
    return _mm512_permutex2var_pd(_mm512_loadu_pd(table), index, _mm512_loadu_pd(table + 8));
  }
  static Vec lookup(const double *table, Vec i) {
    return _mm512_mask_i32gather_pd(_mm512_setzero_pd(), kAll, truncateToInt(i), table, 8);
  }
  static void transpose(Vec (&v)[width]) {
    // Pairs of neighbouring rows, then pairs of pairs, then the halves.
    Vec t[width];
    for (int i = 0; i < width; i += 2) {
      t[i] = _mm512_maskz_unpacklo_pd(kAll, v[i], v[i + 1]);
      t[i + 1] = _mm512_maskz_unpackhi_pd(kAll, v[i], v[i + 1]);
    }
    const __m512i pairsLow = _mm512_set_epi64(13, 12, 5, 4, 9, 8, 1, 0);
    const __m512i pairsHigh = _mm512_set_epi64(15, 14, 7, 6, 11, 10, 3, 2);
    Vec u[width];
    for (int i = 0; i < width; i += 4)
      for (int j = 0; j < 2; ++j) {
        u[i + j] = _mm512_permutex2var_pd(t[i + j], pairsLow, t[i + j + 2]);
        u[i + j + 2] = _mm512_permutex2var_pd(t[i + j], pairsHigh, t[i + j + 2]);
      }
    const __m512i halvesLow = _mm512_set_epi64(11, 10, 9, 8, 3, 2, 1, 0);
    const __m512i halvesHigh = _mm512_set_epi64(15, 14, 13, 12, 7, 6, 5, 4);
    for (int i = 0; i < 4; ++i) {
      v[i] = _mm512_permutex2var_pd(u[i], halvesLow, u[i + 4]);
      v[i + 4] = _mm512_permutex2var_pd(u[i], halvesHigh, u[i + 4]);
    }
  }

private:
  static __m256i truncateToInt(Vec a) {
    return _mm512_mask_cvttpd_epi32(_mm256_setzero_si256(), kAll, a);
  }
};
struct FloatLanesAvx512 {
  static constexpr int width = 16;
  using Vec = __m512;
  using Mask = unsigned;
  static Vec load(const float *p) { return _mm512_loadu_ps(p); }
  static Vec broadcast(float x) { return _mm512_set1_ps(x); }
  static Vec zero() { return _mm512_setzero_ps(); }
  static Vec sub(Vec a, Vec b) { return _mm512_sub_ps(a, b); }
  static Vec mul(Vec a, Vec b) { return _mm512_mul_ps(a, b); }
  static Vec add(Vec a, Vec b) { return _mm512_add_ps(a, b); }
  static Vec abs(Vec v) { return _mm512_andnot_ps(_mm512_set1_ps(-0.0f), v); }
  static Mask greaterMask(Vec a, Vec b) {
    return static_cast<Mask>(_mm512_cmp_ps_mask(a, b, _CMP_GT_OQ));
  }
};
struct CodeLanesAvx512 {
  // The target promises AVX-512F and DQ only, not the byte instructions:
  // two AVX2 halves, joined for the comparison.
  static constexpr int width = 8;
  struct Vec {
    __m256i low, high;
  };
  using Mask = unsigned;
  static Vec load(const std::uint64_t *p) {
    return {_mm256_loadu_si256(reinterpret_cast<const __m256i *>(p)),
            _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + 4))};
  }
  static Vec broadcast(std::uint64_t w) {
    const __m256i v = _mm256_set1_epi64x(static_cast<long long>(w));
    return {v, v};
  }
  static Vec zero() { return {_mm256_setzero_si256(), _mm256_setzero_si256()}; }
  static Vec sumAbsDiff(Vec a, Vec b) {
    return {_mm256_sad_epu8(a.low, b.low), _mm256_sad_epu8(a.high, b.high)};
  }
  static Vec add(Vec a, Vec b) {
    return {_mm256_add_epi64(a.low, b.low), _mm256_add_epi64(a.high, b.high)};
  }
  static Mask greaterMask(Vec a, Vec b) { // sums below 2^31: the signed comparison
    const int low = _mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpgt_epi64(a.low, b.low)));
    const int high = _mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpgt_epi64(a.high, b.high)));
    return static_cast<Mask>(low | high << 4);
  }
};
struct NarrowLanesAvx512 { // the comparisons and blends of AVX (no AVX-512VL)
  static constexpr int width = 8;
  using Vec = __m256;
  using Cond = __m256;
  static constexpr __mmask8 kAll = 0xFF; // see LanesAvx512
  static Vec narrow(__m512d d) { return _mm512_maskz_cvtpd_ps(kAll, d); }
  static __m512d widen(Vec f) { return _mm512_maskz_cvtps_pd(kAll, f); }
  static Vec broadcast(float x) { return _mm256_set1_ps(x); }
  static Vec zero() { return _mm256_setzero_ps(); }
  static Vec add(Vec a, Vec b) { return _mm256_add_ps(a, b); }
  static Vec sub(Vec a, Vec b) { return _mm256_sub_ps(a, b); }
  static Vec mul(Vec a, Vec b) { return _mm256_mul_ps(a, b); }
  static Vec sqrt(Vec a) { return _mm256_sqrt_ps(a); }
  static Cond lessCond(Vec a, Vec b) { return _mm256_cmp_ps(a, b, _CMP_LT_OQ); }
  static Cond greaterCond(Vec a, Vec b) { return _mm256_cmp_ps(a, b, _CMP_GT_OQ); }
  static Vec select(Cond c, Vec a, Vec b) { return _mm256_blendv_ps(b, a, c); }
};
CLUSTERKIT_END_TARGET

#endif // CLUSTERKIT_X86_DISPATCH

#endif // CLUSTERKIT_SIMD_LANES_H
