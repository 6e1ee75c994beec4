// clusterkit: vector quantisation, Gaussian densities and mixtures, and the
// text files of mixture models and speaker features. Plain free functions on
// plain arrays; no host types. Matrices are flat and column-major: a set of
// dataNum vectors of dimension dim holds vector i at data[i*dim].
//
// Console text of this unit goes through platformPrintf(): the host window
// in macOS builds, standard output in Linux builds.
//
// Threads: no routine here keeps state; which may run concurrently is said
// in utility.h (all of them, on data no other thread writes, except that
// failures share the one error log and the macOS flavour prints through the
// host).
//
// This header gathers the unit's topic headers; each topic's routines live in
// the source file of the same name.
#ifndef CLUSTERKIT_CLUSTERKIT_H
#define CLUSTERKIT_CLUSTERKIT_H

#include "utility.h"

#include "gmm.h"
#include "gmm_file.h"
#include "speaker_file.h"
#include "vq.h"

#endif // CLUSTERKIT_CLUSTERKIT_H
