// The distance engine against the literal one-sum-at-a-time code, bit for
// bit, on every instruction set this processor can run, forced one by one.
#include "clusterkit.h"
#include "cpu_dispatch.h"
#include "distance.h"
#include "neighbor_search.h"
#include "literal_kmeans.h"
#include "numeric_oracles.h"
#include "pair_distance.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

const double kNan = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

double nanWithPayload(std::uint64_t payload) {
  const std::uint64_t bits = 0x7ff8000000000000ULL | payload;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// How the values of a test matrix are drawn.
enum class Values {
  Uniform, Ties, Awkward, Huge, Overflow,
  // Around the premises of the float lower bound of the neighbour search:
  Offset,      // far from the origin, small spread: the bound's margin swamps it
  Tiny,        // below the float range (subnormal or zero as floats)
  BeyondFloat, // magnitudes a float cannot hold
  AtLimit,     // +-2^50 (the largest accepted) and the next double above it
};

std::vector<double> matrix(int dim, int columns, Values kind, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  std::vector<double> m(static_cast<std::size_t>(dim) * columns);
  for (double &v : m) {
    switch (kind) {
    case Values::Uniform:
      v = uniform(rng);
      break;
    case Values::Ties: // few distinct values: many equal distances
      v = static_cast<double>(rng() % 3);
      break;
    case Values::Awkward: {
      const double special[] = {kNan, nanWithPayload(5), -kNan, kInf, -kInf, -0.0, 0.0, 1e300};
      v = rng() % 16 == 0 ? special[rng() % 8] : uniform(rng);
      break;
    }
    case Values::Huge: // squared distances far above 2147483647
      v = 1e5 * uniform(rng);
      break;
    case Values::Overflow: // differences whose squares overflow to inf
      v = 1e160 * uniform(rng);
      break;
    case Values::Offset:
      v = 1e6 + uniform(rng);
      break;
    case Values::Tiny:
      v = (rng() % 2 ? 1e-42 : 1e-300) * uniform(rng);
      break;
    case Values::BeyondFloat:
      v = 1e39 * uniform(rng);
      break;
    case Values::AtLimit: {
      const double limit = std::ldexp(1.0, 50);
      const double edges[] = {limit, -limit, std::nextafter(limit, kInf)};
      v = rng() % 8 == 0 ? edges[rng() % 3] : uniform(rng);
      break;
    }
    }
  }
  return m;
}

std::string label(KernelTarget target, int dim, int n1, int n2, int extra) {
  return std::string(kernelTargetName(target)) + " dim " + std::to_string(dim) + ", " +
         std::to_string(n1) + " x " + std::to_string(n2) + ", " + std::to_string(extra);
}

// Runs body(label prefix) with every supported target and every neighbour
// search tile forced in turn: the search's results may depend on neither.
template <class Body> void onEveryTargetAndSearchTile(Body body) {
  for (KernelTarget target : supportedKernelTargets())
    for (int tile : kSearchTileChoices) {
      ScopedKernelTarget forced(target);
      ScopedSearchTile forcedTile(tile);
      body(target, "tile " + std::to_string(tile) + ", ");
    }
}

// ---------------------------------------------------------------------------
// Oracles
// ---------------------------------------------------------------------------

// The search written out the one-at-a-time way: vecDistanceWithBound's
// literal arithmetic with the worst kept distance as bound, an abandoned
// candidate dropped, insertion behind equal distances.
void literalSearch(const std::vector<double> &queries, int queryNum, const std::vector<double> &data,
                   int dataNum, int dim, int type, int nnCount, const std::vector<int> &excluded,
                   std::vector<double> &nnIndex, std::vector<double> &nnDistance) {
  nnIndex.assign(static_cast<std::size_t>(nnCount) * queryNum, -1.0);
  nnDistance.assign(nnIndex.size(), DBL_MAX);
  for (int c = 0; c < queryNum; ++c) {
    const std::vector<double> query(queries.begin() + static_cast<long>(c) * dim,
                                    queries.begin() + static_cast<long>(c + 1) * dim);
    double *dist = nnDistance.data() + static_cast<std::size_t>(c) * nnCount;
    double *idx = nnIndex.data() + static_cast<std::size_t>(c) * nnCount;
    for (int i = 0; i < dataNum; ++i) {
      bool skip = false;
      for (int e : excluded)
        skip = skip || e == i;
      if (skip)
        continue;
      const double d =
          literalBoundedDistance(query, data.data() + static_cast<std::size_t>(i) * dim, type,
                                 dist[nnCount - 1]);
      bool abandoned = false;
      double sum = 0.0; // abandoned: the running sum passed the bound at some term
      for (int e = 0; e < dim && !abandoned; ++e) {
        const double diff = query[e] - data[static_cast<std::size_t>(i) * dim + e];
        sum += type == 1 ? (diff > 0 ? diff : -diff) : diff * diff;
        abandoned = sum > dist[nnCount - 1];
      }
      if (abandoned)
        continue;
      int j = 0;
      while (j < nnCount && !(dist[j] > d))
        ++j;
      if (j == nnCount)
        continue;
      for (int k = nnCount - 1; k > j; --k) {
        dist[k] = dist[k - 1];
        idx[k] = idx[k - 1];
      }
      dist[j] = d;
      idx[j] = i;
    }
  }
}


// ---------------------------------------------------------------------------
// Tests
// ---------------------------------------------------------------------------

TEST(KernelTargets, ScalarIsAlwaysThereAndForcingSwitchesAndRestores) {
  const std::vector<KernelTarget> targets = supportedKernelTargets();
  ASSERT_FALSE(targets.empty());
  EXPECT_EQ(targets.front(), KernelTarget::Scalar);
  EXPECT_EQ(activeKernelTarget(), targets.back()); // the best one by default
  for (KernelTarget t : targets) {
    ScopedKernelTarget forced(t);
    EXPECT_EQ(activeKernelTarget(), t);
  }
  EXPECT_EQ(activeKernelTarget(), targets.back());
  std::printf("kernel targets here:");
  for (KernelTarget t : targets)
    std::printf(" %s", kernelTargetName(t));
  std::printf("\n");
}

TEST(DistanceEngine, NeighborSearchHasTheBitsOfTheLiteralSearchOnEveryTarget) {
  struct Case {
    int dim, queries, data, nnCount;
    Values values;
    std::vector<int> excluded;
  };
  const std::vector<Case> cases = {
      {0, 2, 5, 3, Values::Uniform, {}},       {0, 1, 9, 2, Values::Uniform, {0, 4}},
      {1, 3, 17, 4, Values::Ties, {}},         {7, 5, 67, 5, Values::Uniform, {2, 3, 66}},
      {8, 4, 130, 1, Values::Ties, {}},        {9, 3, 45, 6, Values::Awkward, {}},
      {31, 4, 71, 3, Values::Uniform, {}},     {33, 3, 200, 5, Values::Awkward, {1, 150}},
      {1000, 2, 19, 4, Values::Uniform, {}},   {10, 7, 50, 4, Values::Huge, {}},
      {10, 7, 50, 4, Values::Overflow, {}},    {16, 3, 600, 3, Values::Ties, {0, 1, 599}},
      {5, 2, 3, 7, Values::Uniform, {}},       {12, 3, 0, 2, Values::Uniform, {}},
      {3, 4, 1100, 2, Values::Uniform, {}},    {64, 2, 301, 8, Values::Awkward, {}},
      // Query 0 meets its copy in the first tile and is done; its partner
      // in the two-query passes goes on through three more tiles.
      {16, 4, 2000, 1, Values::Ties, {}},
      // L2 passes of four queries, two and one: some queries and columns
      // outside the float bound's premises split a pass into its halves.
      {20, 11, 400, 4, Values::Awkward, {7}}, {32, 7, 500, 5, Values::Uniform, {}},
  };
  onEveryTargetAndSearchTile([&](KernelTarget target, const std::string &tile) {
    for (const Case &k : cases)
      for (int type : {1, 2}) {
        const auto queries = matrix(k.dim, k.queries, k.values, 1 + k.dim);
        auto data = matrix(k.dim, k.data, k.values, 2 + k.data);
        if (k.data > 3 && k.dim > 0) // an exact copy of a query: a distance of 0
          std::copy(queries.begin(), queries.begin() + k.dim, data.begin() + 3 * k.dim);
        std::vector<double> expectedIndex, expectedDistance;
        literalSearch(queries, k.queries, data, k.data, k.dim, type, k.nnCount, k.excluded,
                      expectedIndex, expectedDistance);
        std::vector<double> index(expectedIndex.size(), 9.0), distance(index.size(), 9.0);
        nearestNeighborSearch(queries.data(), k.queries, data.data(), k.data, k.dim, type,
                              k.nnCount, k.excluded.data(), static_cast<int>(k.excluded.size()),
                              index.data(), distance.data());
        const std::string what = tile + label(target, k.dim, k.queries, k.data, type);
        EXPECT_TRUE(sameBits(index, expectedIndex)) << what;
        EXPECT_TRUE(sameBits(distance, expectedDistance)) << what;
      }
  });
}

// The float lower bound of the neighbour search rejects candidates only when
// their exact sums cannot enter. Near copies of one data column give sums a
// few double roundings apart, many of them just below or equal to the worst
// kept one and equal as floats, so a bound one rounding too tight would drop
// a candidate that enters; the other
// kinds sit on either side of the bound's premises (the exact path must take
// over), and dim 65537 is past its dimension limit.
TEST(DistanceEngine, NeighborSearchFloatBoundKeepsTheBitsAtItsLimitsOnEveryTarget) {
  struct Case {
    int dim, queries, data, nnCount;
    Values values;
    bool nearCopies; // every data column: column 0, each value moved by 0 to 3 ulps
  };
  const std::vector<Case> cases = {
      {32, 3, 700, 5, Values::Uniform, true},   {7, 4, 300, 3, Values::Ties, true},
      {16, 3, 400, 4, Values::Offset, false},   {16, 3, 400, 4, Values::Offset, true},
      {9, 3, 300, 3, Values::Tiny, false},      {9, 3, 300, 3, Values::BeyondFloat, false},
      {12, 3, 300, 4, Values::AtLimit, false},  {40, 3, 500, 2, Values::Huge, true},
      {65537, 2, 20, 3, Values::Uniform, false}, {32, 7, 700, 5, Values::Uniform, true},
  };
  onEveryTargetAndSearchTile([&](KernelTarget target, const std::string &tile) {
    for (const Case &k : cases)
      for (int type : {1, 2}) {
        const auto queries = matrix(k.dim, k.queries, k.values, 5 + k.dim);
        auto data = matrix(k.dim, k.data, k.values, 6 + k.data);
        if (k.nearCopies) {
          std::mt19937 rng(7 + k.dim);
          for (std::size_t i = 0; i < data.size(); ++i) {
            double v = data[i % k.dim];
            for (unsigned steps = rng() % 4; steps > 0; --steps)
              v = std::nextafter(v, rng() % 2 ? kInf : -kInf);
            data[i] = v;
          }
        }
        std::vector<double> expectedIndex, expectedDistance;
        literalSearch(queries, k.queries, data, k.data, k.dim, type, k.nnCount, {},
                      expectedIndex, expectedDistance);
        std::vector<double> index(expectedIndex.size(), 9.0), distance(index.size(), 9.0);
        nearestNeighborSearch(queries.data(), k.queries, data.data(), k.data, k.dim, type,
                              k.nnCount, nullptr, 0, index.data(), distance.data());
        const std::string what = tile + label(target, k.dim, k.queries, k.data, type);
        EXPECT_TRUE(sameBits(index, expectedIndex)) << what;
        EXPECT_TRUE(sameBits(distance, expectedDistance)) << what;
      }
  });
}

// The byte-code bound of the L1 search: columns of all 0 and all 254 make
// the code step exactly 1, the query sits just below half-way between codes
// and the candidates exactly on half-way points, so that each candidate's
// code sum is as large as its distance allows. Two "setters" early on fix
// the worst kept distance a little above the candidates' (which are equal
// and enter), and their code sums land exactly on the rejection limit: a
// limit one lower would drop them. One variant puts a query value below the
// data's range, where it is clamped.
TEST(DistanceEngine, NeighborSearchCodeBoundKeepsTheBitsAtItsLimitsOnEveryTarget) {
  const int dim = 8, dataNum = 700, nnCount = 2;
  const double delta = std::ldexp(1.0, -20);
  for (bool queryBelowRange : {false, true}) {
    std::vector<double> query(dim), data(static_cast<std::size_t>(dim) * dataNum, 0.0);
    auto column = [&](int c) { return data.data() + static_cast<std::size_t>(c) * dim; };
    for (int e = 0; e < dim; ++e) {
      const double low = 100 + e, high = low + 3 + e % 3; // codes low and high + 1
      query[e] = low + 0.5 - delta;
      column(1)[e] = 254.0;
      column(2)[e] = high + 0.5 + std::ldexp(1.0, -19); // setters: a little farther
      column(3)[e] = high + 0.5 + std::ldexp(1.0, -18);
      column(300)[e] = column(600)[e] = high + 0.5;
    }
    if (queryBelowRange)
      query[0] = -3.0;
    onEveryTargetAndSearchTile([&](KernelTarget target, const std::string &tile) {
      for (int type : {1, 2}) {
        std::vector<double> expectedIndex, expectedDistance;
        literalSearch(query, 1, data, dataNum, dim, type, nnCount, {}, expectedIndex,
                      expectedDistance);
        std::vector<double> index(expectedIndex.size(), 9.0), distance(index.size(), 9.0);
        nearestNeighborSearch(query.data(), 1, data.data(), dataNum, dim, type, nnCount, nullptr,
                              0, index.data(), distance.data());
        const std::string what = tile + label(target, dim, 1, dataNum, type) +
                                 (queryBelowRange ? " query below range" : "");
        EXPECT_TRUE(sameBits(index, expectedIndex)) << what;
        EXPECT_TRUE(sameBits(distance, expectedDistance)) << what;
        if (type == 1 && !queryBelowRange) { // both candidates at the limit entered
          EXPECT_EQ(index, std::vector<double>({300.0, 600.0})) << what;
        }
      }
    });
  }
}

// The tile follows the first-level data cache: its float copy within two
// thirds of it, 32 KB assumed when unknown. Descriptions as processors give
// them: an 8-way 32 KB and a 12-way 48 KB data cache behind (or before)
// the instruction cache, a unified one, and a list ending before any.
TEST(DistanceEngine, SearchTileFollowsTheFirstLevelDataCache) {
  const struct {
    long long cacheBytes;
    int tile;
  } tiles[] = {{0, 4096},     {-1, 4096},     {16384, 4096},  {32768, 4096},
               {49151, 4096}, {49152, 8192}, {65536, 8192}, {1 << 20, 8192}};
  for (const auto &t : tiles)
    EXPECT_EQ(searchTileDoublesForCache(t.cacheBytes), t.tile) << t.cacheBytes;

  const CacheDescription data32{0x121, 0x01c0003f, 0x3f}, data48{0x121, 0x02c0003f, 0x3f},
      instructions{0x122, 0x01c0003f, 0x3f}, unified{0x123, 0x03c0003f, 0x3f},
      secondLevel{0x143, 0x03c0003f, 0x3ff}, none{};
  const struct {
    std::vector<CacheDescription> descriptions;
    long long bytes;
  } lists[] = {{{data32, instructions, secondLevel}, 32768},
               {{instructions, data48, secondLevel}, 49152},
               {{secondLevel, unified}, 65536},
               {{instructions, none, data48}, 0},
               {{}, 0}};
  for (const auto &l : lists)
    EXPECT_EQ(firstLevelDataCacheBytesOf(l.descriptions.data(),
                                         static_cast<int>(l.descriptions.size())),
              l.bytes);

  EXPECT_FALSE(setSearchTileDoubles(1000));
  for (int tile : kSearchTileChoices) {
    ScopedSearchTile forced(tile);
    EXPECT_EQ(searchTileDoubles(), tile);
  }
  EXPECT_EQ(searchTileDoubles(), searchTileDoublesForCache(firstLevelDataCacheBytes()));
  std::printf("first-level data cache here: %lld bytes, search tile %d doubles\n",
              firstLevelDataCacheBytes(), searchTileDoubles());
}

TEST(DistanceEngine, TablesHaveTheBitsOfSquaredDistanceOnEveryTarget) {
  struct Case {
    int dim, n1, n2;
    Values values;
  };
  const std::vector<Case> cases = {
      {0, 3, 4, Values::Uniform},   {1, 9, 5, Values::Ties},      {7, 13, 6, Values::Awkward},
      {8, 17, 9, Values::Uniform},  {9, 1, 1, Values::Uniform},   {31, 33, 10, Values::Awkward},
      {33, 70, 11, Values::Huge},   {1000, 11, 3, Values::Awkward}, {4, 0, 5, Values::Uniform},
      {4, 5, 0, Values::Uniform},   {2, 600, 7, Values::Overflow}, {64, 130, 66, Values::Uniform},
  };
  for (KernelTarget target : supportedKernelTargets()) {
    ScopedKernelTarget forced(target);
    for (const Case &k : cases) {
      const auto mat1 = matrix(k.dim, k.n1, k.values, 3 + k.n1);
      const auto mat2 = matrix(k.dim, k.n2, k.values, 4 + k.n2);
      const std::string what = label(target, k.dim, k.n1, k.n2, 0);
      std::vector<double> expected(static_cast<std::size_t>(k.n1) * k.n2);
      for (int j = 0; j < k.n2; ++j)
        for (int i = 0; i < k.n1; ++i)
          expected[i + static_cast<std::size_t>(j) * k.n1] =
              literalSquared(mat1.data() + static_cast<std::size_t>(i) * k.dim,
                             mat2.data() + static_cast<std::size_t>(j) * k.dim, k.dim);
      std::vector<double> table(expected.size(), 7.0);
      pairDistanceMatrix(mat1.data(), k.n1, mat2.data(), k.n2, k.dim, table.data());
      EXPECT_TRUE(sameBitsUpToCompilerNan(table, expected)) << what;

      // One input: each pair i < j once, mirrored, the diagonal untouched.
      std::vector<double> symmetric(static_cast<std::size_t>(k.n1) * k.n1, 7.0);
      std::vector<double> expectedSymmetric(symmetric.size(), 7.0);
      for (int j = 0; j < k.n1; ++j)
        for (int i = 0; i < j; ++i) {
          const double d = literalSquared(mat1.data() + static_cast<std::size_t>(i) * k.dim,
                                          mat1.data() + static_cast<std::size_t>(j) * k.dim, k.dim);
          expectedSymmetric[i + static_cast<std::size_t>(j) * k.n1] = d;
          expectedSymmetric[j + static_cast<std::size_t>(i) * k.n1] = d;
        }
      pairDistanceSymmetric(mat1.data(), k.n1, k.dim, symmetric.data());
      EXPECT_TRUE(sameBitsUpToCompilerNan(symmetric, expectedSymmetric)) << what << " (one input)";
    }
  }
}


TEST(DistanceEngine, KmeansHasTheBitsOfTheLiteralPassesOnEveryTarget) {
  struct Case {
    int dim, dataNum, centerNum;
    Values values;
  };
  const std::vector<Case> cases = {
      {1, 40, 3, Values::Uniform}, {7, 90, 9, Values::Ties},     {8, 300, 64, Values::Uniform},
      {9, 50, 5, Values::Awkward}, {16, 700, 13, Values::Ties},  {31, 120, 17, Values::Huge},
      {33, 80, 7, Values::Overflow}, {1000, 12, 5, Values::Uniform}, {2, 5000, 600, Values::Ties},
      {3, 20, 1, Values::Uniform},
      // Data columns in lanes up to dim 64 (partial register tiles at both
      // ends), the search per data column above.
      {16, 1003, 67, Values::Uniform}, {64, 77, 30, Values::Huge},
      {65, 150, 21, Values::Ties},     {80, 90, 9, Values::Overflow},
  };
  for (KernelTarget target : supportedKernelTargets()) {
    ScopedKernelTarget forced(target);
    for (const Case &k : cases) {
      const auto data = matrix(k.dim, k.dataNum, k.values, 5 + k.dataNum);
      std::vector<double> expectedCenter(data.begin(), data.begin() + k.dim * k.centerNum);
      if (k.centerNum > 2) // two equal centres: ties go to the lower one
        std::copy(expectedCenter.begin(), expectedCenter.begin() + k.dim,
                  expectedCenter.begin() + 2 * k.dim);
      std::vector<double> center = expectedCenter;
      const int maxLoop = 6;
      std::vector<int> expectedIndex(k.dataNum), index(k.dataNum, -7), count(k.centerNum);
      std::vector<double> expectedDistortion(maxLoop, -1.0), distortion(maxLoop, -1.0),
          distVec(k.centerNum);
      const int expectedPasses =
          literalKmeans(data, k.dim, expectedCenter, expectedIndex, expectedDistortion, maxLoop);
      const int passes = vqKmeans(data.data(), k.dim, k.dataNum, center.data(), k.centerNum,
                                  index.data(), distVec.data(), count.data(), distortion.data(),
                                  maxLoop, 0);
      const std::string what = label(target, k.dim, k.dataNum, k.centerNum, 0);
      EXPECT_EQ(passes, expectedPasses) << what;
      EXPECT_TRUE(sameBits(center, expectedCenter)) << what;
      // Where two NaN totals meet, C++ leaves open which payload a + b keeps
      // (the compiler may swap the operands), so NaN matches any NaN here.
      for (int pass = 0; pass < maxLoop; ++pass)
        EXPECT_TRUE(sameBits(distortion[pass], expectedDistortion[pass]) ||
                    (std::isnan(distortion[pass]) && std::isnan(expectedDistortion[pass])))
            << what << ", pass " << pass;
      EXPECT_EQ(index, expectedIndex) << what;
    }
  }
}

TEST(DistanceEngine, AllFiniteFindsEveryNaNAndInfinity) {
  std::vector<double> v(13, 1.5);
  v[4] = -0.0;
  v[5] = DBL_MAX;
  EXPECT_TRUE(allFinite(v.data(), 13));
  EXPECT_TRUE(allFinite(v.data(), 0));
  for (double bad : {kNan, kInf, -kInf, -kNan})
    for (int at : {0, 3, 12}) {
      std::vector<double> w = v;
      w[at] = bad;
      EXPECT_FALSE(allFinite(w.data(), 13)) << bad << " at " << at;
    }
}

} // namespace
