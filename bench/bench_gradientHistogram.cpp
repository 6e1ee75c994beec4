// Time of the HOG descriptor with the default parameters on a 480 x 640 grey
// image and a 480 x 640 x 3 colour image of random values.
#include "bench_timing.h"
#include "hog.h"

#include <cstdio>
#include <random>
#include <vector>

namespace {

double bestMilliseconds(std::vector<double> &image, int rows, int cols, bool grey,
                        double &checksum) {
  std::vector<double> params(HOG_DEFAULT_PARAMS, HOG_DEFAULT_PARAMS + HOG_PARAM_COUNT);
  std::vector<double> descriptor(hogLayout(params.data(), rows, cols).length);
  int dims[2] = {rows, cols};
  const double seconds = bestSeconds(20, [&] {
    HoG(image.data(), params.data(), dims, descriptor.data(), grey ? 1u : 0u);
  });
  checksum = 0;
  for (double v : descriptor)
    checksum += v;
  return seconds * 1000.0;
}

} // namespace

int main() {
  const int rows = 480, cols = 640;
  std::mt19937 rng(2024);
  std::uniform_real_distribution<double> uniform(0.0, 255.0);
  for (bool grey : {true, false}) {
    std::vector<double> image(static_cast<std::size_t>(rows) * cols * (grey ? 1 : 3));
    for (double &v : image)
      v = uniform(rng);
    double checksum = 0;
    const double ms = bestMilliseconds(image, rows, cols, grey, checksum);
    std::printf("HoG %d x %d %s, defaults: %.2f ms per call, best of 20 (%zu values, checksum %.6f)\n", rows,
                cols, grey ? "grey  " : "colour", ms,
                static_cast<std::size_t>(hogLayout(HOG_DEFAULT_PARAMS, rows, cols).length),
                checksum);
  }
  return 0;
}
