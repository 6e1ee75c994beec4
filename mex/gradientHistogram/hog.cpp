#include "hog.h"

#include "cpu_dispatch.h"
#include "scratch.h"
#include "simd_lanes.h"
#include "utility.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>

// Fast single-precision atan2
// ===========================
// The angle is wanted in single precision only, so a double evaluation that
// is merely accurate enough rounds to the same float as the library's
// atan2, except when the exact angle lies very close to a point halfway
// between two floats. hogFastAngle evaluates A with a proven error bound and
// accepts it only when every double within that bound of A rounds to the
// same float; otherwise hogAngle asks the library.
//
// Evaluation (q = min/max of |dx|, |dy|, both finite, not both zero):
//   i = a whole number next to 8q (from an estimate), c = i/8,
//   u = (min - c*max) / (max + c*min)    so that atan(q) = atan(c) + atan(u),
//   p = u + u*s, s = u^2*(-1/3 + u^2*(1/5 + u^2*(-1/7 + u^2*(1/9 - u^2/11)))),
//   t = atan(c) + p   (atan(c) from a table of doubles),
//   then t -> pi/2 - t when |dy| > |dx|, -> pi - t when dx < 0, and the
//   sign of dy.
//
// Error bound, relative to the exact angle T (eps = 2^-53, one rounding):
// 1. i is within 0.5 + 2^-10 of 8q: the scalar code rounds q, 8q and
//    8q + 0.5 to double and truncates (off by far less), the vector kernels
//    take the nearest whole number to an estimate of 8q within a relative
//    2^-13 (q <= 1). So |q - c| <= 1/16 + 2^-13 and |u| = |q - c|/(1 + qc)
//    < 0.0627; no estimate of q above 1 + 2^-13 gives an i above 8.
// 2. min - c*max is exact: c*max has at most 28 significant bits; for i = 0
//    it is 0, and for i >= 1 we have q > 1/32, so both terms are multiples of
//    a common power of two g (a 1/8 of the last place of max's float grid,
//    or min's float grid) and below 2^34 g. c*min is exact too; the
//    denominator and the quotient are rounded once each:
//    |u_computed - u| <= 2.01 eps |u|.
// 3. Series truncation: atan is an alternating series with decreasing terms
//    for |u| < 1, so dropping u^13/13 onwards errs by at most
//    |u|^13/13 < 2.9e-16 |u| < 2.7 eps |u|. The Horner evaluation of s
//    (|s| < 0.0014, terms shrinking by u^2 < 0.004) has a relative error of
//    a few eps, i.e. below 0.01 eps |u| in p; u*s and u + u*s add 0.0014 eps
//    |u| and eps |p|. With step 2 (atan' <= 1): |p - atan(u)| <= 5.8 eps |u|.
// 4. t: the table entry errs by at most eps atan(c) and the sum by eps |t|.
//    For i = 0, t = p and |u| = q <= 1.002 atan(q). For i >= 1,
//    q >= (0.5 - 2^-10)/8 and atan(q) > 0.0622, so |u| <= 1.008 atan(q) and
//    atan(c) <= atan(q) + |q - c| <= 2.01 atan(q). So
//    |t - atan(q)| <= (5.85 + 2.01 + 1.01) eps atan(q) < 9 eps atan(q).
// 5. pi/2 - t (when t <= pi/4 + tiny, result >= pi/4) and pi - r (r <= pi/2,
//    result >= pi/2) each add the constant's eps-rounding and one rounding:
//    at most 3 eps more relative to their larger results. The sign is
//    exact. Altogether |A - T| < 16 eps |T| < 32 eps |T| = 2^-48 |T|.
// The library's atan2 is assumed to be within 2^-50 |T| (four units in the
// last place; the system library's stays below one), so
// |A - library| < 1.25 * 2^-48 |T| < 2^-47 |A|, which is less than 2^6 units
// in the last place of A. A (taken positive; the sign goes on afterwards)
// rounds to single precision by its 29 lowest significand bits: down below
// 2^28, up above, to even at 2^28. A double within 2^6 units of A rounds to
// the same float unless those bits of A lie within 2^6 of 2^28 (crossing
// a float itself, or a power of two, changes nothing: both sides round to
// that float). The test accepts A only when they are more than 2^7 from
// 2^28. Results below the normal single-precision range (evenly spaced
// floats) are accepted when A widened by |A| * 2^-46 either way rounds to
// one float at both ends.
// Zero components follow the same formulas: atan2(+-y, +-0) is +-pi/2 and
// atan2(+-0, x) is +-0 or +-pi, the IEC 60559 values the library returns.
namespace {

// atan(i/8), i = 0 .. 8, rounded to double; zeros after, so that the
// kernels can look entries up in a table of sixteen (lookupSmall).
constexpr double kAtanOfEighths[16] = {0.0,
                                      0.12435499454676144,
                                      0.24497866312686414,
                                      0.35877067027057225,
                                      0.4636476090008061,
                                      0.5585993153435624,
                                      0.6435011087932844,
                                      0.7188299996216245,
                                      0.7853981633974483};
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kPi = 3.141592653589793;
// Within this many units in the last place of a double, its 29 bits below
// single precision must not come near the rounding midpoint 2^28.
constexpr std::uint64_t kAngleMargin = 1u << 7;

// Whether every double within 2^6 units in the last place of a (positive,
// at least the smallest normal float) rounds to the same float as a.
inline bool roundsSafelyToFloat(double a) {
  std::uint64_t bits;
  std::memcpy(&bits, &a, sizeof bits);
  const std::uint64_t belowFloat = bits & ((std::uint64_t{1} << 29) - 1);
  // Unsigned wrap-round: at most 2 * margin exactly when belowFloat lies
  // within margin of 2^28.
  return belowFloat - ((std::uint64_t{1} << 28) - kAngleMargin) > 2 * kAngleMargin;
}

// The same for 0 <= a < FLT_MIN, whose floats are spaced evenly: a widened
// by a * 2^-46 either way (exact or off by far less) must round to one float
// at both ends; rounding is monotonic, so everything in between does too.
inline bool roundsSafelyToSubnormal(double a) {
  const double margin = a * 0x1p-46;
  return static_cast<float>(a - margin) == static_cast<float>(a + margin);
}

// atan(min / max) for 0 <= min <= max, max > 0 and finite.
double atanOfRatio(double min, double max) {
  const int i = static_cast<int>(min / max * 8.0 + 0.5);
  const double c = i * 0.125;
  const double u = (min - c * max) / (max + c * min);
  const double u2 = u * u;
  const double s =
      u2 * (-1.0 / 3 + u2 * (1.0 / 5 + u2 * (-1.0 / 7 + u2 * (1.0 / 9 + u2 * (-1.0 / 11)))));
  return kAtanOfEighths[i] + (u + u * s);
}

// The fast evaluation for finite components that are not both zero: the
// angle is formed for |dy| and its sign put on the float (rounding to
// nearest is symmetric), which also gives -0 and -pi for dy = -0.
inline bool finiteAngle(float dy, float dx, float &angle) {
  const float ax = std::fabs(dx), ay = std::fabs(dy);
  const bool steep = ay > ax;
  const float minF = steep ? ax : ay, maxF = steep ? ay : ax;
  double a = atanOfRatio(minF, maxF);
  if (steep)
    a = kHalfPi - a;
  if (dx < 0)
    a = kPi - a;
  if (a < FLT_MIN ? !roundsSafelyToSubnormal(a) : !roundsSafelyToFloat(a))
    return false;
  angle = std::copysign(static_cast<float>(a), dy);
  return true;
}

// The body of hogFastAngle.
inline bool fastAngle(float dy, float dx, float &angle) {
  const float ax = std::fabs(dx), ay = std::fabs(dy);
  // NaN fails both comparisons.
  if (!(ax <= FLT_MAX && ay <= FLT_MAX) || (ax == 0 && ay == 0))
    return false;
  return finiteAngle(dy, dx, angle);
}

inline float libraryAngle(float dy, float dx) {
  return static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)));
}

