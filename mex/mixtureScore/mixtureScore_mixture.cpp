// [logProb, mixProb] = mixtureScore(data, gmmParam), mixture variant: the
// log-likelihood of each column of data under the Gaussian mixture whose
// components are the elements of gmmParam (fields "mu", "sigma", "w"), and
// optionally the unweighted density of each component at each column.
#include "clusterkit.h"
#include "mixtureScore_modelFields.h"
#include "single_gaussian.h"

#include <cstring>

namespace {

enum Input { DATA, MODEL };
enum Output { LOG_PROB, MIX_PROB };

// Releases the record's arrays however the call ends.
class ModelArrays {
public:
  ModelArrays() { std::memset(&gmm, 0, sizeof gmm); }
  ~ModelArrays() { gmmFree(gmm); }
  ModelArrays(const ModelArrays &) = delete;
  ModelArrays &operator=(const ModelArrays &) = delete;
  GMMPARAM gmm;
};

// Refuses anything in gmmParam that would be read out of bounds; returns
// the element count of the last element's "sigma", which sets gmmType.
int checkComponents(const mxArray *model, int mixNum, int dim) {
  int sigmaCount = 0;
  for (int i = 0; i < mixNum; ++i) {
    const std::string label = formatMessage(MODEL_MESSAGE_SIZE, "gmmParam(%d)", i + 1);
    requireField(model, i, label.c_str(), "mu", dim);
    sigmaCount = elementCount(requireField(model, i, label.c_str(), "sigma", 1));
    requireField(model, i, label.c_str(), "w", 1);
  }
  return sigmaCount;
}

void copyComponents(const mxArray *model, GMMPARAM &gmm) {
  for (int i = 0; i < gmm.mixNum; ++i) {
    const double *mu = mxGetPr(mxGetField(model, i, "mu"));
    if (gmm.dim > 0) // an empty "mu" may have no data block at all
      std::memcpy(columnOf(gmm.mean, gmm.dim, i), mu,
                  static_cast<std::size_t>(gmm.dim) * sizeof(double));
    gmm.covariance[i] = mxGetPr(mxGetField(model, i, "sigma"))[0];
    gmm.weight[i] = mxGetPr(mxGetField(model, i, "w"))[0];
  }
}

} // namespace

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  if (nrhs < 2)
    failUsage("(data, gmmParam)", "");
  requireDataMatrix(prhs[DATA]);
  requireModel(prhs[MODEL], "gmmParam");
  const int dim = rowCount(prhs[DATA]);
  const int dataNum = columnCount(prhs[DATA]);
  const int mixNum = columnCount(prhs[MODEL]);
  const int gmmType = covarianceTypeOf(checkComponents(prhs[MODEL], mixNum, dim), dim);
  if (gmmType == 0)
    fail(ErrorKind::invalidInput, "Unknown covariance type!");

  // The per-mixture values count as if they were held beside output 1 even
  // when output 2 is not asked for: a call too large for that would also
  // run for hours.
  requireOutputFits((1.0 + mixNum) * dataNum);
  plhs[LOG_PROB] = createDoubleMatrix(1, dataNum);
  // Without output 2 the densities are not formed at all (gmmEval takes a
  // null mixProb): no scratch block and no exp per mixture and column.
  double *mixProb = nullptr;
  if (nlhs > 1) {
    plhs[MIX_PROB] = createDoubleMatrix(mixNum, dataNum);
    mixProb = mxGetPr(plhs[MIX_PROB]);
  }

  ModelArrays model;
  GMMPARAM &gmm = model.gmm;
  callLibrary([&] { gmmAllocate(gmm, dim, mixNum); });
  copyComponents(prhs[MODEL], gmm);
  std::strcpy(gmm.comment, "Converted from MATLAB");
  std::strcpy(gmm.version, "0.0.0");
  std::strcpy(gmm.name, "This is the name of the GMM");
  gmm.gmmType = gmmType;

  gmmPrint(gmm);
  platformPrintf("Here0\n");
  double *logProb = mxGetPr(plhs[LOG_PROB]);
  callLibrary([&] { gmmEval(mxGetPr(prhs[DATA]), dim, dataNum, gmm, logProb, mixProb); });
  platformPrintf("Here1\n");
  gmmFree(gmm);
  platformPrintf("Here2\n");
}
