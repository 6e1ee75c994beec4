// rlsFit's core on 1,000,000 points, degree 3: the polynomial fit (regressor
// rows made one at a time) and the batch driver over a whole regressor
// matrix, which must give the same coefficients.
#include "rls.h"
#include "utility.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main() {
  const int dataNum = 1000000, order = 3, n = order + 1;
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> uniform(-2.0, 2.0);
  std::normal_distribution<double> noise(0.0, 0.1);
  std::vector<double> x(dataNum), y(dataNum);
  for (int i = 0; i < dataNum; ++i) {
    x[i] = uniform(rng);
    y[i] = ((0.5 * x[i] - 1.0) * x[i] - 2.0) * x[i] + 1.0 + noise(rng);
  }

  std::vector<double> coef(n);
  rlseReset<double>();
  auto start = std::chrono::steady_clock::now();
  polyfit(x.data(), dataNum, y.data(), order, coef.data());
  const double fitSeconds = secondsSince(start);

  start = std::chrono::steady_clock::now();
  std::vector<double> regressor(static_cast<std::size_t>(dataNum) * n), theta(n);
  for (int i = 0; i < dataNum; ++i)
    for (int j = 0; j < n; ++j)
      regressor[i + columnOffset(j, dataNum)] = std::pow(x[i], static_cast<double>(order - j));
  rlseReset<double>();
  rlseBatch(regressor.data(), dataNum, n, y.data(), 1, 1.0, theta.data());
  const double batchSeconds = secondsSince(start);
  rlseReset<double>();

  std::printf("rlsFit core, %d points, degree %d\n", dataNum, order);
  std::printf("  polyfit:   %.3f s (%.0f ns per point)\n", fitSeconds, 1e9 * fitSeconds / dataNum);
  std::printf("  regressor matrix + rlseBatch: %.3f s (%.0f MB more memory)\n", batchSeconds,
              8.0 * dataNum * n / 1e6);
  std::printf("  coefficients %.6f %.6f %.6f %.6f; same bits both ways: %s\n", coef[0], coef[1],
              coef[2], coef[3], coef == theta ? "yes" : "NO");
  return 0;
}
