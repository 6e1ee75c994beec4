// The text readers on arbitrary file content: every fileRead overload,
// keyValuePairRead, getLineInFile, getFileLineCount and getFileSize. The
// first input byte is the comment character and the line number; the rest
// is the file.
#include "fuzz_support.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

void readWhole(const std::string &path, std::size_t size) {
  long len = -1;
  char *bytes = fileRead(path.c_str(), len);
  requireProperty(len == static_cast<long>(size), "fileRead gives the file's size");
  std::free(bytes);
  std::string text;
  fileRead(path.c_str(), text);
  requireProperty(text.size() <= size && text.find('\0') == std::string::npos,
                  "fileRead into a string stops at the first zero byte");
  requireProperty(getFileSize(path.c_str()) == static_cast<long>(size), "getFileSize");
}

void readNumbers(const std::string &path) {
  std::vector<int> ints;
  fileRead(path.c_str(), ints);
  std::vector<float> floats;
  fileRead(path.c_str(), floats);
}

void readLines(const std::string &path, char commentChar, int lineNum) {
  std::vector<std::string> lines;
  fileRead(path.c_str(), lines, commentChar);
  for (const std::string &line : lines)
    requireProperty(!line.empty() && line[0] != commentChar, "kept lines are not empty or comments");
  const std::vector<std::vector<std::string>> table = fileRead(path.c_str());
  std::vector<std::string> keys;
  std::vector<std::string> values;
  keyValuePairRead(path.c_str(), keys, values);
  requireProperty(keys.size() == values.size(), "one value per key");
  requireProperty(getFileLineCount(path.c_str()) >= 0, "line count of at least 0");
  std::vector<char> buffer(999, 'x');
  buffer.back() = '\0';
  getLineInFile(path.c_str(), lineNum, buffer.data());
  requireProperty(std::memchr(buffer.data(), '\0', buffer.size()) != nullptr,
                  "getLineInFile leaves a terminated line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::uint8_t choice = takeByte(data, size);
  const std::string path = writeInputFile(data, size, "txt");
  readOrRefuse([&] {
    readWhole(path, size);
    readNumbers(path);
    readLines(path, static_cast<char>(choice), choice % 8 - 1);
  });
  return 0;
}
