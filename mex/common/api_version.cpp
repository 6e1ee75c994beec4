// The host interface version that macOS builds declare: release 2016b,
// array interface 7.0.
#include "mex.h"

extern "C" __attribute__((visibility("default"))) void
mexfilerequiredapiversion(unsigned int *release, unsigned int *apiVersion) {
  *release = 0x2016B;
  *apiVersion = 0x07000000;
}
