// rlsFit's core on 1,000,000 points, degree 3: polyfit against the literal
// estimator through the matrix templates (same bits?), against the batch
// driver over a whole regressor matrix (same bits?), and against a plain
// recursive least-squares loop on fixed arrays (powers by multiplication,
// the textbook gain form; other bits).
#include "bench_timing.h"
#include "rls.h"
#include "utility.h"
// The literal estimator is kept once, with the tests that use it as oracle.
#include "../tests/unit/literal_rls.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kPoints = 1000000;
constexpr int kOrder = 3;
constexpr int kN = kOrder + 1;

// Textbook RLS without forgetting: k = S phi / (1 + phi' S phi),
// theta += k (y - phi' theta), S -= k phi' S.
void plainRls(const std::vector<double> &x, const std::vector<double> &y, double *theta) {
  double S[kN][kN] = {};
  for (int i = 0; i < kN; ++i) {
    S[i][i] = 1e6;
    theta[i] = 0.0;
  }
  for (int p = 0; p < kPoints; ++p) {
    const double phi[kN] = {x[p] * x[p] * x[p], x[p] * x[p], x[p], 1.0};
    double Sphi[kN], denominator = 1.0, prediction = 0.0;
    for (int i = 0; i < kN; ++i) {
      Sphi[i] = 0.0;
      for (int k = 0; k < kN; ++k)
        Sphi[i] += S[i][k] * phi[k];
      denominator += phi[i] * Sphi[i];
      prediction += phi[i] * theta[i];
    }
    const double error = y[p] - prediction;
    for (int i = 0; i < kN; ++i) {
      const double gain = Sphi[i] / denominator;
      theta[i] += gain * error;
      for (int k = 0; k < kN; ++k)
        S[i][k] -= gain * Sphi[k];
    }
  }
}

} // namespace

int main(int argc, char **argv) {
  benchSetUp(argc, argv);
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> uniform(-2.0, 2.0);
  std::normal_distribution<double> noise(0.0, 0.1);
  std::vector<double> x(kPoints), y(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    x[i] = uniform(rng);
    y[i] = ((0.5 * x[i] - 1.0) * x[i] - 2.0) * x[i] + 1.0 + noise(rng);
  }

  std::vector<double> coef(kN);
  const double ours = bestSeconds(3, [&] {
    rlseReset<double>();
    polyfit(x.data(), kPoints, y.data(), kOrder, coef.data());
  });
  std::vector<double> literalTheta;
  const double literal = bestSeconds(1, [&] {
    LiteralEstimator estimator(kN, 1);
    double row[kN];
    for (int i = 0; i < kPoints; ++i) {
      for (int j = 0; j < kN; ++j)
        row[j] = std::pow(x[i], static_cast<double>(kOrder - j));
      estimator.update(row, &y[i], 1.0);
    }
    literalTheta = estimator.theta();
  });
  std::vector<double> regressor(static_cast<std::size_t>(kPoints) * kN), batchTheta(kN);
  for (int i = 0; i < kPoints; ++i)
    for (int j = 0; j < kN; ++j)
      regressor[i + columnOffset(j, kPoints)] = std::pow(x[i], static_cast<double>(kOrder - j));
  const double batch = bestSeconds(3, [&] {
    rlseReset<double>();
    rlseBatch(regressor.data(), kPoints, kN, y.data(), 1, 1.0, batchTheta.data());
  });
  rlseReset<double>();
  double plainTheta[kN];
  const double plain = bestSeconds(3, [&] { plainRls(x, y, plainTheta); });

  std::printf("rlsFit core, %d points, degree %d (best of 3; literal once)\n", kPoints, kOrder);
  std::printf("  polyfit %.4f s (%.0f ns per point); same bits as the literal estimator: %s, "
              "as rlseBatch: %s\n",
              ours, ours * 1e9 / kPoints, coef == literalTheta ? "yes" : "NO",
              coef == batchTheta ? "yes" : "NO");
  printRatio("literal estimator (templates)", literal, ours);
  printRatio("rlseBatch over a regressor matrix", batch, ours);
  printRatio("plain RLS loop (other bits)", plain, ours);
  std::printf("    coefficients %.6f %.6f %.6f %.6f (plain loop %.6f %.6f %.6f %.6f)\n", coef[0],
              coef[1], coef[2], coef[3], plainTheta[0], plainTheta[1], plainTheta[2], plainTheta[3]);
  return 0;
}
