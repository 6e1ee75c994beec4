// File routines of the utility unit. Every open goes through openFile, so a
// file that cannot be opened always ends the call through myExit. Every
// routine opens and closes its own file.
#include "files.h"

#include "failure.h"
#include "host_interface.h"
#include "text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>

namespace {

constexpr int kLineCountBufferSize = 1000;
constexpr int kLineInFileReadSize = 999;
constexpr int kStringLineBufferSize = 100000;

// The text before the first '%' (the rest of a key-value line is a comment).
std::string withoutComment(const std::string &line) { return line.substr(0, line.find('%')); }

// Closes the file when the reading or writing routine leaves, also when a
// failure unwinds through it.
class OpenedFile {
public:
  OpenedFile(const char *path, const char *mode) : file_(openFile(path, mode)) {}
  ~OpenedFile() { std::fclose(file_); }
  OpenedFile(const OpenedFile &) = delete;
  OpenedFile &operator=(const OpenedFile &) = delete;
  FILE *get() const { return file_; }

private:
  FILE *file_;
};

// Reads every value that parses with format ("%d" or "%f") into vec.
template <class T> void readParsedValues(const char *path, const char *format, std::vector<T> &vec) {
  OpenedFile file(path, "r");
  vec.clear();
  T value;
  while (std::fscanf(file.get(), format, &value) == 1)
    vec.push_back(value);
}

template <class T> void writeOneValue(const char *path, const char *mode, const char *format, T value) {
  OpenedFile file(path, mode);
  std::fprintf(file.get(), format, value);
}

// Values pass through a small staging block: fread into the table itself
// would leave the bytes of a trailing partial value in the element after the
// last whole one.
constexpr int kBinaryStagingValues = 512;

template <class T> void readBinaryValues(const char *path, T *table, int count) {
  OpenedFile file(path, "rb");
  T staging[kBinaryStagingValues];
  // A count below 1 reads nothing.
  for (int done = 0; done < count;) {
    const std::size_t wanted = static_cast<std::size_t>(std::min(count - done, kBinaryStagingValues));
    const std::size_t whole = std::fread(staging, sizeof(T), wanted, file.get());
    std::memcpy(table + done, staging, whole * sizeof(T));
    if (whole < wanted)
      return;
    done += static_cast<int>(whole);
  }
}

template <class T> void readTextValues(const char *path, const char *format, T *table, int count) {
  OpenedFile file(path, "r");
  for (int i = 0; i < count; ++i)
    std::fscanf(file.get(), format, &table[i]);
}

enum class TableForm { binary, text, unknown };

TableForm tableFormOf(const char *path) {
  const char *extension = getExtName(path);
  if (std::strcmp(extension, "bin") == 0 || std::strcmp(extension, "BIN") == 0)
    return TableForm::binary;
  if (std::strcmp(extension, "txt") == 0 || std::strcmp(extension, "TXT") == 0)
    return TableForm::text;
  return TableForm::unknown;
}

[[noreturn]] void failUnknownTableExtension(const char *path, int line) {
  myExitFormatted("Error in reading %s: The only allowed extensions are \"txt\" and \"bin\" "
                  "(line %d of %s)",
                  path, line, UTILITY_SOURCE_PATH);
}

template <class T> void readTableByExtension(const char *path, T *table, int count) {
  switch (tableFormOf(path)) {
  case TableForm::binary:
    readBinTable(path, table, count);
    return;
  case TableForm::text:
    readTxtTable(path, table, count);
    return;
  case TableForm::unknown:
    break;
  }
  failUnknownTableExtension(path, __LINE__);
}

} // namespace

FILE *openFile(const char *path, const char *mode) {
  // fopen of a null path is undefined; fail like any other unopenable path.
  FILE *file = path != nullptr ? std::fopen(path, mode) : nullptr;
  if (file == nullptr)
    myExitFormatted("Cannot open file %s (line %d of %s)", path != nullptr ? path : "", __LINE__,
                    UTILITY_SOURCE_PATH);
  return file;
}

int fileExist(const char *path) {
  if (path == nullptr)
    return 0;
  FILE *file = std::fopen(path, "r");
  if (file == nullptr)
    return 0;
  std::fclose(file);
  return 1;
}

long getFileSize(FILE *fp) {
  const long position = std::ftell(fp);
  std::fseek(fp, 0, SEEK_END);
  const long size = std::ftell(fp);
  std::fseek(fp, position, SEEK_SET);
  return size;
}

long getFileSize(const char *path) {
  OpenedFile file(path, "r");
  return getFileSize(file.get());
}

int getFileLineCount(const char *path) {
  OpenedFile file(path, "r");
  char buffer[kLineCountBufferSize];
  int count = 0;
  while (std::fgets(buffer, sizeof buffer, file.get()) != nullptr)
    ++count;
  return count;
}

void getLineInFile(const char *path, int lineNum, char *buf) {
  OpenedFile file(path, "r");
  for (int line = 0; line < lineNum; ++line) {
    // Past the last line buf keeps the last line read, untouched.
    if (std::fgets(buf, kLineInFileReadSize, file.get()) == nullptr)
      return;
    // Only the line end goes; a last line without one keeps all its text.
    const std::size_t length = std::strlen(buf);
    if (length > 0 && buf[length - 1] == '\n')
      buf[length - 1] = '\0';
  }
}

