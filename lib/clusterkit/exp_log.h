// exp and log over arrays, vectorised, with the bits of the C library's exp
// and log for every value.
#ifndef CLUSTERKIT_EXP_LOG_H
#define CLUSTERKIT_EXP_LOG_H

#include <cstddef>

// The evaluation here runs on the targets of four lanes or more (AVX2,
// AVX-512) against the GNU C library; elsewhere every value takes the
// library call, which costs less there.

/// y[i] = std::exp(x[i]) bit for bit for the count values of x (NaN, zeros,
/// infinities, overflow and underflow included; x may equal y). Values whose
/// result is not proven here come from std::exp itself; returns how many
/// did (about 2.5% of ordinary values, all of those outside [-708, 709]).
std::size_t expLikeLibrary(const double *x, std::size_t count, double *y);

/// y[i] = std::log(x[i]) bit for bit for the count values of x (x may equal
/// y). Values in (1, 2] are computed here, all others by std::log itself;
/// returns how many values took std::log (about 4.5% of those in (1, 2]).
std::size_t logLikeLibrary(const double *x, std::size_t count, double *y);

#endif // CLUSTERKIT_EXP_LOG_H
