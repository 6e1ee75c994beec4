// logProb = mixtureScore(data, gPrm), single-Gaussian variant: the log-density
// of each column of data under the Gaussian of gPrm(1), whose "sigma" holds
// one variance shared by all dimensions or one variance per dimension.
#include "mixtureScore_modelFields.h"
#include "single_gaussian.h"

namespace {

enum Input { DATA, MODEL };
enum Output { LOG_PROB };

const char *const kSignature = "(data, gPrm)";
const char *const kNote =
    "\n\t(Note that gPrm.sigma must be a scalar or vector! Full covariance is not supported yet.)";

} // namespace

void mexFunction(int /*nlhs*/, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs < 2)
    failUsage(kSignature, kNote);
  requireDataMatrix(prhs[DATA]);
  requireModel(prhs[MODEL], "gPrm");
  const int dim = rowCount(prhs[DATA]);
  const int dataNum = columnCount(prhs[DATA]);
  const mxArray *mu = requireField(prhs[MODEL], 0, "gPrm", "mu", dim);
  const mxArray *sigma = requireField(prhs[MODEL], 0, "gPrm", "sigma", 1);

  plhs[LOG_PROB] = createDoubleMatrix(1, dataNum);
  const int sigmaCount = elementCount(sigma);
  // The variance line shows dim values, or all of "sigma" when it has fewer.
  vecPrint(mxGetPr(mu), dim);
  vecPrint(mxGetPr(sigma), sigmaCount < dim ? sigmaCount : dim);

  const int covarianceType = covarianceTypeOf(sigmaCount, dim);
  if (covarianceType == 3)
    fail(ErrorKind::invalidInput, "Full covariance matrix is not supported!");
  // Any other count would leave every log-density at 0, a plausible-looking
  // but wrong result: refuse it instead.
  if (covarianceType == 0)
    failWithFormat(ErrorKind::sizeMismatch, MODEL_MESSAGE_SIZE,
                   "Field gPrm.sigma holds %d values; it needs 1 (shared by all dimensions) or %d "
                   "(one per dimension).",
                   sigmaCount, dim);
  scoreSingleGaussian(mxGetPr(prhs[DATA]), dim, dataNum, mxGetPr(mu), mxGetPr(sigma),
                      covarianceType, mxGetPr(plhs[LOG_PROB]));
}
