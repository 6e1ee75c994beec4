// descriptor = gradientHistogram(image, params)
// HOG descriptor of a grey or colour image, as one column vector.
#include "gateway.h"
#include "hog.h"

#include <algorithm>

namespace {

enum Input { IMAGE, PARAMS };
enum Output { DESCRIPTOR };

struct ImageShape {
  int rows;
  int cols; // per plane
  bool grey;
};

ImageShape readImageShape(const mxArray *image) {
  // The class is checked before any data is read: mxGetPr hands out a
  // pointer for every class. A sparse array is not a plain block of doubles.
  if (mxGetClassID(image) != mxDOUBLE_CLASS || mxIsSparse(image))
    fail(ErrorKind::invalidInput, "Matrix is not of type double");
  ImageShape shape{rowCount(image), columnCount(image), true};
  if (mxGetNumberOfDimensions(image) == 3) {
    // Any other plane count would be read as three planes that straddle the
    // real ones.
    if (mxGetDimensions(image)[2] != 3)
      fail(ErrorKind::invalidInput, "A three-dimensional image must have 3 colour planes");
    shape.cols /= 3;
    shape.grey = false;
  }
  return shape;
}

// The parameter vector: its first elements as given, the defaults for the
// ones it lacks. Values that are not positive (or NaN) are refused in the
// order bins, cell size, block size, before truncation.
void readParams(const mxArray *input, double *params) {
  requireFullRealDouble(input, "Input PARAMS");
  std::copy(HOG_DEFAULT_PARAMS, HOG_DEFAULT_PARAMS + HOG_PARAM_COUNT, params);
  const std::size_t given = std::min<std::size_t>(mxGetNumberOfElements(input), HOG_PARAM_COUNT);
  std::copy(mxGetPr(input), mxGetPr(input) + given, params);
  // A bin count below 1 truncates to no bin at all.
  if (!(params[0] >= 1))
    fail(ErrorKind::invalidInput, "Number of orientation bins must be positive");
  if (!(params[1] > 0))
    fail(ErrorKind::invalidInput, "Cell size must be positive");
  if (!(params[2] > 0))
    fail(ErrorKind::invalidInput, "Block size must be positive");
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nlhs > 1)
    fail(ErrorKind::usage, "Too many output arguments");
  if (nrhs == 0)
    fail(ErrorKind::usage, "No Image -> No HoG");
  const ImageShape shape = readImageShape(prhs[IMAGE]);

  double params[HOG_PARAM_COUNT];
  if (nrhs >= 2)
    readParams(prhs[PARAMS], params);
  else
    std::copy(HOG_DEFAULT_PARAMS, HOG_DEFAULT_PARAMS + HOG_PARAM_COUNT, params);

  const HogLayout layout = hogLayout(params, shape.rows, shape.cols);
  if (layout.length < 0)
    fail(ErrorKind::tooLarge, "Image too large: the descriptor length exceeds 2147483647");
  // The cell histograms can outgrow the descriptor many times over (many
  // bins, large blocks); zero-filling more than the machine holds would get
  // the host killed.
  if (layout.length > 0)
    requireOutputFits(static_cast<double>(layout.length) + hogWorkElements(layout, shape.cols));
  plhs[DESCRIPTOR] = createDoubleMatrix(layout.length, 1);

  int dims[2] = {shape.rows, shape.cols};
  // The image is read in place (only its real part).
  callLibrary([&] {
    HoG(mxGetPr(prhs[IMAGE]), params, dims, mxGetPr(plhs[DESCRIPTOR]), shape.grey ? 1u : 0u);
  });
}