inline float angleOf(float dy, float dx) {
  float angle;
  if (fastAngle(dy, dx, angle))
    return angle;
  return libraryAngle(dy, dx);
}

} // namespace

bool hogFastAngle(float dy, float dx, float &angle) { return fastAngle(dy, dx, angle); }

float hogAngle(float dy, float dx) { return angleOf(dy, dx); }

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

float singlePrecisionMagnitude(float dx, float dy) { return std::sqrt(dx * dx + dy * dy); }

struct PlaneGradient {
  float dx;
  float dy;
  float magnitude;
};

// dx and dy of pixel (y, x) of one plane; the magnitude is left at 0.
PlaneGradient planeDifferences(const double *plane, int rows, int cols, int y, int x) {
  // Rows grow downwards, so the vertical component is the row above minus
  // the row below. (Negating the other difference would turn equal
  // neighbours into -0 and flip atan2 from pi to -pi.)
  const double *row = plane + y;
  const double *column = columnOf(plane, rows, x);
  PlaneGradient gradient;
  gradient.dx = static_cast<float>(nextMinusPrevious(row, rows, cols, x));
  gradient.dy = static_cast<float>(previousMinusNext(column, 1, rows, y));
  gradient.magnitude = 0.0f;
  return gradient;
}

PlaneGradient planeGradient(const double *plane, int rows, int cols, int y, int x) {
  PlaneGradient gradient = planeDifferences(plane, rows, cols, y, x);
  gradient.magnitude = singlePrecisionMagnitude(gradient.dx, gradient.dy);
  return gradient;
}

