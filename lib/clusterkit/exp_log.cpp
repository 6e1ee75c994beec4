// The array forms of exp_log_kernels.inc, built once per target, and the
// choice of the target cpu_dispatch.h made.
#include "exp_log.h"

#include "cpu_dispatch.h"
#include "exp_log_tables.h"
#include "simd_lanes.h"

#include <cmath>
#include <cstddef>

namespace {

namespace scalar_target {
using Lanes = LanesScalar;
#include "exp_log_kernels.inc"
} // namespace scalar_target

#if CLUSTERKIT_X86_DISPATCH
CLUSTERKIT_BEGIN_TARGET_SSE2
namespace sse2_target {
using Lanes = LanesSse2;
#include "exp_log_kernels.inc"
} // namespace sse2_target
CLUSTERKIT_END_TARGET

CLUSTERKIT_BEGIN_TARGET_AVX2
namespace avx2_target {
using Lanes = LanesAvx2;
#include "exp_log_kernels.inc"
} // namespace avx2_target
CLUSTERKIT_END_TARGET

CLUSTERKIT_BEGIN_TARGET_AVX512
namespace avx512_target {
using Lanes = LanesAvx512;
#include "exp_log_kernels.inc"
} // namespace avx512_target
CLUSTERKIT_END_TARGET
#endif

using ArrayFunction = std::size_t (*)(const double *, std::size_t, double *);

struct ArrayKernels {
  ArrayFunction exp;
  ArrayFunction log;
};

ArrayKernels activeKernels() {
  switch (activeKernelTarget()) {
#if CLUSTERKIT_X86_DISPATCH
  case KernelTarget::Avx512:
    return {avx512_target::expArray, avx512_target::logArray};
  case KernelTarget::Avx2:
    return {avx2_target::expArray, avx2_target::logArray};
  case KernelTarget::Sse2:
    return {sse2_target::expArray, sse2_target::logArray};
#endif
  default:
    return {scalar_target::expArray, scalar_target::logArray};
  }
}

} // namespace

std::size_t expLikeLibrary(const double *x, std::size_t count, double *y) {
  return activeKernels().exp(x, count, y);
}

std::size_t logLikeLibrary(const double *x, std::size_t count, double *y) {
  return activeKernels().log(x, count, y);
}
