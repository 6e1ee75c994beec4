#include "hog.h"

#include "scratch.h"
#include "utility.h"

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// Grid lines along one direction: the image's own cells, rounded to the
// nearest whole number with halves going down (ceil(t - 0.5)), plus a
// border line on each side.
double gridLines(int pixels, double cell) { return std::ceil(pixels / cell - 0.5) + 2; }

// a * b, or -1 when the product leaves the 32-bit int range.
long long multiplyWithin32Bits(long long a, long long b) {
  const long long product = a * b; // both factors are below 2^31
  return product > INT_MAX ? -1 : product;
}

// Differences along one direction of a line of n values spaced stride
// apart, at position i, a value outside the line counting as 0. A line of a
// single value has no neighbour at all and no difference.
double nextMinusPrevious(const double *line, std::ptrdiff_t stride, int n, int i) {
  if (n < 2)
    return 0.0;
  if (i == 0)
    return line[stride];
  if (i == n - 1)
    return -line[(n - 2) * stride];
  return line[(i + 1) * stride] - line[(i - 1) * stride];
}

double previousMinusNext(const double *line, std::ptrdiff_t stride, int n, int i) {
  if (n < 2)
    return 0.0;
  if (i == 0)
    return -line[stride];
  if (i == n - 1)
    return line[(n - 2) * stride];
  return line[(i - 1) * stride] - line[(i + 1) * stride];
}

struct PlaneGradient {
  float dx;
  float dy;
  float magnitude;
};

PlaneGradient planeGradient(const double *plane, int rows, int cols, int y, int x) {
  // Rows grow downwards, so the vertical component is the row above minus
  // the row below. (Negating the other difference would turn equal
  // neighbours into -0 and flip atan2 from pi to -pi.)
  const double *row = plane + y;
  const double *column = columnOf(plane, rows, x);
  PlaneGradient gradient;
  gradient.dx = static_cast<float>(nextMinusPrevious(row, rows, cols, x));
  gradient.dy = static_cast<float>(previousMinusNext(column, 1, rows, y));
  gradient.magnitude = std::sqrt(gradient.dx * gradient.dx + gradient.dy * gradient.dy);
  return gradient;
}

// Row-major [grid row][grid column][bin] cell histograms.
class CellHistograms {
public:
  CellHistograms(const HogLayout &layout)
      : gridCols_(layout.gridCols), nbins_(layout.nbins),
        values_(allocateScratch<double>(
            static_cast<std::size_t>(layout.gridRows) * layout.gridCols * layout.nbins, "HoG")) {}

  double *cell(int gridRow, int gridCol) {
    return values_.get() +
           (static_cast<std::size_t>(gridRow) * gridCols_ + gridCol) * static_cast<std::size_t>(nbins_);
  }

private:
  int gridCols_;
  int nbins_;
  std::unique_ptr<double[]> values_;
};

void castVotes(CellHistograms &histograms, float magnitude, const HogSpatialSplit &down,
               const HogSpatialSplit &across, const HogOrientationSplit &bins) {
  const double rowWeight[2] = {1.0 - down.weight, down.weight};
  const double colWeight[2] = {1.0 - across.weight, across.weight};
  const double binWeight[2] = {1.0 - bins.upperWeight, bins.upperWeight};
  const int bin[2] = {bins.lowerBin, bins.upperBin};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 2; ++c) {
      double *cell = histograms.cell(down.first + r, across.first + c);
      for (int b = 0; b < 2; ++b)
        cell[bin[b]] += static_cast<double>(magnitude) * rowWeight[r] * colWeight[c] * binWeight[b];
    }
}

void voteAllPixels(const double *image, int rows, int cols, int planes, const HogLayout &layout,
                   float range, CellHistograms &histograms) {
  const double binWidth = static_cast<double>(range / static_cast<float>(layout.nbins));
  // The column splits are the same for every row.
  std::unique_ptr<HogSpatialSplit[]> across =
      allocateScratch<HogSpatialSplit>(static_cast<std::size_t>(cols), "HoG");
  for (int x = 0; x < cols; ++x)
    across[x] = hogSpatialSplit(x, layout.cell);
  for (int y = 0; y < rows; ++y) {
    const HogSpatialSplit down = hogSpatialSplit(y, layout.cell);
    for (int x = 0; x < cols; ++x) {
      HogGradient gradient = hogGradient(image, rows, cols, planes, y, x);
      if (std::isnan(gradient.angle))
        continue; // a NaN neighbour: no orientation to vote for
      if (gradient.magnitude == 0)
        continue; // its votes would all be +-0 and change no histogram bit
      if (gradient.angle < 0)
        gradient.angle += range;
      castVotes(histograms, gradient.magnitude, down, across[x],
                hogOrientationSplit(gradient.angle, binWidth, layout.nbins));
    }
  }
}

// Sum of squares held in single precision: every addition is done in double
// and rounded back.
float singlePrecisionSumOfSquares(const double *values, int count) {
  float sum = 0.0f;
  for (int k = 0; k < count; ++k)
    sum = static_cast<float>(static_cast<double>(sum) + values[k] * values[k]);
  return sum;
}

// Copies the block whose first cell is (by, bx) into block, cell by cell
// ([row offset][column offset][bin]).
void gatherBlock(CellHistograms &histograms, const HogLayout &layout, int by, int bx,
                 double *block) {
  const int bs = layout.blockSize;
  for (int i = 0; i < bs; ++i)
    for (int j = 0; j < bs; ++j) {
      const double *cell = histograms.cell(by + i, bx + j);
      double *target = block + (static_cast<std::size_t>(i) * bs + j) * layout.nbins;
      for (int bin = 0; bin < layout.nbins; ++bin)
        target[bin] = cell[bin];
    }
}

