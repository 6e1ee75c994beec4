#include "clusterkit.h"
#include "cpu_dispatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace {

double fromBits(std::uint64_t bits) {
  double x;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

std::uint64_t bitsOf(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

// Values that meet every branch and edge of the kernels: zeros, infinities,
// NaNs with payloads and signs, subnormals, the ends of exp's kept range and
// of log's, exp's overflow and underflow, and the neighbours of each.
std::vector<double> specialValues() {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> v = {0.0, -0.0, inf, -inf, fromBits(0x7ff8000000000000),
                           fromBits(0xfff8000000000123), fromBits(0x7ff0000000000001),
                           fromBits(0x7ffc0000deadbeef), 4.9e-324, -4.9e-324, 2.2250738585072014e-308,
                           -708.0, 709.0, 709.782712893384, 709.7827128933841, -745.1332191019411,
                           -745.1332191019412, -1000.0, 1000.0, 1.0, 2.0, 0.5, 3.0, -1.0, 1.5,
                           0x1p-54, -0x1p-54, 0x1p-53, -0x1p-53, 1e-300, -1e-300};
  const std::size_t base = v.size();
  for (std::size_t k = 0; k < base; ++k) {
    v.push_back(std::nextafter(v[k], inf));
    v.push_back(std::nextafter(v[k], -inf));
  }
  // Just above 1 (log near its zero) and around 1 + i/64 (log's table).
  for (int k = 1; k <= 64; ++k) {
    v.push_back(1.0 + k * 0x1p-52);
    v.push_back(1.0 + k / 64.0);
    v.push_back(std::nextafter(1.0 + (k - 0.5) / 64.0, 0.0));
    v.push_back(1.0 + (k - 0.5) / 64.0);
  }
  // exp around multiples of ln2/128 (table boundaries) and of ln2.
  for (int n = -5000; n <= 5000; n += 37) {
    const double x = n * 0.0054152123481245725;
    v.push_back(x);
    v.push_back(std::nextafter(x, 0.0));
    v.push_back(n * 0.6931471805599453 / 7.0);
  }
  return v;
}

struct Range {
  const char *name;
  double low, high;
};

std::vector<double> uniformValues(std::mt19937_64 &rng, Range range, std::size_t count) {
  std::uniform_real_distribution<double> uniform(range.low, range.high);
  std::vector<double> v(count);
  for (double &x : v)
    x = uniform(rng);
  return v;
}

// Random bit patterns: every sign, exponent and payload.
std::vector<double> randomBitPatterns(std::mt19937_64 &rng, std::size_t count) {
  std::vector<double> v(count);
  for (double &x : v)
    x = fromBits(rng());
  return v;
}

using ArrayFunction = std::size_t (*)(const double *, std::size_t, double *);

struct Function {
  const char *name;
  ArrayFunction vectorised;
  double (*library)(double);
};

const Function kFunctions[] = {
    {"exp", expLikeLibrary, [](double x) { return std::exp(x); }},
    {"log", logLikeLibrary, [](double x) { return std::log(x); }},
};

// The bits of the library's result for every value, on every target, and
// the number of library calls reported.
std::size_t expectLibraryBits(const Function &f, const std::vector<double> &x,
                              const char *what) {
  std::vector<double> y(x.size());
  const std::size_t calls = f.vectorised(x.data(), x.size(), y.data());
  for (std::size_t i = 0; i < x.size(); ++i) {
    const double expected = f.library(x[i]);
    if (bitsOf(y[i]) != bitsOf(expected)) {
      ADD_FAILURE() << f.name << " on " << kernelTargetName(activeKernelTarget()) << ", " << what
                    << ": x = " << std::hexfloat << x[i] << " gives " << y[i] << ", library "
                    << expected;
      break;
    }
  }
  return calls;
}

TEST(ExpLogLikeLibrary, EveryValueHasTheLibraryBitsOnEveryTarget) {
  const Range expRanges[] = {{"log-sum steps", -37.0, 0.0},
                             {"densities", -800.0, 720.0},
                             {"small", -0.01, 0.01}};
  const Range logRanges[] = {{"log-sum steps", 1.0, 2.0},
                             {"near one", 1.0, 1.0 + 1.0 / 128},
                             {"outside", 0.0, 1e6}};
  for (KernelTarget target : supportedKernelTargets()) {
    ScopedKernelTarget forced(target);
    std::mt19937_64 rng(17);
    for (const Function &f : kFunctions) {
      const Range *ranges = f.vectorised == expLikeLibrary ? expRanges : logRanges;
      for (int r = 0; r < 3; ++r)
        expectLibraryBits(f, uniformValues(rng, ranges[r], 400000), ranges[r].name);
      expectLibraryBits(f, randomBitPatterns(rng, 100000), "bit patterns");
      expectLibraryBits(f, specialValues(), "special values");
      // Every length of a last partial block, in place.
      std::vector<double> x = uniformValues(rng, {"", 1.0, 2.0}, 11), y = x;
      for (std::size_t n = 0; n <= x.size(); ++n) {
        f.vectorised(y.data(), n, y.data());
        for (std::size_t i = 0; i < n; ++i)
          ASSERT_EQ(bitsOf(y[i]), bitsOf(f.library(x[i]))) << f.name << " length " << n;
        y = x;
      }
    }
  }
}

// The proof keeps only values far enough from a rounding midpoint: a few
// per cent of ordinary values and every value outside the kept ranges go
// to the library, and the values the kernels pad blocks with never do.
TEST(ExpLogLikeLibrary, TheLibraryCallIsTakenWhereTheProofDoesNotReach) {
  struct Case {
    const Function &f;
    std::vector<double> x;
    double minShare, maxShare;
  };
  std::mt19937_64 rng(29);
  const Case cases[] = {
      {kFunctions[0], uniformValues(rng, {"", -37.0, 0.0}, 200000), 0.01, 0.04},
      {kFunctions[1], uniformValues(rng, {"", 1.0, 2.0}, 200000), 0.02, 0.07},
      {kFunctions[0], {-800.0, 710.0, 0.0, -0.0, std::nan("")}, 1.0, 1.0},
      {kFunctions[1], {0.5, 1.0, 2.5, -1.0, 0.0, std::nan("")}, 1.0, 1.0},
      {kFunctions[0], {-1.0}, 0.0, 0.0},
      {kFunctions[1], {1.5, std::exp(-1.0) + 1.0}, 0.0, 0.0},
  };
  for (KernelTarget target : supportedKernelTargets()) {
    ScopedKernelTarget forced(target);
    // Narrower targets call the library for every value.
    const bool evaluated = target == KernelTarget::Avx2 || target == KernelTarget::Avx512;
    for (const Case &c : cases) {
      const double share =
          static_cast<double>(expectLibraryBits(c.f, c.x, "share")) / c.x.size();
      EXPECT_GE(share, evaluated ? c.minShare : 1.0) << c.f.name << " on " << kernelTargetName(target);
      EXPECT_LE(share, evaluated ? c.maxShare : 1.0) << c.f.name << " on " << kernelTargetName(target);
    }
  }
}

} // namespace