// Rows per band of per-pixel work (a multiple of every lane width).
constexpr int kBandRows = 8;

// Arrays that one loop reads or writes at the same index start this many
// doubles (1344 bytes) further apart than their sizes: arrays a multiple
// of 4096 bytes apart (a band of 640 columns is 10 times that, its
// arrangement for the votes 12 times) make the processor take a load as
// dependent on an earlier store to another of them at the same index.
constexpr std::size_t kArrayStagger = 168;

// The per-pixel results of one band: three arrays of cols * kBandRows
// doubles, in the order hog_kernels.inc describes.
struct HogBand {
  double *magnitude, *lowerOffset, *upperWeight;
  // Where the folded angles go when the orientation split is left to the
  // votes (very many bins).
  double *angle() const { return lowerOffset; }
};

// A spatial split with both weights: grid line `first` gets weight[0] =
// 1 - w, first + 1 gets weight[1] = w.
struct SpatialWeights {
  int first;
  double weight[2];
};

SpatialWeights spatialWeights(int p, double cell) {
  const HogSpatialSplit split = hogSpatialSplit(p, cell);
  return {split.first, {1.0 - split.weight, split.weight}};
}

// Where a pixel's two bins start in a grid row ([bin][grid column]), and
// the upper bin's weight.
struct BinOffsets {
  std::size_t lower;
  std::size_t upper;
  double upperWeight;
};

// The per-pixel results of one band row rearranged for the dense votes (see
// DenseVotes): with a whole cell size c and h = c / 2 rounded down, pixel x
// belongs to grid column g = (x + h) / c (its first grid column) at phase
// s = (x + h) % c, and phase s keeps the pixels of grid columns -1, 0, 1,
// ... side by side in slots 0, 1, 2, ...
struct HogPhaseRows {
  // phases * slots doubles each, [phase][slot], of one band row (of the
  // band's rows one after another in the arranged band); a slot without a
  // pixel, or whose pixel casts no vote, has lower offset -1.
  double *magnitude, *lowerOffset, *upperWeight;
  // phases * slots doubles each: a pixel's weights for its first grid
  // column (columnWeight[0]) and the next (columnWeight[1]); 0 where no
  // pixel is.
  double *columnWeight[2];
  std::size_t slots; // the bin stride of the histograms plus 8
  int phases;        // the cell size
};

// Casts the votes of one rearranged band row into its two grid rows; the
// last argument is the histograms' bin stride.
using DenseRowKernel = void (*)(const HogPhaseRows &, const SpatialWeights &, double *const *,
                                std::size_t);
// bandPixels for the dense votes: the orientation splits of a band go
// straight into their arrangement (for half a cell rounded down, the
// second-last argument).
using ArrangedBandKernel = void (*)(const double *, int, int, int, int, float, double, int, int,
                                    int, const HogBand &, const HogPhaseRows &);

// Groups of lanes that one call of the block kernel normalises together.
constexpr int kBlockGroups = 4;

#define CLUSTERKIT_KERNEL_FILE "hog_kernels.inc"
#include "kernel_targets.inc"

// The dense votes, on the one target whose vector holds a band column.
#if CLUSTERKIT_X86_DISPATCH
CLUSTERKIT_BEGIN_TARGET_AVX512
namespace avx512_target {
#include "hog_dense_kernels.inc"
} // namespace avx512_target
CLUSTERKIT_END_TARGET
#endif

using BandKernel = void (*)(const double *, int, int, int, int, float, double, int, int, bool,
                            const HogBand &);
using RowVoteKernel = void (*)(const HogBand &, int, int, const SpatialWeights &,
                               const SpatialWeights *, double *const *, std::size_t, std::size_t);
