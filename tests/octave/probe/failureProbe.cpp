// failureProbe(mode, text): a test-only plug-in that drives the gateways'
// failure boundary.
//   mode 1: the library fails with text (myExit inside callLibrary)
//   mode 2: the host's error exit is called inside callLibrary
//   mode 3: the library fails through a formatted message
//   mode 4: prints text through platformPrintf and returns it
//   otherwise: returns text unchanged
#include "gateway.h"

#include <string>

void mexFunction(int nlhs, mxArray *plhs[], int nrhs, const mxArray *prhs[]) {
  (void)nlhs;
  if (nrhs != 2 || !mxIsChar(prhs[1]))
    fail(ErrorKind::usage, "usage: failureProbe(mode, text)");
  const int mode = firstElementAsInt(prhs[0], "MODE");
  char *text = mxArrayToString(prhs[1]);
  const std::string message(text);
  mxFree(text);
  callLibrary([&] {
    if (mode == 1)
      myExit(message.c_str());
    if (mode == 2)
      mexErrMsgTxt(message.c_str());
    if (mode == 3)
      myExitFormatted("%s (line %d of %s)", message.c_str(), 7, UTILITY_SOURCE_PATH);
    if (mode == 4)
      platformPrintf("%s", message.c_str());
  });
  plhs[0] = mxCreateString(message.c_str());
}
