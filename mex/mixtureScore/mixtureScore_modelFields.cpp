#include "mixtureScore_modelFields.h"

void failUsage(const char *signature, const char *note) {
  const char *name = mexFunctionName();
  failWithFormat(ErrorKind::usage, MODEL_MESSAGE_SIZE, "%s requires 2 input arguments.\nUsage: logProb = %s%s%s",
                 name, name, signature, note);
}

void requireDataMatrix(const mxArray *data) { requireFullRealDouble(data, "Input DATA"); }

void requireModel(const mxArray *model, const char *modelName) {
  if (!mxIsStruct(model))
    failWithFormat(ErrorKind::invalidInput, MODEL_MESSAGE_SIZE, "Input %s must be a structure.", modelName);
  if (mxGetNumberOfElements(model) == 0)
    failWithFormat(ErrorKind::invalidInput, MODEL_MESSAGE_SIZE, "Input %s must not be empty.", modelName);
}

const mxArray *requireField(const mxArray *model, int index, const char *label,
                            const char *field, int minCount) {
  const mxArray *value = mxGetField(model, index, field);
  if (value == nullptr)
    failWithFormat(ErrorKind::invalidInput, MODEL_MESSAGE_SIZE, "%s has no field \"%s\".", label, field);
  if (!isFullRealDouble(value)) // the field's name is formatted only for the message
    requireFullRealDouble(value,
                          formatMessage(MODEL_MESSAGE_SIZE, "Field %s.%s", label, field).c_str());
  const std::size_t count = mxGetNumberOfElements(value);
  if (minCount <= 0 || count >= static_cast<std::size_t>(minCount))
    return value;
  if (minCount == 1)
    failWithFormat(ErrorKind::invalidInput, MODEL_MESSAGE_SIZE, "Field %s.%s must not be empty.", label, field);
  failWithFormat(ErrorKind::sizeMismatch, MODEL_MESSAGE_SIZE,
                   "Field %s.%s holds %zu values; it needs at least %d, one per row of data.",
                   label, field, count, minCount);
}