using BlockKernel = void (*)(const double *const *, int, int, int, int, double, double *,
                             double *, std::ptrdiff_t);

// The kernels of one target; blockLanes blocks go through `blocks` at once,
// kBlockGroups times as many through `manyBlocks`.
// denseRow gives the dense row-vote kernel for a bin count, or null where
// the target has none or the count is too large for it; arrangedBand is
// the band kernel that goes with it.
struct HogKernels {
  BandKernel band;
  RowVoteKernel voteRow;
  BlockKernel blocks;
  BlockKernel manyBlocks;
  int blockLanes;
  DenseRowKernel (*denseRow)(int nbins);
  ArrangedBandKernel arrangedBand;
};

DenseRowKernel noDenseRowKernel(int) { return nullptr; }

// The kernels of the active target.
HogKernels activeKernels() {
#if CLUSTERKIT_X86_DISPATCH
  switch (activeKernelTarget()) {
  case KernelTarget::Avx512:
    return {avx512_target::bandPixels,          avx512_target::voteBandRow,
            avx512_target::normaliseBlocks,     avx512_target::normaliseManyBlocks,
            LanesAvx512::width,                 avx512_target::denseRowKernel,
            avx512_target::arrangedBandPixels};
  case KernelTarget::Avx2:
    return {avx2_target::bandPixels, avx2_target::voteBandRow, avx2_target::normaliseBlocks,
            avx2_target::normaliseManyBlocks, LanesAvx2::width, noDenseRowKernel, nullptr};
  case KernelTarget::Sse2:
    return {sse2_target::bandPixels, sse2_target::voteBandRow, sse2_target::normaliseBlocks,
            sse2_target::normaliseManyBlocks, LanesSse2::width, noDenseRowKernel, nullptr};
  default:
    break;
  }
#endif
  return {scalar_target::bandPixels, scalar_target::voteBandRow, scalar_target::normaliseBlocks,
          scalar_target::normaliseManyBlocks, LanesScalar::width, noDenseRowKernel, nullptr};
}

// The most blocks normalised at once (kBlockGroups groups of AVX-512's
// eight doubles).
constexpr int kMaxBlockLanes = 8 * kBlockGroups;
// Blocks of more values than this are normalised one at a time, which keeps
// the lane-wise copy of a group small.
constexpr long long kMaxGroupedBlockValues = 1 << 14;

// Bin counts up to this take the orientation split band by band, with bin
// indices 0 .. nbins only; from 2^23 bins on the index can pass the bin
// count by one (see hogOrientationSplit), so those counts (and, for a
// margin, those from 2^22) take that general routine per pixel.
constexpr int kRowSplitBins = 1 << 22;

// Grid columns per bin in the histograms: the grid columns rounded up to a
// whole number of the widest vectors, so that the dense votes load and
// store whole vectors (the extra columns receive no vote).
constexpr int kGridColumnMultiple = 8;

// (Grids too wide for the rounded count to stay an int keep their width.)
std::size_t binStrideOf(const HogLayout &layout) {
  const int columns = layout.gridCols;
  if (columns > INT_MAX - kGridColumnMultiple)
    return static_cast<std::size_t>(columns);
  return static_cast<std::size_t>((columns + kGridColumnMultiple - 1) / kGridColumnMultiple *
                                  kGridColumnMultiple);
}

// The cell histograms of blockSize + 1 grid rows at a time, each row
// [bin][grid column] with binStride() columns per bin: a pixel row votes
// into grid rows c and c + 1, and c never decreases down the image, so the
// rows still voted into and the rows of blocks not yet normalised always
// fit (see BlockRows). Grid row g lives in slot g mod (blockSize + 1).
class HistogramRing {
public:
  explicit HistogramRing(const HogLayout &layout)
      : slots_(static_cast<std::size_t>(layout.blockSize) + 1), binStride_(binStrideOf(layout)),
        rowSize_(binStride_ * layout.nbins),
        values_(allocateScratch<double>(slots_ * rowSize_, "HoG")) {}

  double *row(int gridRow) { return values_.get() + (gridRow % slots_) * rowSize_; }
  void clear(int gridRow) { std::fill(row(gridRow), row(gridRow) + rowSize_, 0.0); }
  std::size_t binStride() const { return binStride_; }

private:
  std::size_t slots_;
  std::size_t binStride_;
  std::size_t rowSize_;
  std::unique_ptr<double[]> values_;
};

