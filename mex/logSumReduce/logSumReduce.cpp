// value = logSumReduce(logValues): ln(sum(exp(logValues(:)))), summed in the
// log domain in storage order.
#include "clusterkit.h"
#include "gateway.h"

#include <climits>

namespace {

enum Input { LOG_VALUES };
enum Output { VALUE };

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs != 1 && nrhs != 2)
    fail("VECDIST requires one or two input arguments.");
  if (nlhs >= 2)
    fail("VECDIST requires one output argument.");
  if (!isFullRealDouble(prhs[LOG_VALUES]))
    fail("VECDIST requires a full real double array.");
  // The reduction counts in an int: a larger array would be summed in part.
  const std::size_t count = mxGetNumberOfElements(prhs[LOG_VALUES]);
  if (count > static_cast<std::size_t>(INT_MAX))
    fail("VECDIST accepts at most 2147483647 values.");
  plhs[VALUE] = createDoubleMatrix(1, 1);
  mxGetPr(plhs[VALUE])[0] = mixLogSum(mxGetPr(prhs[LOG_VALUES]), static_cast<int>(count));
}
