// Routines that keep no state and write no shared file, each run in several
// threads at once on shared read-only input; every thread must get the
// single-threaded result. Meant for the thread sanitizer, which reports any
// data race among them; the workers do not touch GoogleTest, whose own
// library is not instrumented.
#include "clusterkit.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 20;

template <class Work> void expectSameInEveryThread(Work work) {
  const auto reference = work();
  std::vector<decltype(work())> results(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&results, &work, t] {
      for (int round = 0; round < kRounds; ++round)
        results[t] = work();
    });
  for (std::thread &thread : threads)
    thread.join();
  for (const auto &result : results)
    EXPECT_EQ(result, reference);
}

std::vector<double> sampleData(int count) {
  std::vector<double> data(count);
  for (int i = 0; i < count; ++i)
    data[i] = (i * 37 % 101) / 10.0 - 3.0;
  return data;
}

} // namespace

TEST(Threads, DistancesMediansAndScalingAgree) {
  const std::vector<double> data = sampleData(400);
  expectSameInEveryThread([&data] {
    std::vector<double> out(8);
    squaredDistancesToColumns(data.data(), data.data() + 40, 40, 8, out.data());
    out.push_back(vecDistance(data.data(), data.data() + 100, 100, 1));
    out.push_back(vecMedian(data.data(), 333));
    double offset = 0.0;
    int alignment = 0;
    out.push_back(lrShiftDist(data.data(), 30, data.data() + 50, 90, 1, offset, alignment));
    std::vector<double> distance(5), work(200);
    int best = 0;
    out.push_back(linearScaling(data.data(), 40, data.data() + 100, 120, 0.8, 1.2, 5, 2,
                                distance.data(), work.data(), best));
    return out;
  });
}

TEST(Threads, MixtureEvaluationAndCodebookTrainingAgree) {
  const std::vector<double> data = sampleData(2 * 60);
  expectSameInEveryThread([&data] {
    GMMPARAM gmm{};
    gmmAllocate(gmm, 2, 3);
    for (int j = 0; j < 3; ++j) {
      gmm.mean[2 * j] = j;
      gmm.covariance[j] = 1.0 + j;
      gmm.weight[j] = 1.0 / 3;
    }
    std::vector<double> result(60), mixProb(3 * 60);
    gmmEval(const_cast<double *>(data.data()), 2, 60, gmm, result.data(), mixProb.data());
    gmmFree(gmm);
    std::vector<double> center(data.begin(), data.begin() + 2 * 4), distVec(4), distortion(10);
    std::vector<int> member(60), count(4);
    vqKmeans(data.data(), 2, 60, center.data(), 4, member.data(), distVec.data(), count.data(),
             distortion.data(), 10, 0);
    result.insert(result.end(), center.begin(), center.end());
    return result;
  });
}

TEST(Threads, ReadersOfSharedFilesAgree) {
  TempDir dir;
  const std::string model =
      dir.write("model.gmm", "<comment> c\n<version> 1\n<gmmType> 1\n<name> n\n<dim> 2\n"
                             "<mixNum> 2\n<mean> 1 2 3 4\n<covariance> 1 2\n<weight> .5 .5\n"
                             "<gConst> 0 0\n");
  const std::string table = dir.write("table.txt", "1.5\n2.5\n-3\n");
  const std::string lines = dir.write("lines.txt", "# skip\nkey = value % note\na\tb\tc\n");
  expectSameInEveryThread([&] {
    std::vector<std::string> seen;
    GMMPARAM gmm{};
    gmmRead(model.c_str(), gmm);
    seen.push_back(std::to_string(gmm.mean[3] + gmm.covariance[1]));
    gmmFree(gmm);
    double values[3] = {0, 0, 0};
    readTable(table.c_str(), values, 3);
    seen.push_back(std::to_string(values[0] + values[1] + values[2]));
    std::vector<std::string> keys, pairs;
    keyValuePairRead(lines.c_str(), keys, pairs);
    seen.insert(seen.end(), pairs.begin(), pairs.end());
    for (const std::vector<std::string> &row : fileRead(lines.c_str()))
      seen.insert(seen.end(), row.begin(), row.end());
    return seen;
  });
}

TEST(Threads, StringRoutinesAgree) {
  const std::string text = "delta,alpha,,charlie,bravo,alphabet";
  expectSameInEveryThread([&text] {
    std::vector<std::string> tokens;
    string2token(text, ',', tokens, 0);
    std::sort(tokens.begin(), tokens.end());
    std::vector<int> index;
    strVecBinSearch(tokens, "alpha", index, 1);
    std::string replaced = text;
    stringReplace(replaced, "al", "AL");
    tokens.push_back(replaced);
    tokens.push_back(std::to_string(index.empty() ? -1 : index[0]));
    return tokens;
  });
}
