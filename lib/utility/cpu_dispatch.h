// Run-time choice of the instruction set that vectorised kernels use.
//
// One build runs on every x86-64 processor: kernels are compiled once per
// target inside this header's target regions and the fastest target the
// processor (and its operating system) supports is picked once, at the first
// call. Elsewhere (other processors, other compilers) only the scalar target
// exists and everything still builds with the plain flags.
//
// The mechanism is the compiler's own: a target region switches code
// generation for the functions defined inside it, so no source file needs
// extra compiler flags and every plug-in stays one self-contained file.
//
// Adding a kernel (see distance_engine.cpp for a complete example):
//  1. Write its body once, as templates over a lane type (simd_lanes.h:
//     LanesScalar, LanesSse2, LanesAvx2, LanesAvx512 share one interface) in
//     a .inc file without include guards and without #includes of its own.
//  2. In one .cpp, after simd_lanes.h, define CLUSTERKIT_KERNEL_FILE as that
//     file's name and include "kernel_targets.inc": it builds the file once
//     per target, each in a namespace of its own (scalar_target, sse2_target,
//     ...) inside that target's CLUSTERKIT_BEGIN_TARGET_<T> region, with the
//     target's lane types in front.
//  3. Make the public function switch on activeKernelTarget() and call the
//     namespace of that target.
//  4. In the tests, loop over supportedKernelTargets() with
//     ScopedKernelTarget and compare every target with the literal version.
#ifndef CLUSTERKIT_CPU_DISPATCH_H
#define CLUSTERKIT_CPU_DISPATCH_H

#include <vector>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define CLUSTERKIT_X86_DISPATCH 1
#else
#define CLUSTERKIT_X86_DISPATCH 0
#endif

#if CLUSTERKIT_X86_DISPATCH
#if defined(__clang__)
#define CLUSTERKIT_TARGET_PRAGMA_(text) _Pragma(#text)
#define CLUSTERKIT_BEGIN_TARGET_(isa)                                                           \
  CLUSTERKIT_TARGET_PRAGMA_(clang attribute push(__attribute__((target(isa))), apply_to = function))
#define CLUSTERKIT_END_TARGET _Pragma("clang attribute pop")
#else
#define CLUSTERKIT_TARGET_PRAGMA_(text) _Pragma(#text)
#define CLUSTERKIT_BEGIN_TARGET_(isa)                                                           \
  _Pragma("GCC push_options") CLUSTERKIT_TARGET_PRAGMA_(GCC target(isa))
#define CLUSTERKIT_END_TARGET _Pragma("GCC pop_options")
#endif
#define CLUSTERKIT_BEGIN_TARGET_SSE2 CLUSTERKIT_BEGIN_TARGET_("sse2")
#define CLUSTERKIT_BEGIN_TARGET_AVX2 CLUSTERKIT_BEGIN_TARGET_("avx2")
#define CLUSTERKIT_BEGIN_TARGET_AVX512 CLUSTERKIT_BEGIN_TARGET_("avx512f,avx512dq")
#endif

/// Instruction sets a kernel can be built for, slowest first.
enum class KernelTarget { Scalar = 0, Sse2 = 1, Avx2 = 2, Avx512 = 3 };

/// "scalar", "sse2", "avx2" or "avx512".
const char *kernelTargetName(KernelTarget target);

/// Whether this build has the target and this processor can run it.
bool kernelTargetSupported(KernelTarget target);

/// Every supported target, slowest first (scalar is always there).
std::vector<KernelTarget> supportedKernelTargets();

/// The target kernels use now: the best supported one, unless forced.
KernelTarget activeKernelTarget();

/// Forces kernels onto target (for tests and benchmarks; results are the
/// same bits on every target). Returns false and changes nothing when the
/// target is not supported.
bool setKernelTarget(KernelTarget target);

/// One cache description in the layout of CPUID leaf 4 (and AMD's 0x8000001D):
/// eax bits 0-4 the type (0 no more caches, 1 data, 2 instructions, 3
/// unified) and 5-7 the level; ebx the line size, partitions and ways, and
/// ecx the sets, each stored minus one.
struct CacheDescription {
  unsigned eax = 0, ebx = 0, ecx = 0;
};

/// The bytes of the first level-1 data or unified cache among count
/// descriptions, read up to the first of type 0; 0 when there is none.
long long firstLevelDataCacheBytesOf(const CacheDescription *descriptions, int count);

/// The processor's first-level data cache in bytes, read once: CPUID's cache
/// descriptions (leaf 4, else AMD's 0x8000001D, else AMD's 0x80000005), else
/// what the C library reports; 0 when nothing answers (other processors,
/// some virtual machines).
long long firstLevelDataCacheBytes();

/// Forces a target for one scope and puts the previous one back.
class ScopedKernelTarget {
public:
  explicit ScopedKernelTarget(KernelTarget target) : previous_(activeKernelTarget()) {
    setKernelTarget(target);
  }
  ~ScopedKernelTarget() { setKernelTarget(previous_); }
  ScopedKernelTarget(const ScopedKernelTarget &) = delete;
  ScopedKernelTarget &operator=(const ScopedKernelTarget &) = delete;

private:
  KernelTarget previous_;
};

#endif // CLUSTERKIT_CPU_DISPATCH_H
