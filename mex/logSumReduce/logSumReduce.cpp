// value = logSumReduce(logValues): ln(sum(exp(logValues(:)))), summed in the
// log domain in storage order.
#include "clusterkit.h"
#include "gateway.h"

namespace {

enum Input { LOG_VALUES };
enum Output { VALUE };

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs != 1 && nrhs != 2)
    fail(ErrorKind::usage, "VECDIST requires one or two input arguments.");
  if (nlhs >= 2)
    fail(ErrorKind::usage, "VECDIST requires one output argument.");
  requireFullRealDouble(prhs[LOG_VALUES], "Input X");
  // The reduction counts in an int: a larger array is refused, not summed
  // in part.
  const int count = elementCount(prhs[LOG_VALUES]);
  plhs[VALUE] = createDoubleMatrix(1, 1);
  mxGetPr(plhs[VALUE])[0] = mixLogSum(mxGetPr(prhs[LOG_VALUES]), count);
}
