// The mixture model record's storage and its text file: reading, printing,
// releasing.
#include "gmm_file.h"

#include "tagged_text.h"

#include <array>
#include <climits>
#include <cstdlib>

namespace {

// Frees the record's arrays when a read fails after allocating them, so a
// failed gmmRead leaves nothing behind in the host's process.
class ArraysReleasedOnFailure {
public:
  explicit ArraysReleasedOnFailure(GMMPARAM &gmm) : gmm_(gmm) {}
  ~ArraysReleasedOnFailure() {
    if (!kept_)
      gmmFree(gmm_);
  }
  ArraysReleasedOnFailure(const ArraysReleasedOnFailure &) = delete;
  ArraysReleasedOnFailure &operator=(const ArraysReleasedOnFailure &) = delete;
  void keep() { kept_ = true; }

private:
  GMMPARAM &gmm_;
  bool kept_ = false;
};

void clearRecord(GMMPARAM &gmm) {
  gmm.fileName[0] = gmm.comment[0] = gmm.version[0] = gmm.name[0] = '\0';
  gmm.gmmType = gmm.dim = gmm.mixNum = 0;
  gmm.mean = gmm.covariance = gmm.weight = gmm.gConst = nullptr;
}

double *zeroFilledDoubles(long long count) {
  return static_cast<double *>(std::calloc(count > 0 ? static_cast<std::size_t>(count) : 1,
                                           sizeof(double)));
}

// The three per-mixture lists of the file, in file order.
struct MixtureList {
  const char *tag;
  double *values;
};

std::array<MixtureList, 3> mixtureLists(GMMPARAM &gmm) {
  return {{{"<covariance>", gmm.covariance}, {"<weight>", gmm.weight}, {"<gConst>", gmm.gConst}}};
}

// Stops at the end of the file: the values not read stay as they were, and
// the next tag read reports what is missing.
void readValues(TaggedTextReader &reader, double *values, long long count) {
  for (long long i = 0; i < count; ++i)
    if (!reader.readDouble(values[i]))
      return;
}

// Every value of the file takes at least one byte, so a declared size beyond
// the bytes that follow is refused before its arrays are reserved (a short
// header could otherwise ask for gigabytes). Negative sizes and means beyond
// the int range are left to gmmAllocate, which refuses them with their own
// messages.
void refuseSizeBeyondFile(TaggedTextReader &reader, int dim, int mixNum) {
  if (dim < 0 || mixNum < 0 || static_cast<long long>(mixNum) * dim > INT_MAX)
    return;
  const long long values = static_cast<long long>(mixNum) * dim + 3LL * mixNum;
  const long bytesLeft = reader.bytesLeft();
  if (values > bytesLeft)
    failWithPrintedFormat("The file is too short for dim %d and mixNum %d (%lld values, %ld bytes "
                          "left)!\n",
                          dim, mixNum, values, bytesLeft);
}

void printValueLine(const double *values, long long count) {
  for (long long i = 0; i < count; ++i)
    platformPrintf("%e ", values[i]);
  platformPrintf("\n");
}

} // namespace

void gmmAllocate(GMMPARAM &gmm, int dim, int mixNum) {
  if (dim < 0 || mixNum < 0)
    failWithPrintedFormat(
        "Invalid mixture model size: dim %d, mixNum %d (neither may be negative)!\n", dim, mixNum);
  const long long meanCount = static_cast<long long>(dim) * mixNum;
  if (meanCount > INT_MAX)
    failWithPrintedFormat("Mixture model too large: dim %d times mixNum %d values!\n", dim, mixNum);
  double *mean = zeroFilledDoubles(meanCount);
  double *covariance = zeroFilledDoubles(mixNum);
  double *weight = zeroFilledDoubles(mixNum);
  double *gConst = zeroFilledDoubles(mixNum);
  if (!mean || !covariance || !weight || !gConst) {
    std::free(mean);
    std::free(covariance);
    std::free(weight);
    std::free(gConst);
    failWithPrintedFormat("Out of memory for a mixture model of dim %d and mixNum %d!\n", dim,
                          mixNum);
  }
  gmm.dim = dim;
  gmm.mixNum = mixNum;
  gmm.mean = mean;
  gmm.covariance = covariance;
  gmm.weight = weight;
  gmm.gConst = gConst;
}

void gmmRead(const char *fileName, GMMPARAM &gmm) {
  clearRecord(gmm);
  copyToField(gmm.fileName, fileName);
  TaggedTextReader reader(fileName);
  reader.requireTag("<comment>");
  reader.readRestOfLine(gmm.comment);
  reader.requireTag("<version>");
  reader.readToken(gmm.version);
  reader.requireTag("<gmmType>");
  reader.readInt(gmm.gmmType);
  reader.requireTag("<name>");
  reader.readToken(gmm.name);
  reader.requireTag("<dim>");
  reader.readInt(gmm.dim);
  reader.requireTag("<mixNum>");
  reader.readInt(gmm.mixNum);

  refuseSizeBeyondFile(reader, gmm.dim, gmm.mixNum);
  gmmAllocate(gmm, gmm.dim, gmm.mixNum);
  ArraysReleasedOnFailure guard(gmm);
  reader.requireTag("<mean>");
  readValues(reader, gmm.mean, static_cast<long long>(gmm.mixNum) * gmm.dim);
  for (const MixtureList &list : mixtureLists(gmm)) {
    reader.requireTag(list.tag);
    readValues(reader, list.values, gmm.mixNum);
  }
  guard.keep();
}

void gmmPrint(GMMPARAM &gmm) {
  platformPrintf("<comment>\n%s\n", gmm.comment);
  platformPrintf("<version>\n%s\n", gmm.version);
  platformPrintf("<gmmType>\n%d\n", gmm.gmmType);
  platformPrintf("<name>\n%s\n", gmm.name);
  platformPrintf("<dim>\n%d\n", gmm.dim);
  platformPrintf("<mixNum>\n%d\n", gmm.mixNum);
  platformPrintf("<mean>\n");
  for (int j = 0; j < gmm.mixNum; ++j)
    printValueLine(columnOf(gmm.mean, gmm.dim, j), gmm.dim);
  for (const MixtureList &list : mixtureLists(gmm)) {
    platformPrintf("%s\n", list.tag);
    printValueLine(list.values, gmm.mixNum);
  }
}

void gmmFree(GMMPARAM &gmm) {
  std::free(gmm.mean);
  std::free(gmm.covariance);
  std::free(gmm.weight);
  std::free(gmm.gConst);
  gmm.mean = gmm.covariance = gmm.weight = gmm.gConst = nullptr;
}
