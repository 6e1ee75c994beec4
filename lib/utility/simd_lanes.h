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
// The x86 types are compiled inside the target regions of cpu_dispatch.h and
// must only be used by code compiled in the same region.
#ifndef CLUSTERKIT_SIMD_LANES_H
#define CLUSTERKIT_SIMD_LANES_H

#include "cpu_dispatch.h"

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
};
CLUSTERKIT_END_TARGET

#endif // CLUSTERKIT_X86_DISPATCH

#endif // CLUSTERKIT_SIMD_LANES_H
