// HOG descriptor with the default parameters on a 480 x 640 grey image and a
// 480 x 640 x 3 colour image of random values: HoG against the literal
// computation (same bits?) and, when built with it, OpenCV's HOGDescriptor
// on the same pixels as 8-bit images, one thread.
#include "bench_timing.h"
#include "hog.h"
// The literal computation is kept once, with the tests that use it as oracle.
#include "../tests/unit/literal_hog.h"

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#ifdef CLUSTERKIT_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/objdetect.hpp>
#endif

namespace {

constexpr int kRows = 480;
constexpr int kCols = 640;
constexpr int kRounds = 5;
constexpr int kCallsPerRound = 10;

// Whole grey levels, as an 8-bit image holds them.
std::vector<double> randomImage(int planes, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> level(0, 255);
  std::vector<double> image(static_cast<std::size_t>(kRows) * kCols * planes);
  for (double &v : image)
    v = level(rng);
  return image;
}

#ifdef CLUSTERKIT_HAVE_OPENCV
// The image as OpenCV's 8-bit pixels, channels interleaved.
cv::Mat openCvPixels(const std::vector<double> &image, int planes) {
  cv::Mat pixels(kRows, kCols, planes == 1 ? CV_8UC1 : CV_8UC3);
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kCols; ++x)
      for (int c = 0; c < planes; ++c)
        pixels.ptr<unsigned char>(y)[x * planes + c] = static_cast<unsigned char>(
            image[y + static_cast<std::size_t>(x) * kRows + static_cast<std::size_t>(c) * kRows * kCols]);
  return pixels;
}
#endif

} // namespace

int main(int argc, char **argv) {
  benchSetUp(argc, argv);
#ifdef CLUSTERKIT_HAVE_OPENCV
  cv::setNumThreads(1);
#endif
  std::vector<double> params(HOG_DEFAULT_PARAMS, HOG_DEFAULT_PARAMS + HOG_PARAM_COUNT);
  std::printf("HoG %d x %d, defaults (best of %d rounds of %d calls; with OpenCV, the two in turn)\n",
              kRows, kCols, kRounds, kCallsPerRound);
  for (int planes : {1, 3}) {
    const bool grey = planes == 1;
    std::vector<double> image = randomImage(planes, grey ? 1 : 2);
    std::vector<double> descriptor(hogLayout(params.data(), kRows, kCols).length);
    int dims[2] = {kRows, kCols};
    auto ourCall = [&] {
      HoG(image.data(), params.data(), dims, descriptor.data(), grey ? 1u : 0u);
    };
#ifdef CLUSTERKIT_HAVE_OPENCV
    // OpenCV's HOG over the whole image as one window: cells 8, blocks 2 x 2
    // cells with a stride of one cell, 9 bins, L2-Hys at 0.2. The two sides
    // are timed in turn, kRounds rounds of the best of kCallsPerRound calls.
    const cv::Mat pixels = openCvPixels(image, planes);
    cv::HOGDescriptor hog(cv::Size(kCols, kRows), cv::Size(16, 16), cv::Size(8, 8), cv::Size(8, 8), 9);
    std::vector<float> openCvDescriptor;
    const AlternatingTimes times = alternatingBestSeconds(
        kRounds, ourCall, [&] { hog.compute(pixels, openCvDescriptor); }, kCallsPerRound);
    const double ours = times.first;
#else
    ourCall(); // untimed, as in the alternating timer
    const double ours = bestSeconds(kRounds * kCallsPerRound, ourCall);
#endif
    std::vector<double> expected;
    const double literal =
        bestSeconds(3, [&] { expected = literalHoG(image, params, kRows, kCols, grey); });
    const bool same = expected.size() == descriptor.size() &&
                      std::memcmp(expected.data(), descriptor.data(), expected.size() * sizeof(double)) == 0;
    std::printf("  %s: HoG %.4f s (%.2f ms); same bits as the literal version: %s\n",
                grey ? "grey  " : "colour", ours, ours * 1e3, same ? "yes" : "NO");
    printRatio("literal version", literal, ours);
#ifdef CLUSTERKIT_HAVE_OPENCV
    printRatio("OpenCV HOGDescriptor (8-bit)", times.second, ours);
    printMedianRatio(times);
#else
    std::printf("    OpenCV HOGDescriptor: not built (Debian libopencv-dev)\n");
#endif
  }
  return 0;
}
