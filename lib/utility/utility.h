// utility: the numeric, console, file and text services of the clusterkit
// library. Plain free functions on plain arrays; no host types.
//
// Conventions: arrays are a pointer and an int length; matrices are flat and
// column-major unless a routine says otherwise; positions are 0-based.
// Distance-type codes: 1 = L1 norm (sum of absolute differences),
// 2 = L2 norm taken as the squared Euclidean distance.
//
// Failures: a routine that fails calls myExit(), which logs the message to
// /tmp/error.log and throws LibraryFailure. Host gateways catch that one type
// at their boundary and turn it into a host error; C++ callers may catch it
// like any std::runtime_error.
//
// Threads: the library starts none, and a C++ program may call it from
// several at once. Safe to call concurrently are the routines that keep no
// state and write no shared file: every routine of this unit and of the
// clusterkit unit (the readers included, also on one file) given arrays,
// strings and records that no other thread writes meanwhile. Not safe:
//   - failures: myExit rewrites the one fixed /tmp/error.log, so of two
//     threads failing at once the log keeps one message (each thread still
//     gets a LibraryFailure with its own);
//   - writers to one path from several threads (fileWrite, logVar,
//     strVecPrint with a file), and the readers of standard input (myGets,
//     pauseForInput);
//   - in a plug-in, anything that prints through the host (mexPrintf and the
//     macOS flavour's platformPrintf): the host's console belongs to its
//     calling thread;
//   - the recursive least-squares estimator of the rlsFit code, whose state is
//     process-wide and static (see rls.h).
// tests/threads runs the safe routines side by side under the thread
// sanitizer.
//
// This header gathers the unit's topic headers; each topic's routines live in
// the source file of the same name.
#ifndef CLUSTERKIT_UTILITY_H
#define CLUSTERKIT_UTILITY_H

#include "failure.h"
#include "console.h"
#include "numbers.h"
#include "column_major.h"
#include "distance.h"
#include "vector.h"
#include "linear_scaling.h"
#include "shift_distance.h"
#include "set_cover.h"
#include "files.h"
#include "text.h"
#include "string_vectors.h"
#include "row_matrix.h"

#endif // CLUSTERKIT_UTILITY_H
