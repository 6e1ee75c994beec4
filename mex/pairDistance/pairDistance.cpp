// distMat = pairDistance(mat1, mat2) or distMat = pairDistance(mat)
// Squared Euclidean distances between the columns of two matrices, or among
// the columns of one.
#include "gateway.h"
#include "pair_distance.h"

namespace {

enum Input { MAT1, MAT2 };
enum Output { DIST_MAT };

constexpr std::size_t kMessageSize = 100;

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nlhs > 1 || (nrhs != 1 && nrhs != 2))
    failWithFormat(ErrorKind::usage, kMessageSize, "Usage:\n\tdistMat=%s(mat1, mat2)\n\tdistMat=%s(mat)",
                   mexFunctionName(), mexFunctionName());
  const bool oneInput = nrhs == 1;
  // Only full real doubles are read; anything else would hand garbage (or a
  // host panic) to the distance sums.
  requireFullRealDouble(prhs[MAT1], oneInput ? "Input MAT" : "Input MAT1");
  if (!oneInput)
    requireFullRealDouble(prhs[MAT2], "Input MAT2");

  const mxArray *mat1 = prhs[MAT1];
  const mxArray *mat2 = oneInput ? prhs[MAT1] : prhs[MAT2];
  if (mxGetM(mat2) != mxGetM(mat1))
    fail(ErrorKind::sizeMismatch, "Matrix sizes mismatch!");
  const int dim = rowCount(mat1);
  const int dataNum1 = columnCount(mat1);
  const int dataNum2 = columnCount(mat2);

  // Every element is written below, so the host need not zero-fill 8 bytes
  // per pair first: the sums fill all of it, except the diagonal of the
  // one-input form, which is set to 0 here.
  plhs[DIST_MAT] = createUninitDoubleMatrix(dataNum1, dataNum2);
  double *distMat = mxGetPr(plhs[DIST_MAT]);
  if (oneInput)
    for (int i = 0; i < dataNum1; ++i)
      distMat[i + columnOffset(i, dataNum1)] = 0.0;
  // Only very long columns take work space, which can fail.
  callLibrary([&] {
    if (oneInput)
      pairDistanceSymmetric(mxGetPr(mat1), dataNum1, dim, distMat);
    else
      pairDistanceMatrix(mxGetPr(mat1), dataNum1, mxGetPr(mat2), dataNum2, dim, distMat);
  });
}
