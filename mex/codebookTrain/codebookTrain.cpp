// [center, membership, distortion] = codebookTrain(data, centerNum, plotOpt)
// k-means training of a codebook of centres from the columns of data.
#include "clusterkit.h"
#include "gateway.h"

#include <cstddef>
#include <cstring>

namespace {

enum Input { DATA, CENTER_NUM, PLOT_OPT };
enum Output { CENTER, MEMBERSHIP, DISTORTION };

constexpr std::size_t kUsageSize = 200;
constexpr std::size_t kMessageSize = 100;
// Passes of training at most; also the capacity of the distortion buffer.
constexpr int kMaxLoopCount = 100;

// What input 2 asks for: a number of centres (the codebook starts from the
// first columns of data) or a starting codebook of dim x centerNum.
struct CodebookRequest {
  int centerNum;
  const double *startingCodebook; // null when input 2 is a count
};

void checkData(const mxArray *data) {
  requireFullRealDouble(data, "Input DATA");
  const int dim = rowCount(data);
  const int dataNum = columnCount(data);
  if (dim == 0 || dataNum == 0)
    failWithFormat(ErrorKind::invalidInput, kMessageSize,
                   "Error: DATA (%d x %d) must have at least one row and one column!\n", dim,
                   dataNum);
}

// Reads input 2 after checking it, so that neither form can lead the training
// to read or write outside the arrays.
CodebookRequest readCodebookRequest(const mxArray *input, int dim, int dataNum) {
  requireFullRealDouble(input, "Input CENTERNUM");
  if (elementCount(input) == 1) {
    const int centerNum = truncateToInt(mxGetPr(input)[0]);
    if (centerNum < 1 || centerNum > dataNum)
      failWithFormat(ErrorKind::invalidInput, kMessageSize, "Error: centerNum (%d) must be between 1 and dataNum (%d)!\n",
                     centerNum, dataNum);
    return {centerNum, nullptr};
  }
  const int rows = rowCount(input);
  const int columns = columnCount(input);
  if (rows != dim || columns < 1)
    failWithFormat(ErrorKind::sizeMismatch, kMessageSize,
                   "Error: The starting codebook (%d x %d) must have dim (%d) rows and at least "
                   "one column!\n",
                   rows, columns, dim);
  return {columns, mxGetPr(input)};
}

int readPlotOpt(int nrhs, const mxArray *prhs[]) {
  if (nrhs <= PLOT_OPT)
    return 0;
  const mxArray *plotOpt = prhs[PLOT_OPT];
  if ((!mxIsNumeric(plotOpt) && !mxIsLogical(plotOpt)) || mxGetNumberOfElements(plotOpt) != 1)
    fail(ErrorKind::invalidInput, "Input PLOTOPT must be a numeric scalar.");
  return firstElementAsInt(plotOpt, "PLOTOPT");
}

// centerNum x dataNum: 1.0 at the row of each vector's centre, 0 elsewhere.
mxArray *membershipMatrix(const int *memberIndex, int dataNum, int centerNum) {
  mxArray *matrix = createDoubleMatrix(centerNum, dataNum);
  double *membership = mxGetPr(matrix);
  for (int j = 0; j < dataNum; ++j)
    membership[memberIndex[j] + columnOffset(j, centerNum)] = 1.0;
  return matrix;
}

mxArray *distortionColumn(const double *distortion, int passes) {
  mxArray *matrix = createDoubleMatrix(passes, 1);
  std::memcpy(mxGetPr(matrix), distortion, sizeof(double) * static_cast<std::size_t>(passes));
  return matrix;
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs < 2)
    failWithFormat(ErrorKind::usage, kUsageSize,
                   "%s requires 2 or 3 input arguments.\nUsage: center = %s(data, centerNum, "
                   "plotOpt)",
                   mexFunctionName(), mexFunctionName());
  checkData(prhs[DATA]);
  const int dim = rowCount(prhs[DATA]);
  const int dataNum = columnCount(prhs[DATA]);
  const double *data = mxGetPr(prhs[DATA]);
  const CodebookRequest request = readCodebookRequest(prhs[CENTER_NUM], dim, dataNum);
  const int centerNum = request.centerNum;
  const int plotOpt = readPlotOpt(nrhs, prhs);
  // A starting codebook of many columns asks for a membership matrix of
  // centerNum x dataNum: refuse it before the training, not after.
  if (nlhs > 1)
    requireOutputFits(static_cast<double>(centerNum) * dataNum);

  // The training runs directly in the storage of output 1.
  plhs[CENTER] = createDoubleMatrix(dim, centerNum);
  double *center = mxGetPr(plhs[CENTER]);
  auto memberIndex = allocateWork<int>(dataNum);
  auto distVec = allocateWork<double>(centerNum);
  auto memberCount = allocateWork<int>(centerNum);
  auto distortion = allocateWork<double>(kMaxLoopCount);

  int passes = 0;
  callLibrary([&] {
    if (request.startingCodebook)
      std::memcpy(center, request.startingCodebook,
                  sizeof(double) * static_cast<std::size_t>(dim) * centerNum);
    else
      initVqCenter(data, dim, dataNum, center, centerNum);
    passes = vqKmeans(data, dim, dataNum, center, centerNum, memberIndex.get(), distVec.get(),
                      memberCount.get(), distortion.get(), kMaxLoopCount, plotOpt);
  });

  if (nlhs > 1)
    plhs[MEMBERSHIP] = membershipMatrix(memberIndex.get(), dataNum, centerNum);
  if (nlhs > 2)
    plhs[DISTORTION] = distortionColumn(distortion.get(), passes);
}