char *fileRead(const char *path, long &len) {
  OpenedFile file(path, "rb");
  const long size = getFileSize(file.get());
  // malloc(0) may return null; one spare byte keeps an empty file's buffer
  // distinct from a failed allocation.
  char *data = static_cast<char *>(std::malloc(static_cast<std::size_t>(size > 0 ? size : 0) + 1));
  if (data == nullptr)
    myExitFormatted("Cannot allocate %ld bytes for %s (line %d of %s)", size, path, __LINE__,
                    UTILITY_SOURCE_PATH);
  len = size > 0 ? static_cast<long>(std::fread(data, 1, static_cast<std::size_t>(size), file.get()))
                 : 0;
  return data;
}

void fileRead(const char *path, std::string &text) {
  long len = 0;
  char *data = fileRead(path, len);
  const void *zero = std::memchr(data, '\0', static_cast<std::size_t>(len));
  const long kept = zero != nullptr ? static_cast<const char *>(zero) - data : len;
  text.assign(data, static_cast<std::size_t>(kept));
  std::free(data);
}

void fileRead(const char *path, std::vector<int> &vec) { readParsedValues(path, "%d", vec); }

void fileRead(const char *path, std::vector<float> &vec) { readParsedValues(path, "%f", vec); }

void fileRead(const char *path, std::vector<std::string> &lines, char commentChar) {
  OpenedFile file(path, "r");
  lines.clear();
  // Kept off the stack: the host may call from a thread with a small one.
  std::vector<char> buffer(kStringLineBufferSize);
  while (std::fgets(buffer.data(), kStringLineBufferSize, file.get()) != nullptr) {
    std::size_t length = std::strlen(buffer.data());
    if (length == static_cast<std::size_t>(kStringLineBufferSize - 1))
      mexPrintf("Warning: Array is likely too small for reading string from %s!!! "
                "(line %d of file %s)\n",
                path, __LINE__, UTILITY_SOURCE_PATH);
    if (length > 0 && buffer[length - 1] == '\n')
      --length;
    if (length == 0 || buffer[0] == commentChar)
      continue;
    lines.emplace_back(buffer.data(), length);
  }
}

void fileWrite(const char *path, const char *data, long len) {
  OpenedFile file(path, "wb");
  if (len > 0)
    std::fwrite(data, 1, static_cast<std::size_t>(len), file.get());
}

void fileWrite(const char *path, double value) { writeOneValue(path, "w", "%g\n", value); }

void fileWrite(const char *path, float value) {
  writeOneValue(path, "w", "%g\n", static_cast<double>(value));
}

void fileWrite(const char *path, const std::vector<int> &vec) {
  OpenedFile file(path, "w");
  for (int value : vec)
    std::fprintf(file.get(), "%d\n", value);
}

void fileWrite(const char *path, const std::vector<std::string> &vec) {
  OpenedFile file(path, "w");
  for (const std::string &line : vec)
    std::fprintf(file.get(), "%s\n", line.c_str());
}

void logVar(double value, const char *path) { writeOneValue(path, "a", "%lf\n", value); }

void logVar(float value, const char *path) {
  writeOneValue(path, "a", "%f\n", static_cast<double>(value));
}

void logVar(int value, const char *path) { writeOneValue(path, "a", "%d\n", value); }

void readBinTable(const char *path, double *table, int count) {
  readBinaryValues(path, table, count);
}

void readBinTable(const char *path, int *table, int count) { readBinaryValues(path, table, count); }

void readTxtTable(const char *path, double *table, int count) {
  readTextValues(path, "%lf\n", table, count);
}

void readTxtTable(const char *path, int *table, int count) {
  readTextValues(path, "%d\n", table, count);
}

void readTable(const char *path, double *table, int count) {
  readTableByExtension(path, table, count);
}

void readTable(const char *path, int *table, int count) { readTableByExtension(path, table, count); }

const char *getExtName(const char *path) {
  if (path == nullptr)
    myExitFormatted("Null path given to getExtName (line %d of %s)", __LINE__, UTILITY_SOURCE_PATH);
  const char *dot = std::strrchr(path, '.');
  return dot != nullptr ? dot + 1 : path + std::strlen(path);
}

char *getExtName(char *path) {
  return const_cast<char *>(getExtName(static_cast<const char *>(path)));
}

// --- token tables, key-value files and directories ------------------------

std::vector<std::vector<std::string>> fileRead(const char *path) {
  std::vector<std::string> lines;
  fileRead(path, lines, '\0');
  std::vector<std::vector<std::string>> table(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i)
    string2token(lines[i], '\t', table[i], 0);
  return table;
}

void keyValuePairRead(const char *fileName, std::vector<std::string> &keys,
                      std::vector<std::string> &values) {
  std::vector<std::string> lines;
  fileRead(fileName, lines, '\0');
  for (const std::string &line : lines) {
    std::string text = withoutComment(line);
    stringTrimLeadingTrailingBlank(text);
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos)
      continue;
    std::string key = text.substr(0, equals);
    std::string value = text.substr(equals + 1);
    stringTrimLeadingTrailingBlank(key);
    stringTrimLeadingTrailingBlank(value);
    keys.push_back(key);
    values.push_back(value);
  }
}

void fileListRecursive(std::vector<std::string> & /*fileList*/, char *directory,
                       const char * /*extension*/) {
  if (directory != nullptr)
    strRep(directory, '\\', '/');
  mexPrintf("No files in current directory!\n");
}

int taone(const struct dirent *entry) {
  if (entry == nullptr)
    return 0;
  return std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0 ? 1 : 0;
}
