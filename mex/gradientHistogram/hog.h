// Histogram-of-oriented-gradients (HOG) descriptor of a grey or colour image.
//
// Per-pixel gradients vote, with linear interpolation in orientation and in
// both image directions, into a grid of cell histograms. Overlapping square
// blocks of cells are normalised by their L2 norm, clipped, and normalised
// again; the blocks are written one after another into one flat vector.
//
// Parameter vector (five doubles): number of orientation bins, cell size in
// pixels (need not be whole), block size in cells, orientation mode (1 =
// signed over the full turn, anything else unsigned over a half turn), clip
// threshold. Bin count, block size and mode are truncated toward zero.
#ifndef CLUSTERKIT_HOG_H
#define CLUSTERKIT_HOG_H

/// Number of doubles HoG reads from its parameter vector.
constexpr int HOG_PARAM_COUNT = 5;

/// The plug-in's defaults: 9 bins, cell size 8, block size 2, unsigned
/// orientation, clip threshold 0.2.
constexpr double HOG_DEFAULT_PARAMS[HOG_PARAM_COUNT] = {9, 8, 2, 0, 0.2};

/// Single-precision ranges of orientation: half a turn (unsigned mode) and
/// a full turn (signed mode).
constexpr float HOG_HALF_TURN = 3.1415927f;
constexpr float HOG_FULL_TURN = 6.2831855f;

/// Sizes that follow from the parameters and the size of one image plane.
struct HogLayout {
  int nbins = 0;       // orientation bins
  double cell = 0;     // cell size in pixels
  int blockSize = 0;   // block side in cells
  int gridRows = 0;    // GY: image cell rows plus a border row on each side
  int gridCols = 0;    // GX
  int blockRows = 0;   // NBY = GY - blockSize - 1 block positions down
  int blockCols = 0;   // NBX
  /// nbins * blockSize^2 * NBY * NBX; 0 when nothing is written (fewer than
  /// one block position either way, or no bin, cell or block to work with);
  /// -1 when the length or the grid does not fit a 32-bit int.
  long long length = 0;
};

/// Works out the grid, the block positions and the descriptor length for an
/// image plane of rows x cols pixels. The grid sizes are only meaningful when
/// length is positive.
HogLayout hogLayout(const double *params, int rows, int cols);

/// Doubles of working storage (the cell histograms of blockSize + 1 grid
/// rows, a lane-wise copy of a group of blocks, the buffers of one band of
/// eight image rows of cols pixels, the band rearranged for the votes where
/// the cell size is whole, and the column splits) that HoG takes for a
/// layout of positive length, or a little more.
double hogWorkElements(const HogLayout &layout, int cols);

/// Gradient of one pixel: magnitude and angle atan2(dy, dx), in (-pi, pi].
struct HogGradient {
  float magnitude;
  float angle;
};

/// Gradient at pixel (y, x) of an image of planes x rows x cols (column-major
/// planes one after another). dx = right minus left neighbour, dy = upper
/// minus lower neighbour; a neighbour outside the image counts as 0, and a
/// direction with a single pixel has no gradient component. Of several
/// planes the one of strictly greatest magnitude wins, the earlier on ties.
HogGradient hogGradient(const double *image, int rows, int cols, int planes, int y, int x);

/// atan2(dy, dx) rounded to single precision: the float that the library's
/// double atan2 of the widened components rounds to, bit for bit, including
/// signed zeros, infinities and NaN. Most gradients take hogFastAngle; the
/// rest go to the library.
float hogAngle(float dy, float dx);

/// The fast evaluation behind hogAngle. Returns true and sets angle when it
/// can prove that angle is what the library gives; returns false, leaving
/// angle alone, when both components are zero, either is infinite or NaN,
/// or the double result lies too close to a single-precision rounding
/// boundary to tell (about one gradient in two million).
bool hogFastAngle(float dy, float dx, float &angle);

/// hogFastAngle of count gradients at once through the vector kernels of the
/// active target, whose estimate of the octant differs from the scalar
/// code's: proven[k] tells whether angle[k] was set (left alone otherwise).
void hogFastAngles(const float *dy, const float *dx, int count, float *angle, bool *proven);

/// Split of an angle in [0, range] between two neighbouring bins, which wrap
/// round: lowerBin gets 1 - upperWeight, upperBin gets upperWeight.
struct HogOrientationSplit {
  int lowerBin;
  int upperBin;
  double upperWeight;
};

/// Orientation split of angle (already folded into [0, range]) with bin
/// width binWidth.
HogOrientationSplit hogOrientationSplit(float angle, double binWidth, int nbins);

/// hogOrientationSplit of count angles at once (into split[0 .. count - 1])
/// through the vector kernels of the active target, for nbins up to 2^22.
void hogOrientationSplits(const float *angle, int count, double binWidth, int nbins,
                          HogOrientationSplit *split);

/// Split of one pixel coordinate between grid line `first` (weight 1 - weight)
/// and first + 1 (weight). A cell size that is not whole can give a weight
/// above 1 and so a negative complement.
struct HogSpatialSplit {
  int first;
  double weight;
};

/// Spatial split of 0-based pixel coordinate p for the given cell size.
HogSpatialSplit hogSpatialSplit(int p, double cell);

/// The HOG descriptor of image (rows x cols per plane, dims = {rows, cols};
/// one plane when grey is non-zero, three otherwise) into descriptor, which
/// must hold hogLayout(params, rows, cols).length doubles. The block at grid
/// position (by, bx) (both from 1) starts at element
/// ((bx - 1) * NBY + (by - 1)) * bs * bs * nbins; inside a block the cells
/// run row by row, each cell's bins together. Only the first five
/// parameters are read; they are not checked. Nothing is written when the
/// layout's length is not positive. Pixels whose gradient is not a number
/// cast no vote. Fails through myExit when the working storage cannot be had.
void HoG(double *image, double *params, int *dims, double *descriptor, unsigned int grey);

#endif // CLUSTERKIT_HOG_H
