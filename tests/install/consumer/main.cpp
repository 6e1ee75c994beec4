// Uses both library units and the stand-in host console through the
// installed headers; exits with 0 only when the results are right.
#include <clusterkit/clusterkit.h>
#include <clusterkit/host_standin.h>
#include <clusterkit/utility.h>

#include <cmath>
#include <cstdio>

int main() {
  double origin[2] = {0.0, 0.0};
  double point[2] = {3.0, 4.0};
  const double distance = squaredDistance(origin, point, 2);
  // Two probabilities of 0.5 held as logarithms add up to 1.
  double halves[2] = {std::log(0.5), std::log(0.5)};
  const double logSum = mixLogSum(halves, 2);
  mexPrintf("squaredDistance = %g, mixLogSum = %g\n", distance, logSum);
  bool hostErrorCaught = false;
  try {
    mexErrMsgTxt("stand-in host error");
  } catch (const HostError &) {
    hostErrorCaught = true;
  }
  const bool right = distance == 25.0 && std::fabs(logSum) < 1e-15 && hostErrorCaught;
  std::puts(right ? "consumer: right" : "consumer: WRONG");
  return right ? 0 : 1;
}
