// [nnIndex, nnDistance] = neighborQuery(mat1, mat2, method, nnCount, skipIndex)
// k-nearest-neighbour search of the columns of mat1 among those of mat2.
#include "gateway.h"
#include "neighbor_search.h"

#include <cmath>

namespace {

enum Input { MAT1, MAT2, METHOD, NN_COUNT, SKIP_INDEX };
enum Output { NN_INDEX, NN_DISTANCE };

constexpr std::size_t kMessageSize = 100;

void checkSkipIndex(const mxArray *skipIndex, int nnCount, int dataNum2) {
  requireFullRealDouble(skipIndex, "Input SKIPINDEX");
  const int skipLen = elementCount(skipIndex);
  if (skipLen >= dataNum2)
    failWithFormat(ErrorKind::sizeMismatch, kMessageSize,
                   "Error: The length of skipIndex (%d) is greater than or equal to dataNum2 (%d)!\n",
                   skipLen, dataNum2);
  if (static_cast<long long>(skipLen) + nnCount > dataNum2)
    failWithFormat(ErrorKind::sizeMismatch, kMessageSize,
                   "Error: The length of skipIndex (%d) plus nnCount (%d) is greater than dataNum2 (%d)!\n",
                   skipLen, nnCount, dataNum2);
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs < 2 || nrhs > 5 || nlhs > 2)
    failWithFormat(ErrorKind::usage, kMessageSize,
                   "Usage:\n\t[nnIndex, nnDistance]=%s(mat1, mat2, method, nnCount, skipIndex)\n",
                   mexFunctionName());
  const int method = nrhs >= 3 ? firstElementAsInt(prhs[METHOD], "METHOD") : 2;
  int nnCount = 1;
  if (nrhs >= 4) {
    nnCount = firstElementAsInt(prhs[NN_COUNT], "NNCOUNT");
    if (nnCount < 1)
      failWithFormat(ErrorKind::invalidInput, kMessageSize, "Error: nnCount (%d) is too small!\n", nnCount);
  }
  requireFullRealDouble(prhs[MAT1], "Input MAT1");
  requireFullRealDouble(prhs[MAT2], "Input MAT2");
  if (method != 1 && method != 2)
    fail(ErrorKind::invalidInput, "This function only supports L1 and L2 norm!");
  const int dim = rowCount(prhs[MAT1]);
  if (mxGetM(prhs[MAT2]) != mxGetM(prhs[MAT1]))
    fail(ErrorKind::sizeMismatch, "Matrix sizes mismatch!");
  const int dataNum1 = columnCount(prhs[MAT1]);
  const int dataNum2 = columnCount(prhs[MAT2]);

  requireOutputFits(2.0 * nnCount * dataNum1);
  plhs[NN_INDEX] = createDoubleMatrix(nnCount, dataNum1);
  mxArray *distances = createDoubleMatrix(nnCount, dataNum1);
  if (nlhs > 1)
    plhs[NN_DISTANCE] = distances;

  const bool withSkipList = nrhs == 5;
  if (withSkipList)
    checkSkipIndex(prhs[SKIP_INDEX], nnCount, dataNum2);

  double *nnIndex = mxGetPr(plhs[NN_INDEX]);
  double *nnDistance = mxGetPr(distances);
  if (dataNum1 > 0) {
    std::unique_ptr<int[]> excluded;
    int excludedCount = 0;
    if (withSkipList) {
      const int skipLen = elementCount(prhs[SKIP_INDEX]);
      excluded = allocateWork<int>(skipLen);
      excludedCount = skippedColumns(mxGetPr(prhs[SKIP_INDEX]), skipLen, dataNum2, excluded.get());
    }
    callLibrary([&] {
      nearestNeighborSearch(mxGetPr(prhs[MAT1]), dataNum1, mxGetPr(prhs[MAT2]), dataNum2, dim,
                            method, nnCount, excluded.get(), excludedCount, nnIndex, nnDistance);
    });
  }

  // Host numbering is 1-based (an empty slot, -1, becomes 0); L2 distances
  // were kept squared during the search.
  const long long total = static_cast<long long>(nnCount) * dataNum1;
  for (long long k = 0; k < total; ++k)
    nnIndex[k] += 1.0;
  if (method == 2)
    for (long long k = 0; k < total; ++k)
      nnDistance[k] = std::sqrt(nnDistance[k]);
  if (nlhs <= 1)
    mxDestroyArray(distances);
}
