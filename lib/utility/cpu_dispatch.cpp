// Picks the kernel target once from what the processor reports.
#include "cpu_dispatch.h"

#if CLUSTERKIT_X86_DISPATCH
#include <cpuid.h>
#endif
#if __has_include(<unistd.h>)
#include <unistd.h> // sysconf
#endif

namespace {

KernelTarget bestSupportedTarget() {
#if CLUSTERKIT_X86_DISPATCH
  // The compiler's run-time checks also ask the operating system whether it
  // saves the wide registers, so a reported feature is a usable one.
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq"))
    return KernelTarget::Avx512;
  if (__builtin_cpu_supports("avx2"))
    return KernelTarget::Avx2;
  return KernelTarget::Sse2; // part of every x86-64 processor
#else
  return KernelTarget::Scalar;
#endif
}

KernelTarget bestTarget() {
  static const KernelTarget best = bestSupportedTarget();
  return best;
}

KernelTarget &currentTarget() {
  static KernelTarget target = bestTarget();
  return target;
}

// Cache descriptions read per CPUID leaf: far more than any processor has
// (Intel's list ends with a description of type 0 after about four).
constexpr int kMostCacheDescriptions = 16;

#if CLUSTERKIT_X86_DISPATCH
// The level-1 data cache from the descriptions of CPUID leaf `leaf`
// (0 when the leaf is beyond the processor's or describes none).
long long cacheBytesOfLeaf(unsigned leaf) {
  const unsigned highest = __get_cpuid_max(leaf & 0x80000000u, nullptr);
  if (highest < leaf)
    return 0;
  CacheDescription descriptions[kMostCacheDescriptions];
  for (int i = 0; i < kMostCacheDescriptions; ++i) {
    unsigned edx;
    __cpuid_count(leaf, i, descriptions[i].eax, descriptions[i].ebx, descriptions[i].ecx, edx);
  }
  return firstLevelDataCacheBytesOf(descriptions, kMostCacheDescriptions);
}

// What the processor says: Intel describes its caches in leaf 4 (reserved,
// all zero, on AMD); AMD in 0x8000001D when it has the topology extensions,
// and always, as kilobytes in bits 24-31 of ecx, in 0x80000005 (reserved on
// Intel). Some virtual machines answer only the last.
long long cacheBytesFromCpuid() {
  if (const long long bytes = cacheBytesOfLeaf(4))
    return bytes;
  unsigned eax, ebx, ecx, edx;
  const bool topologyExtensions =
      __get_cpuid(0x80000001u, &eax, &ebx, &ecx, &edx) && (ecx & (1u << 22)) != 0;
  if (topologyExtensions)
    if (const long long bytes = cacheBytesOfLeaf(0x8000001Du))
      return bytes;
  if (__get_cpuid(0x80000005u, &eax, &ebx, &ecx, &edx))
    return static_cast<long long>(ecx >> 24) * 1024;
  return 0;
}
#endif

long long readFirstLevelDataCacheBytes() {
#if CLUSTERKIT_X86_DISPATCH
  if (const long long bytes = cacheBytesFromCpuid())
    return bytes;
#endif
#ifdef _SC_LEVEL1_DCACHE_SIZE
  const long answer = sysconf(_SC_LEVEL1_DCACHE_SIZE);
  if (answer > 0)
    return answer;
#endif
  return 0;
}

} // namespace

long long firstLevelDataCacheBytesOf(const CacheDescription *descriptions, int count) {
  for (int i = 0; i < count; ++i) {
    const unsigned type = descriptions[i].eax & 0x1fu;
    const unsigned level = (descriptions[i].eax >> 5) & 0x7u;
    if (type == 0)
      break;
    if (level == 1 && (type == 1 || type == 3)) {
      const unsigned ebx = descriptions[i].ebx;
      const long long lineSize = (ebx & 0xfffu) + 1;
      const long long partitions = ((ebx >> 12) & 0x3ffu) + 1;
      const long long ways = (ebx >> 22) + 1;
      const long long sets = static_cast<long long>(descriptions[i].ecx) + 1;
      return ways * partitions * lineSize * sets;
    }
  }
  return 0;
}

long long firstLevelDataCacheBytes() {
  static const long long bytes = readFirstLevelDataCacheBytes();
  return bytes;
}

const char *kernelTargetName(KernelTarget target) {
  switch (target) {
  case KernelTarget::Sse2:
    return "sse2";
  case KernelTarget::Avx2:
    return "avx2";
  case KernelTarget::Avx512:
    return "avx512";
  default:
    return "scalar";
  }
}

bool kernelTargetSupported(KernelTarget target) {
  return static_cast<int>(target) >= 0 &&
         static_cast<int>(target) <= static_cast<int>(bestTarget());
}

std::vector<KernelTarget> supportedKernelTargets() {
  std::vector<KernelTarget> targets;
  for (KernelTarget t : {KernelTarget::Scalar, KernelTarget::Sse2, KernelTarget::Avx2,
                         KernelTarget::Avx512})
    if (kernelTargetSupported(t))
      targets.push_back(t);
  return targets;
}

KernelTarget activeKernelTarget() { return currentTarget(); }

bool setKernelTarget(KernelTarget target) {
  if (!kernelTargetSupported(target))
    return false;
  currentTarget() = target;
  return true;
}
