// Greedy set cover: each round takes the set that adds the most labels not
// yet covered.
#include "set_cover.h"

#include "column_major.h"
#include "failure.h"
#include "scratch.h"

#include <cstddef>

namespace {

constexpr double kLargestLabel = 2147483646.0; // the count array has L + 1 entries

// Element (set, slot) of the column-major set matrix.
double &entry(double *setMatrix, int setCount, int set, int slot) {
  return setMatrix[set + columnOffset(slot, setCount)];
}

int labelAt(double *setMatrix, int setCount, int set, int slot) {
  return static_cast<int>(entry(setMatrix, setCount, set, slot));
}

// Labels index arrays, so each must be a finite value in 0 .. kLargestLabel.
// Checked before anything is written. Returns L, the largest label.
int checkedUniverseSize(const double *setMatrix, std::size_t elements) {
  double largest = 0;
  for (std::size_t e = 0; e < elements; ++e) {
    const double label = setMatrix[e];
    if (!(label >= 0 && label <= kLargestLabel))
      myExitFormatted("Set labels must be finite, non-negative and within the int range: "
                      "element %zu is %g (line %d of %s)",
                      e, label, __LINE__, UTILITY_SOURCE_PATH);
    if (label > largest)
      largest = label;
  }
  return static_cast<int>(largest);
}

// Rewrites each row as its distinct labels 1 .. L in ascending order, then 0.
void normaliseRows(double *setMatrix, int setCount, int slotCount, int universeSize) {
  std::unique_ptr<int[]> occurrences = allocateScratch<int>(universeSize + 1u, "setCover");
  for (int set = 0; set < setCount; ++set) {
    for (int label = 0; label <= universeSize; ++label)
      occurrences[label] = 0;
    for (int slot = 0; slot < slotCount; ++slot)
      ++occurrences[labelAt(setMatrix, setCount, set, slot)];
    int slot = 0;
    for (int label = 1; label <= universeSize; ++label) {
      if (occurrences[label] > 0)
        entry(setMatrix, setCount, set, slot++) = label;
    }
    for (; slot < slotCount; ++slot)
      entry(setMatrix, setCount, set, slot) = 0;
  }
}

// The most uncovered labels any set holds; the first set to reach it (the
// lowest row on ties) is written to winner, which is left alone when no set
// adds anything.
int largestGain(double *setMatrix, int setCount, int slotCount, const bool *labelCovered,
                int &winner) {
  int bestGain = 0;
  for (int set = 0; set < setCount; ++set) {
    int gain = 0;
    for (int slot = 0; slot < slotCount; ++slot) {
      if (!labelCovered[labelAt(setMatrix, setCount, set, slot)])
        ++gain;
    }
    if (gain > bestGain) {
      bestGain = gain;
      winner = set;
    }
  }
  return bestGain;
}

} // namespace

int setCover(double *setMatrix, int setCount, int slotCount, int maxRounds, int *chosenSet,
             double *coveredFraction) {
  const std::size_t elements = setCount > 0 && slotCount > 0
                                   ? static_cast<std::size_t>(setCount) * slotCount
                                   : 0;
  const int universeSize = checkedUniverseSize(setMatrix, elements);
  for (int r = 0; r < maxRounds; ++r) {
    chosenSet[r] = 0;
    coveredFraction[r] = 1;
  }
  if (elements == 0)
    return 0;
  // The caller's matrix keeps the normalised rows, even when no round runs.
  normaliseRows(setMatrix, setCount, slotCount, universeSize);
  if (maxRounds <= 0)
    return 0;

  // After normalisation a row holds each label once, so an element is covered
  // exactly when its label is: one flag per label stands for one per element.
  std::unique_ptr<bool[]> labelCovered = allocateScratch<bool>(universeSize + 1u, "setCover");
  labelCovered[0] = true; // empty slots never count
  int coveredCount = 0;
  int rounds = 0;
  for (;;) {
    if (largestGain(setMatrix, setCount, slotCount, labelCovered.get(), chosenSet[rounds]) == 0)
      break;
    const int winner = chosenSet[rounds];
    for (int slot = 0; slot < slotCount; ++slot) {
      const int label = labelAt(setMatrix, setCount, winner, slot);
      if (!labelCovered[label]) {
        labelCovered[label] = true;
        ++coveredCount;
      }
    }
    coveredFraction[rounds] = static_cast<double>(coveredCount) / universeSize;
    ++rounds;
    if (coveredCount >= universeSize || rounds == maxRounds)
      break;
  }
  return rounds;
}
