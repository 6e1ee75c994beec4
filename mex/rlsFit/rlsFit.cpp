// coef = rlsFit(x, y, order)
// Polynomial fit by recursive least squares; consecutive calls continue one
// estimation while the plug-in stays loaded.
#include "gateway.h"
#include "rls.h"

#include <cmath>

namespace {

enum Input { X, Y, ORDER };
enum Output { COEF };

constexpr std::size_t kMessageSize = 1000;

// The estimator keeps two (order+1) x (order+1) matrices and updates them
// at every point: this bound keeps them within a few megabytes, far below
// what could exhaust the host, and well beyond any degree that double
// precision can fit.
constexpr int kMaxOrder = 1000;

int checkedOrder(const mxArray *orderArray) {
  const double value = firstElement(orderArray, "ORDER");
  if (!std::isfinite(value))
    fail(ErrorKind::invalidInput, "Input ORDER must be a finite number.");
  const int order = truncateToInt(value);
  if (order < 0)
    failWithFormat(ErrorKind::invalidInput, kMessageSize, "Error: order (%d) must not be negative!", order);
  if (order > kMaxOrder)
    failWithFormat(ErrorKind::invalidInput, kMessageSize, "Error: order (%d) is larger than %d!", order, kMaxOrder);
  return order;
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs != 3 || nlhs > 1)
    failWithFormat(ErrorKind::usage, kMessageSize, "Usage:\n\tcoef=%s(x, y, order)", mexFunctionName());
  requireFullRealDouble(prhs[X], "Input X");
  requireFullRealDouble(prhs[Y], "Input Y");
  const int order = checkedOrder(prhs[ORDER]);
  const int dataNum = elementCount(prhs[X]);
  const int yCount = elementCount(prhs[Y]);
  if (yCount < dataNum)
    failWithFormat(ErrorKind::sizeMismatch, kMessageSize, "Error: y has fewer elements (%d) than x (%d)!", yCount, dataNum);

  // The row belongs to the host even when no output was asked for.
  plhs[COEF] = createDoubleMatrix(1, order + 1);
  double *coef = mxGetPr(plhs[COEF]);
  const double *x = mxGetPr(prhs[X]);
  const double *y = mxGetPr(prhs[Y]);
  callLibrary([&] { polyfit(x, dataNum, y, order, coef); });
}
