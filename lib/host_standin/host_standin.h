// Stand-in host console for programs that run the library without a host.
#ifndef CLUSTERKIT_HOST_STANDIN_H
#define CLUSTERKIT_HOST_STANDIN_H

#include <stdexcept>

/// What the stand-in's mexErrMsgTxt throws: the error a host would show.
class HostError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

extern "C" {
int mexPrintf(const char *format, ...);
void mexErrMsgTxt(const char *message);
}

#endif // CLUSTERKIT_HOST_STANDIN_H
