// Checks of the mixtureScore inputs shared by both variants: the usage
// message and the fields of the model structure, each refused with a clear
// message before any of its data is read.
#ifndef CLUSTERKIT_MIXTURESCORE_MODELFIELDS_H
#define CLUSTERKIT_MIXTURESCORE_MODELFIELDS_H

#include "gateway.h"

/// Size of the buffer the usage and field messages are formatted into.
constexpr std::size_t MODEL_MESSAGE_SIZE = 200;

/// Ends the call with "<name> requires 2 input arguments.\nUsage: logProb =
/// <name><signature><note>", name being the name the plug-in was called by.
[[noreturn]] void failUsage(const char *signature, const char *note);

/// Refuses data that is not a full real double matrix ("Input DATA must be a
/// double real matrix.").
void requireDataMatrix(const mxArray *data);

/// Refuses a model that is not a structure or has no element.
void requireModel(const mxArray *model, const char *modelName);

/// Field field of element index of model, which must be present and a full
/// real double array with at least minCount values. label names the element
/// in messages ("gPrm", "gmmParam(2)").
const mxArray *requireField(const mxArray *model, int index, const char *label,
                            const char *field, int minCount);

#endif // CLUSTERKIT_MIXTURESCORE_MODELFIELDS_H