// Normalises each block row into the descriptor as soon as its grid rows
// can receive no more votes, and clears each grid row before its first
// vote. Block row by reads grid rows by .. by + blockSize - 1; once the
// votes reach grid row c, rows below c are final, so block rows up to
// c - blockSize are written and the rows still needed are c - blockSize + 1
// .. c + 1: blockSize + 1 slots.
class BlockRows {
public:
  BlockRows(const HogLayout &layout, double clip, double *descriptor, HistogramRing &ring)
      : layout_(layout), clip_(clip), descriptor_(descriptor), ring_(ring),
        kernels_(activeKernels()),
        blockValues_(static_cast<long long>(layout.blockSize) * layout.blockSize * layout.nbins),
        laneValues_(allocateScratch<double>(
            static_cast<std::size_t>(blockValues_) *
                (blockValues_ <= kMaxGroupedBlockValues ? kMaxBlockLanes : 1),
            "HoG")),
        cellRows_(
            allocateScratch<const double *>(static_cast<std::size_t>(layout.blockSize), "HoG")) {}

  // Before the votes of a pixel row whose upper grid row is gridRow.
  void reach(int gridRow) {
    finishUpTo(gridRow - layout_.blockSize);
    clearUpTo(gridRow + 1);
  }

  void finishAll() { finishUpTo(layout_.blockRows); }

private:
  void clearUpTo(int gridRow) {
    for (; nextClear_ <= gridRow; ++nextClear_)
      ring_.clear(nextClear_);
  }

  void finishUpTo(int lastBlockRow) {
    const int last = std::min(lastBlockRow, layout_.blockRows);
    for (; nextBlockRow_ <= last; ++nextBlockRow_) {
      // Grid rows no vote reached hold zeros.
      clearUpTo(nextBlockRow_ + layout_.blockSize - 1);
      normaliseBlockRow(nextBlockRow_);
    }
  }

  // The blocks of block row by, groups of neighbours through the target's
  // kernel and the rest one by one through the scalar one (the same bits).
  void normaliseBlockRow(int by) {
    for (int i = 0; i < layout_.blockSize; ++i)
      cellRows_[i] = ring_.row(by + i);
    const int binStride = static_cast<int>(ring_.binStride());
    const std::ptrdiff_t outStride = static_cast<std::ptrdiff_t>(layout_.blockRows) * blockValues_;
    auto blockStart = [&](int bx) {
      return descriptor_ + (bx - 1) * outStride +
             (by - 1) * static_cast<std::ptrdiff_t>(blockValues_);
    };
    const int lanes = kernels_.blockLanes, blockCols = layout_.blockCols;
    auto group = [&](BlockKernel kernel, int bx) {
      kernel(cellRows_.get(), binStride, layout_.nbins, layout_.blockSize, bx, clip_,
             laneValues_.get(), blockStart(bx), outStride);
    };
    int bx = 1;
    if (blockValues_ <= kMaxGroupedBlockValues && blockCols >= lanes) {
      // Bounds as differences, so that bx stops at blockCols + 1 at most.
      for (; bx <= blockCols - (kBlockGroups * lanes - 1); bx += kBlockGroups * lanes)
        group(kernels_.manyBlocks, bx);
      for (; bx <= blockCols - (lanes - 1); bx += lanes)
        group(kernels_.blocks, bx);
      // The rest as the last group of lanes, which overlaps blocks already
      // written and writes them again with the same bits (every lane has
      // the scalar routine's).
      if (bx <= blockCols)
        group(kernels_.blocks, blockCols - lanes + 1);
      bx = blockCols + 1;
    }
    for (; bx <= layout_.blockCols; ++bx)
      scalar_target::normaliseBlocks(cellRows_.get(), binStride, layout_.nbins,
                                     layout_.blockSize, bx, clip_, laneValues_.get(),
                                     blockStart(bx), outStride);
  }

  const HogLayout &layout_;
  double clip_;
  double *descriptor_;
  HistogramRing &ring_;
  HogKernels kernels_;
  long long blockValues_;
  std::unique_ptr<double[]> laneValues_;
  std::unique_ptr<const double *[]> cellRows_;
  int nextClear_ = 0;
  int nextBlockRow_ = 1;
};

// The largest cell size that takes the dense votes: a row of the rearranged
// band holds cell * (bin stride + 8) values, about cols + 18 cells.
constexpr double kMaxDenseCell = 64;

