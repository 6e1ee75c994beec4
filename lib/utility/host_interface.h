// The host's console and error exit, as the library calls them. In a plug-in
// they are the host's own functions, bound when the host loads it; programs
// without a host link the stand-in of lib/host_standin instead.
#ifndef CLUSTERKIT_HOST_INTERFACE_H
#define CLUSTERKIT_HOST_INTERFACE_H

extern "C" {
int mexPrintf(const char *format, ...);
void mexErrMsgTxt(const char *message);
}

#endif // CLUSTERKIT_HOST_INTERFACE_H
