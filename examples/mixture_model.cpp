// Reads the example mixture model of docs/, prints it in its file format and
// scores a few points under it; then shows how a malformed model file fails.
// Run from the examples directory.
#include "clusterkit.h"

#include <cstdio>
#include <vector>

int main() {
  GMMPARAM gmm;
  gmmRead("../docs/example_model.gmm", gmm);
  gmmPrint(gmm);

  // Three points, one per column of a dim x 3 matrix.
  double points[] = {0.2, -0.1, 3.8, 0.3, 10.0, 10.0};
  const int pointCount = 3;
  std::vector<double> logProb(pointCount);
  std::vector<double> mixProb(static_cast<std::size_t>(gmm.mixNum) * pointCount);
  gmmEval(points, gmm.dim, pointCount, gmm, logProb.data(), mixProb.data());
  for (int i = 0; i < pointCount; ++i)
    std::printf("point (%g, %g): log-likelihood %.4f\n", points[2 * i], points[2 * i + 1],
                logProb[i]);
  gmmFree(gmm);

  // A file whose tags are not in order fails with the expected tag.
  const char *badPath = "/tmp/clusterkit_example_bad.gmm";
  if (std::FILE *bad = std::fopen(badPath, "w")) {
    std::fputs("<comment> no version follows\n<name> x\n", bad);
    std::fclose(bad);
  }
  try {
    gmmRead(badPath, gmm);
    return 1;
  } catch (const LibraryFailure &failure) {
    std::printf("reading a malformed file failed: %s\n", failure.what());
  }
  std::remove(badPath);
  return 0;
}