// Whether the cell size allows the dense votes: whole, 1 .. kMaxDenseCell.
bool denseCellSize(double cell) {
  return cell >= 1 && cell <= kMaxDenseCell && cell == std::floor(cell);
}

// Doubles of the band arranged for the dense votes with cell size c and a
// bin stride: three arrays of kBandRows rows and the two column weights, c
// phases of binStride + kGridColumnMultiple slots each, the arrays
// kArrayStagger apart. (T is double for the memory check, which must not
// overflow, std::size_t for the allocation.)
template <class T> T denseArrangementElements(T c, T binStride) {
  return (3 * kBandRows + 2) * c * (binStride + kGridColumnMultiple) + 3 * kArrayStagger;
}

// The dense votes. With a whole cell size c and h = c / 2 rounded down,
// pixel x goes to grid column (x + h) / c (weight 1 - wx) and the next one
// (weight wx), so along one image row grid column g receives the votes of
// the c pixels x = c (g - 1) - h .. c g - h - 1, then those of
// x = c g - h .. c (g + 1) - h - 1, in this order. Neighbouring grid
// columns take these runs in step, phase by phase, one column per lane
// (voteRowDense): each histogram value is one lane of a vector of
// neighbouring grid columns, held in a register across the image row, and
// gets the same votes in the same order as from castVotes, computed from the
// same values by the same products; only whether a pixel votes into a bin
// is now a lane condition (a lower offset of -1 matches no bin). Taken only
// when the cell size is whole, at most kMaxDenseCell, every pixel's first
// grid column is (x + h) / c (checked), and the target has a kernel for
// the bin count.
class DenseVotes {
public:
  DenseVotes(const HogLayout &layout, int cols, const SpatialWeights *across,
             std::size_t binStride, const HogKernels &kernels)
      : cols_(cols), binStride_(binStride), across_(across) {
    const double cell = layout.cell;
    // (Bin counts with a kernel take the orientation split band by band.)
    const DenseRowKernel kernel = kernels.denseRow(layout.nbins);
    if (!kernel || !denseCellSize(cell) || binStride % kGridColumnMultiple != 0)
      return;
    const int c = static_cast<int>(cell);
    half_ = c / 2;
    for (int x = 0; x < cols; ++x)
      if (across[x].first != (static_cast<long long>(x) + half_) / c)
        return;
    band_.phases = c;
    band_.slots = binStride + kGridColumnMultiple;
    rowSize_ = static_cast<std::size_t>(c) * band_.slots;
    kernel_ = kernel;
    arrangedBand_ = kernels.arrangedBand;
  }

  bool active() const { return kernel_ != nullptr; }

  // Doubles of storage the dense votes need (0 when they are not taken).
  std::size_t elements() const {
    return active() ? denseArrangementElements<std::size_t>(band_.phases, binStride_) : 0;
  }

  // Takes elements() doubles of zeroed storage, before the first band.
  // Slot groups without a pixel in the image are never written again: they
  // keep magnitude 0 and lower offset -1 in every row.
  void attach(double *storage) {
    const std::size_t bandArray = kBandRows * rowSize_ + kArrayStagger;
    band_.magnitude = storage;
    band_.lowerOffset = storage + bandArray;
    band_.upperWeight = storage + 2 * bandArray;
    band_.columnWeight[0] = storage + 3 * bandArray;
    band_.columnWeight[1] = storage + 3 * bandArray + rowSize_;
    std::fill(band_.lowerOffset, band_.lowerOffset + kBandRows * rowSize_, -1.0);
    const int c = band_.phases;
    for (int x = 0; x < cols_; ++x) {
      const long long shifted = static_cast<long long>(x) + half_;
      const std::size_t at = static_cast<std::size_t>(shifted % c) * band_.slots +
                             static_cast<std::size_t>(shifted / c) + 1;
      band_.columnWeight[0][at] = across_[x].weight[0];
      band_.columnWeight[1][at] = across_[x].weight[1];
    }
  }

  // The per-pixel work of the band starting at row y0 (bandPixels'
  // arguments), put in place for the votes of its rows.
  void bandPixels(const double *image, int rows, int planes, int y0, float range, double binWidth,
                  int nbins, const HogBand &band) {
    arrangedBand_(image, rows, cols_, planes, y0, range, binWidth, nbins,
                  static_cast<int>(binStride_), half_, band, band_);
  }

