// Picks the kernel target once from what the processor reports.
#include "cpu_dispatch.h"

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

} // namespace

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
