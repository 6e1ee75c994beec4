// Squared-distance matrices: two inputs of 2,000 columns of dim 64, and one
// input of 2,000 columns (each pair once, mirrored), against the plain
// one-sum-at-a-time loop.
#include "bench_timing.h"
#include "pair_distance.h"
#include "utility.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kDim = 64;
constexpr int kColumns = 2000;
constexpr int kRepeats = 3;

std::vector<double> randomMatrix(int dim, int columns, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  std::vector<double> values(static_cast<std::size_t>(dim) * columns);
  for (double &v : values)
    v = uniform(rng);
  return values;
}

void plainMatrix(const double *mat1, int dataNum1, const double *mat2, int dataNum2, int dim,
                 double *distMat) {
  for (int i = 0; i < dataNum1; ++i)
    for (int j = 0; j < dataNum2; ++j)
      distMat[i + columnOffset(j, dataNum1)] =
          squaredDistance(columnOf(mat1, dim, i), columnOf(mat2, dim, j), dim);
}

} // namespace

int main(int argc, char **argv) {
  benchSetUp(argc, argv);
  const std::vector<double> mat1 = randomMatrix(kDim, kColumns, 1);
  const std::vector<double> mat2 = randomMatrix(kDim, kColumns, 2);
  std::vector<double> distMat(static_cast<std::size_t>(kColumns) * kColumns, 0.0);
  std::vector<double> plain(distMat.size(), 0.0);

  const double two = bestSeconds(kRepeats, [&] {
    pairDistanceMatrix(mat1.data(), kColumns, mat2.data(), kColumns, kDim, distMat.data());
  });
  const double twoPlain = bestSeconds(kRepeats, [&] {
    plainMatrix(mat1.data(), kColumns, mat2.data(), kColumns, kDim, plain.data());
  });
  const bool sameBits = distMat == plain;
  // A fresh host matrix is all zeros; the one-input form leaves the diagonal.
  std::fill(distMat.begin(), distMat.end(), 0.0);
  const double one = bestSeconds(
      kRepeats, [&] { pairDistanceSymmetric(mat1.data(), kColumns, kDim, distMat.data()); });
  const double onePlain = bestSeconds(kRepeats, [&] {
    plainMatrix(mat1.data(), kColumns, mat1.data(), kColumns, kDim, plain.data());
  });
  const bool sameBitsOne = distMat == plain; // the diagonal is 0 in both

  const double pairs = static_cast<double>(kColumns) * kColumns;
  std::printf("pairDistance, dim %d, best of %d runs\n", kDim, kRepeats);
  std::printf("  two inputs, %d x %d columns: %.3f s (%.1f M distances/s)\n", kColumns, kColumns,
              two, pairs / two / 1e6);
  std::printf("    plain one-sum loop:         %.3f s (same bits: %s)\n", twoPlain,
              sameBits ? "yes" : "NO");
  printRatio("plain one-sum loop", twoPlain, two);
  std::printf("  one input, %d columns:        %.3f s (%.1f M pairs/s)\n", kColumns, one,
              pairs / 2 / one / 1e6);
  std::printf("    plain one-sum loop:         %.3f s (same bits: %s)\n", onePlain,
              sameBitsOne ? "yes" : "NO");
  printRatio("plain one-sum loop", onePlain, one);
  std::printf("  (the OpenBLAS formula runs in bench/octave/peers_pairDistance.m)\n");
  return 0;
}
