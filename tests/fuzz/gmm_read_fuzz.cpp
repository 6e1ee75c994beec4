// gmmRead on arbitrary file content: every input is read or refused through
// the library's failure path, and a model that is read holds arrays of the
// sizes it declares (every element is touched, so the address sanitizer
// checks them).
#include "clusterkit.h"
#include "fuzz_support.h"

namespace {

double sumOf(const double *values, long long count) {
  double sum = 0.0;
  for (long long i = 0; i < count; ++i)
    sum += values[i];
  return sum;
}

void touchModel(const GMMPARAM &gmm) {
  requireProperty(gmm.dim >= 0 && gmm.mixNum >= 0, "a model read has sizes of at least 0");
  volatile double sink = sumOf(gmm.mean, static_cast<long long>(gmm.dim) * gmm.mixNum) +
                         sumOf(gmm.covariance, gmm.mixNum) + sumOf(gmm.weight, gmm.mixNum) +
                         sumOf(gmm.gConst, gmm.mixNum);
  (void)sink;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string path = writeInputFile(data, size, "gmm");
  readOrRefuse([&] {
    GMMPARAM gmm;
    gmmRead(path.c_str(), gmm);
    touchModel(gmm);
    gmmFree(gmm);
  });
  return 0;
}
