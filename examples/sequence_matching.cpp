// Matching a short sequence against a longer one with the utility unit: the
// linear-scaling matcher finds the time stretch under which the query best
// fits the start of the reference, and the shift-tolerant distance finds where
// the query sits inside the reference and by how much it is offset.
//
// Build with CMake and link clusterkit::standalone:
//   add_executable(sequence_matching sequence_matching.cpp)
//   target_link_libraries(sequence_matching PRIVATE clusterkit::standalone)
#include "utility.h"

#include <cmath>
#include <cstdio>
#include <vector>

int main() {
  // A melody-like contour, and a reference that plays it 1.5 times slower,
  // 12 units higher, after which other material follows.
  const std::vector<double> query = {60, 62, 64, 65, 67, 65, 64, 62};
  const int queryLength = static_cast<int>(query.size());
  std::vector<double> reference(30);
  const int slowLength = 12; // 8 * 1.5
  vecResample(query.data(), queryLength, reference.data(), slowLength);
  for (int i = 0; i < slowLength; ++i)
    reference[i] += 12;
  for (int i = slowLength; i < static_cast<int>(reference.size()); ++i)
    reference[i] = 70 + 3 * std::sin(i * 0.7);
  const int referenceLength = static_cast<int>(reference.size());

  // Nine stretches from 0.5 to 2.5 times the query's length; type 1 compares
  // mean absolute differences after removing the median offset.
  const double lowerRatio = 0.5, upperRatio = 2.5;
  const int ratioCount = 9, distanceType = 1;
  std::vector<double> distance(ratioCount), shift(ratioCount);
  std::vector<double> work(referenceLength), difference(referenceLength);
  int best = -1;
  linearScaling(query.data(), queryLength, reference.data(), referenceLength, lowerRatio,
                upperRatio, ratioCount, distanceType, distance.data(), shift.data(), work.data(),
                difference.data(), best, 1e9);
  std::printf("linearScaling (offset removed):\n");
  for (int i = 0; i < ratioCount; ++i)
    std::printf("  ratio %.2f  distance %10.4f  shift %8.3f%s\n",
                lowerRatio + i * (upperRatio - lowerRatio) / (ratioCount - 1), distance[i],
                shift[i], i == best ? "  <- best" : "");

  // The same two sequences without stretching: where does a slice of the
  // slowed copy fit best, and at what offset?
  const std::vector<double> slice(reference.begin() + 3, reference.begin() + 9);
  std::vector<double> lowered(slice);
  for (double &x : lowered)
    x -= 20;
  double offset = 0;
  int alignment = -1;
  const double smallest =
      lrShiftDist(lowered.data(), static_cast<int>(lowered.size()), reference.data(),
                  referenceLength, distanceType, offset, alignment);
  std::printf("lrShiftDist: distance %g at alignment %d, offset %g\n", smallest, alignment,
              offset);

  const bool ok = best == 4 && distance[best] < 1e-9 && std::fabs(shift[best] + 12) < 1e-9 &&
                  alignment == 3 && smallest < 1e-9 && std::fabs(offset + 20) < 1e-9;
  std::printf("%s\n", ok ? "found the stretch and the offset" : "unexpected result");
  return ok ? 0 : 1;
}