// L2-Hys: divide by the L2 norm, clip from above, divide by the new norm.
// A norm that is not positive gives zeros; no small constant is added.
void normaliseBlock(double *block, int count, double clip, double *out) {
  const float norm1 = std::sqrt(singlePrecisionSumOfSquares(block, count));
  for (int k = 0; k < count; ++k) {
    double value = 0.0;
    if (norm1 > 0) {
      value = block[k] / norm1;
      if (value > clip)
        value = clip;
    }
    block[k] = value;
  }
  const float norm2 = std::sqrt(singlePrecisionSumOfSquares(block, count));
  for (int k = 0; k < count; ++k)
    out[k] = norm2 > 0 ? block[k] / norm2 : 0.0;
}

} // namespace

HogLayout hogLayout(const double *params, int rows, int cols) {
  HogLayout layout;
  layout.nbins = truncateToInt(params[0]);
  layout.cell = params[1];
  layout.blockSize = truncateToInt(params[2]);
  if (!(layout.cell > 0) || layout.blockSize < 1)
    return layout;
  // In double first: the int conversion is only safe once the sizes are
  // known to fit.
  const double gridRows = gridLines(rows, layout.cell);
  const double gridCols = gridLines(cols, layout.cell);
  const bool hasBlock =
      gridRows - layout.blockSize - 1 >= 1 && gridCols - layout.blockSize - 1 >= 1;
  if (gridRows > INT_MAX || gridCols > INT_MAX) {
    layout.length = hasBlock && layout.nbins >= 1 ? -1 : 0;
    return layout;
  }
  layout.gridRows = static_cast<int>(gridRows);
  layout.gridCols = static_cast<int>(gridCols);
  layout.blockRows = layout.gridRows - layout.blockSize - 1;
  layout.blockCols = layout.gridCols - layout.blockSize - 1;
  if (!hasBlock || layout.nbins < 1)
    return layout;
  long long length = layout.nbins;
  for (long long factor : {layout.blockSize, layout.blockSize, layout.blockRows, layout.blockCols})
    if (length >= 0)
      length = multiplyWithin32Bits(length, factor);
  layout.length = length;
  return layout;
}

double hogWorkElements(const HogLayout &layout) {
  const double nbins = layout.nbins;
  return static_cast<double>(layout.gridRows) * layout.gridCols * nbins +
         static_cast<double>(layout.blockSize) * layout.blockSize * nbins;
}

HogGradient hogGradient(const double *image, int rows, int cols, int planes, int y, int x) {
  const std::size_t planeSize = static_cast<std::size_t>(rows) * cols;
  PlaneGradient best = planeGradient(image, rows, cols, y, x);
  for (int c = 1; c < planes; ++c) {
    const PlaneGradient candidate = planeGradient(image + c * planeSize, rows, cols, y, x);
    if (candidate.magnitude > best.magnitude)
      best = candidate;
  }
  // Only the winning plane's angle is needed.
  HogGradient gradient;
  gradient.magnitude = best.magnitude;
  gradient.angle =
      static_cast<float>(std::atan2(static_cast<double>(best.dy), static_cast<double>(best.dx)));
  return gradient;
}

HogOrientationSplit hogOrientationSplit(float angle, double binWidth, int nbins) {
  // k is the upper bin before wrapping; it can pass nbins by one only
  // through the rounding of a bin width of more than 2^23 bins.
  const long long k = static_cast<long long>(std::floor(static_cast<double>(angle) / binWidth + 0.5));
  HogOrientationSplit split;
  auto wrap = [nbins](long long bin) { return static_cast<int>(bin >= nbins ? bin - nbins : bin); };
  split.lowerBin = k == 0 ? nbins - 1 : wrap(k - 1);
  split.upperBin = wrap(k);
  const float lowerCentre = static_cast<float>((static_cast<double>(k) - 0.5) * binWidth);
  split.upperWeight = static_cast<double>(angle - lowerCentre) / binWidth;
  return split;
}

HogSpatialSplit hogSpatialSplit(int p, double cell) {
  HogSpatialSplit split;
  split.first = static_cast<int>(std::floor(p / cell + 0.5));
  // Grid line j is centred at (j - 0.5) * cell + 0.5 in 1-based pixel
  // coordinates.
  const float centre = static_cast<float>((split.first - 0.5) * cell + 0.5);
  split.weight = static_cast<double>(static_cast<float>(p + 1) - centre) / cell;
  return split;
}

void HoG(double *image, double *params, int *dims, double *descriptor, unsigned int grey) {
  const int rows = dims[0];
  const int cols = dims[1];
  const HogLayout layout = hogLayout(params, rows, cols);
  if (layout.length <= 0)
    return;
  const bool signedMode = truncateToInt(params[3]) == 1;
  const double clip = params[4];
  const int planes = grey ? 1 : 3;

  CellHistograms histograms(layout);
  voteAllPixels(image, rows, cols, planes, layout, signedMode ? HOG_FULL_TURN : HOG_HALF_TURN,
                histograms);

  const int blockValues = layout.blockSize * layout.blockSize * layout.nbins;
  std::unique_ptr<double[]> block =
      allocateScratch<double>(static_cast<std::size_t>(blockValues), "HoG");
  double *out = descriptor;
  for (int bx = 1; bx <= layout.blockCols; ++bx)
    for (int by = 1; by <= layout.blockRows; ++by) {
      gatherBlock(histograms, layout, by, bx, block.get());
      normaliseBlock(block.get(), blockValues, clip, out);
      out += blockValues;
    }
}
