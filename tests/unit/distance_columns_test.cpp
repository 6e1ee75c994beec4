#include "utility.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// A quiet NaN with its own payload, so that the order of a NaN-against-NaN
// difference shows in the result.
double nanWithPayload(std::uint64_t payload) {
  const std::uint64_t bits = 0x7ff8000000000000ULL | payload;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

TEST(SquaredDistancesToColumns, BothOrdersHaveTheBitsOfSquaredDistance) {
  std::mt19937 rng(21);
  std::normal_distribution<double> normal;
  for (int dim : {0, 1, 2, 9})
    for (int count : {0, 1, 3, 4, 5, 8, 11}) {
      std::vector<double> vector(dim), columns(static_cast<std::size_t>(dim) * count);
      for (double &v : vector)
        v = normal(rng);
      for (double &v : columns)
        v = normal(rng);
      if (dim > 0 && count > 0) {
        vector[0] = nanWithPayload(1);
        columns[0] = nanWithPayload(2);
      }
      std::vector<double> to(count, -1.0), from(count, -1.0);
      squaredDistancesToColumns(vector.data(), columns.data(), dim, count, to.data());
      squaredDistancesFromColumns(vector.data(), columns.data(), dim, count, from.data());
      for (int i = 0; i < count; ++i) {
        const double *column = columns.data() + static_cast<std::size_t>(i) * dim;
        EXPECT_EQ(bitsOf(to[i]), bitsOf(squaredDistance(vector.data(), column, dim)))
            << "dim " << dim << ", column " << i << " of " << count;
        EXPECT_EQ(bitsOf(from[i]), bitsOf(squaredDistance(column, vector.data(), dim)))
            << "dim " << dim << ", column " << i << " of " << count;
      }
    }
}

} // namespace