  // The votes of row r of the band into its two grid rows.
  void voteRow(int r, const SpatialWeights &down, double *const *gridRows) const {
    HogPhaseRows row = band_;
    const std::size_t offset = r * rowSize_;
    row.magnitude += offset;
    row.lowerOffset += offset;
    row.upperWeight += offset;
    kernel_(row, down, gridRows, binStride_);
  }

private:
  int cols_;
  std::size_t binStride_;
  const SpatialWeights *across_;
  int half_ = 0;
  DenseRowKernel kernel_ = nullptr;
  ArrangedBandKernel arrangedBand_ = nullptr;
  HogPhaseRows band_{};
  std::size_t rowSize_ = 0;
};

// Votes pixel by pixel, rows outer: every histogram value receives its votes
// in that order. The per-pixel work before the votes runs band by band on
// the dispatch's kernels; the blocks are written as their rows complete.
void voteAllPixels(const double *image, int rows, int cols, int planes, const HogLayout &layout,
                   float range, HistogramRing &ring, BlockRows &blocks) {
  const double binWidth = static_cast<double>(range / static_cast<float>(layout.nbins));
  const int nbins = layout.nbins;
  const bool splitByRow = nbins <= kRowSplitBins;
  // Bins lie binStride apart in a grid row.
  const std::size_t binStride = ring.binStride();
  const std::size_t lastBinOffset = (nbins - 1) * binStride;
  // The column splits are the same for every row.
  auto across = allocateScratch<SpatialWeights>(static_cast<std::size_t>(cols), "HoG");
  for (int x = 0; x < cols; ++x)
    across[x] = spatialWeights(x, layout.cell);
  const std::size_t bandSize = static_cast<std::size_t>(cols) * kBandRows;
  const HogKernels kernels = activeKernels();
  DenseVotes dense(layout, cols, across.get(), binStride, kernels);
  // One block for the band and its arrangement: fewer, larger allocations
  // keep the allocator from handing memory back to the system and faulting
  // it in again on every call.
  const std::size_t bandArray = bandSize + kArrayStagger;
  auto storage = allocateScratch<double>(3 * bandArray + dense.elements(), "HoG");
  double *base = storage.get();
  const HogBand band = {base, base + bandArray, base + 2 * bandArray};
  if (dense.active())
    dense.attach(base + 3 * bandArray);
  const BandKernel bandPixels = kernels.band;
  const RowVoteKernel voteBandRow = kernels.voteRow;
  // Bands by index, so that no row counter steps past INT_MAX.
  const int bands = rows / kBandRows + (rows % kBandRows != 0);
  for (int bandIndex = 0; bandIndex < bands; ++bandIndex) {
    const int y0 = bandIndex * kBandRows;
    if (dense.active())
      dense.bandPixels(image, rows, planes, y0, range, binWidth, nbins, band);
    else
      bandPixels(image, rows, cols, planes, y0, range, binWidth, nbins,
                 static_cast<int>(binStride), splitByRow, band);
    for (int r = 0; r < kBandRows && r < rows - y0; ++r) {
      const SpatialWeights down = spatialWeights(y0 + r, layout.cell);
      blocks.reach(down.first);
      double *const gridRows[2] = {ring.row(down.first), ring.row(down.first + 1)};
      if (dense.active())
        dense.voteRow(r, down, gridRows);
      else if (splitByRow)
        voteBandRow(band, r, cols, down, across.get(), gridRows, binStride, lastBinOffset);
      else
        scalar_target::voteRow(band, r, cols, down, across.get(), gridRows, [&](std::size_t at) {
          const HogOrientationSplit split =
              hogOrientationSplit(static_cast<float>(band.angle()[at]), binWidth, nbins);
          return BinOffsets{split.lowerBin * binStride, split.upperBin * binStride,
                            split.upperWeight};
        });
    }
  }
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

double hogWorkElements(const HogLayout &layout, int cols) {
  const double nbins = layout.nbins;
  const double blockValues = static_cast<double>(layout.blockSize) * layout.blockSize * nbins;
  const double laneCopies = blockValues <= kMaxGroupedBlockValues ? kMaxBlockLanes : 1;
  // Per column: three doubles for each row of a band of per-pixel work, and
  // the column's spatial split; one pointer per block row.
  const double perColumn = 3.0 * kBandRows + sizeof(SpatialWeights) / sizeof(double);
  // The band's arrays, kArrayStagger apart.
  const double stagger = 3.0 * kArrayStagger;
  const double binStride = static_cast<double>(binStrideOf(layout));
  // The band arranged for the dense votes, where the cell size allows them.
  const double dense =
      denseCellSize(layout.cell) ? denseArrangementElements<double>(layout.cell, binStride) : 0;
  return (layout.blockSize + 1.0) * binStride * nbins + laneCopies * blockValues +
         layout.blockSize + perColumn * cols + stagger + dense;
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
  gradient.angle = hogAngle(best.dy, best.dx);
  return gradient;
}

HogOrientationSplit hogOrientationSplit(float angle, double binWidth, int nbins) {
  // k is the upper bin before wrapping; it can pass nbins by one only
  // through the rounding of a bin width of more than 2^23 bins.
  // Truncation is floor here: the value is at least 0.5.
  const long long k = static_cast<long long>(static_cast<double>(angle) / binWidth + 0.5);
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
  // Truncation is floor here: the value is at least 0.5.
  split.first = static_cast<int>(p / cell + 0.5);
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

  HistogramRing ring(layout);
  BlockRows blocks(layout, clip, descriptor, ring);
  voteAllPixels(image, rows, cols, planes, layout, signedMode ? HOG_FULL_TURN : HOG_HALF_TURN, ring,
                blocks);
  blocks.finishAll();
}

namespace {

using AngleRunKernel = void (*)(const double *, const double *, std::ptrdiff_t, double *, double *);
using SplitRunKernel = void (*)(double *, double *, std::ptrdiff_t, double, int);

// The per-pixel kernels of the active target that hogFastAngles and
// hogOrientationSplits run on their own.
struct PixelKernels {
  AngleRunKernel angles;
  SplitRunKernel splits;
};

PixelKernels activePixelKernels() {
#if CLUSTERKIT_X86_DISPATCH
  switch (activeKernelTarget()) {
  case KernelTarget::Avx512:
    return {avx512_target::fastAngleRun, avx512_target::splitRun};
  case KernelTarget::Avx2:
    return {avx2_target::fastAngleRun, avx2_target::splitRun};
  case KernelTarget::Sse2:
    return {sse2_target::fastAngleRun, sse2_target::splitRun};
  default:
    break;
  }
#endif
  return {scalar_target::fastAngleRun, scalar_target::splitRun};
}

// count rounded up to whole bands (whole vectors on every target).
std::size_t wholeBands(int count) {
  return (static_cast<std::size_t>(count) + kBandRows - 1) / kBandRows * kBandRows;
}

} // namespace

void hogFastAngles(const float *dy, const float *dx, int count, float *angle, bool *proven) {
  if (count < 1)
    return;
  const std::size_t n = wholeBands(count);
  auto values = allocateScratch<double>(4 * n, "HoG");
  double *dyLanes = values.get(), *dxLanes = dyLanes + n, *angles = dxLanes + n,
         *provenLanes = angles + n;
  std::fill(dyLanes, dyLanes + 2 * n, 0.0);
  std::copy(dy, dy + count, dyLanes);
  std::copy(dx, dx + count, dxLanes);
  activePixelKernels().angles(dyLanes, dxLanes, static_cast<std::ptrdiff_t>(n), angles,
                              provenLanes);
  for (int k = 0; k < count; ++k) {
    // The kernels leave to their callers the gradients that hogFastAngle
    // declines outright.
    const float ax = std::fabs(dx[k]), ay = std::fabs(dy[k]);
    proven[k] = provenLanes[k] == 1 && ax <= FLT_MAX && ay <= FLT_MAX && !(ax == 0 && ay == 0);
    if (proven[k])
      angle[k] = static_cast<float>(angles[k]);
  }
}

void hogOrientationSplits(const float *angle, int count, double binWidth, int nbins,
                          HogOrientationSplit *split) {
  if (count < 1)
    return;
  const std::size_t n = wholeBands(count);
  auto values = allocateScratch<double>(2 * n, "HoG");
  double *lowerBins = values.get(), *weights = lowerBins + n;
  std::fill(lowerBins, lowerBins + n, 0.0);
  std::copy(angle, angle + count, lowerBins);
  activePixelKernels().splits(lowerBins, weights, static_cast<std::ptrdiff_t>(n), binWidth, nbins);
  for (int k = 0; k < count; ++k) {
    const int lower = static_cast<int>(lowerBins[k]);
    split[k] = {lower, lower == nbins - 1 ? 0 : lower + 1, weights[k]};
  }
}
