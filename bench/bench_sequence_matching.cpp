// Times the sequence routines of the utility unit: lrShiftDist of a 64-element
// vector along 20,000 elements, the offset-removing linearScaling of a
// 200-element query over 41 stretches (and linearScaling2 on a prepared set),
// vecMedian of 100,000 values (and of 20,000 sorted ones), and setCover of
// 2,000 sets over 5,000 labels. Figures are the best of `repeats` runs.
// Usage: bench_sequence_matching [repeats]
#include "bench_timing.h"
#include "utility.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

std::vector<double> randomVector(std::mt19937 &rng, int length) {
  std::normal_distribution<double> normal;
  std::vector<double> v(length);
  for (double &x : v)
    x = normal(rng);
  return v;
}

// Best seconds per call of body, from batches of `calls` calls.
template <class Body> double secondsPerCall(int repeats, int calls, Body body) {
  return bestSeconds(repeats, [&] {
           for (int c = 0; c < calls; ++c)
             body();
         }) /
         calls;
}

} // namespace

int main(int argc, char **argv) {
  const int repeats = argc > 1 ? std::atoi(argv[1]) : 5;
  std::mt19937 rng(99);
  double checksum = 0;

  const auto shorter = randomVector(rng, 64), longer = randomVector(rng, 20000);
  for (int type : {1, 2}) {
    double offset = 0;
    int alignment = -1;
    const double seconds = secondsPerCall(repeats, 1, [&] {
      checksum += lrShiftDist(shorter.data(), 64, longer.data(), 20000, type, offset, alignment);
    });
    std::printf("lrShiftDist 64 along 20000, type %d: %.2f ms (%.0f alignments per ms)\n", type,
                seconds * 1e3, 19937 / (seconds * 1e3));
  }

  const auto query = randomVector(rng, 200), reference = randomVector(rng, 600);
  std::vector<double> distance(41), shift(41), work(600), difference(600);
  int best = 0;
  for (int type : {1, 2}) {
    const double seconds = secondsPerCall(repeats, 20, [&] {
      checksum += linearScaling(query.data(), 200, reference.data(), 600, 0.5, 2.5, 41, type,
                                distance.data(), shift.data(), work.data(), difference.data(),
                                best, 1e300);
    });
    SCALEDVECSET set;
    linearScaledVecCreate(query.data(), 200, 0.5, 2.5, 41, &set);
    const double prepared = secondsPerCall(repeats, 20, [&] {
      checksum += linearScaling2(&set, reference.data(), 600, type, distance.data(),
                                 shift.data(), nullptr, difference.data(), best, 1e300);
    });
    linearScaledVecFree(&set);
    std::printf("linearScaling 200 over 41 stretches, type %d: %.3f ms; on a prepared set "
                "%.3f ms\n",
                type, seconds * 1e3, prepared * 1e3);
  }

  const auto values = randomVector(rng, 100000);
  const double medianSeconds =
      secondsPerCall(repeats, 10, [&] { checksum += vecMedian(values.data(), 100000); });
  std::printf("vecMedian of 100000 values: %.2f ms\n", medianSeconds * 1e3);
  // Sorted input is the partition's worst case: every pivot is the smallest.
  std::vector<double> sorted(20000);
  for (int i = 0; i < 20000; ++i)
    sorted[i] = i;
  const double sortedSeconds =
      secondsPerCall(repeats, 1, [&] { checksum += vecMedian(sorted.data(), 20000); });
  std::printf("vecMedian of 20000 sorted values: %.2f ms\n", sortedSeconds * 1e3);

  const int sets = 2000, slots = 20, labels = 5000;
  std::vector<double> matrix(static_cast<std::size_t>(sets) * slots);
  for (double &x : matrix)
    x = static_cast<double>(rng() % (labels + 1));
  std::vector<int> chosen(sets);
  std::vector<double> fraction(sets);
  int rounds = 0;
  const double coverSeconds = secondsPerCall(repeats, 1, [&] {
    std::vector<double> copy = matrix;
    rounds = setCover(copy.data(), sets, slots, sets, chosen.data(), fraction.data());
  });
  std::printf("setCover of %d sets x %d slots over %d labels: %.1f ms, %d rounds to %.3f\n",
              sets, slots, labels, coverSeconds * 1e3, rounds, fraction[rounds - 1]);
  std::printf("(checksum %g)\n", checksum);
  return 0;
}
