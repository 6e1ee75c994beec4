#include "test_support.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(OpenFile, FailsWithThePathAndLocationAndFileExistNeverFails) {
  TempDir dir;
  const std::string missing = dir.file("missing.txt");
  EXPECT_TRUE(isLocatedMessage(failureMessage([&] { openFile(missing.c_str(), "r"); }),
                               "Cannot open file " + missing));
  EXPECT_TRUE(isLocatedMessage(failureMessage([] { openFile(nullptr, "r"); }), "Cannot open file "));
  EXPECT_EQ(fileExist(missing.c_str()), 0);
  EXPECT_EQ(fileExist(nullptr), 0);
  EXPECT_EQ(fileExist(dir.write("here.txt", "x").c_str()), 1);
  // Every reader opens through openFile.
  std::vector<std::string> lines;
  EXPECT_NE(failureMessage([&] { fileRead(missing.c_str(), lines, '#'); }), "");
  EXPECT_NE(failureMessage([&] { getFileLineCount(missing.c_str()); }), "");
}

TEST(ReadTable, ChoosesTheFormByExactExtension) {
  TempDir dir;
  const std::string text = dir.write("t.TXT", "1.5\n-2\n3e2\n");
  double fromText[3] = {};
  readTable(text.c_str(), fromText, 3);
  EXPECT_EQ(fromText[0], 1.5);
  EXPECT_EQ(fromText[1], -2.0);
  EXPECT_EQ(fromText[2], 300.0);

  const int raw[3] = {7, -1, 1 << 30};
  const std::string binary = dir.file("t.bin");
  fileWrite(binary.c_str(), reinterpret_cast<const char *>(raw), sizeof raw);
  int fromBinary[3] = {};
  readTable(binary.c_str(), fromBinary, 3);
  EXPECT_EQ(std::memcmp(raw, fromBinary, sizeof raw), 0);

  for (const char *name : {"t.Txt", "t.Bin", "t.dat", "noextension"}) {
    const std::string path = dir.write(name, "1\n");
    EXPECT_TRUE(isLocatedMessage(failureMessage([&] { readTable(path.c_str(), fromText, 1); }),
                                 "Error in reading " + path +
                                     ": The only allowed extensions are \"txt\" and \"bin\""))
        << name;
  }
}

TEST(ReadTable, ShortReadsLeaveTheRestUnchanged) {
  TempDir dir;
  const std::string text = dir.write("three.txt", "1\n2\n3\n");
  double doubles[5] = {9, 9, 9, 9, 9};
  readTxtTable(text.c_str(), doubles, 5);
  EXPECT_EQ(std::vector<double>(doubles, doubles + 5), (std::vector<double>{1, 2, 3, 9, 9}));
  int ints[5] = {9, 9, 9, 9, 9};
  readTxtTable(text.c_str(), ints, 5);
  EXPECT_EQ(std::vector<int>(ints, ints + 5), (std::vector<int>{1, 2, 3, 9, 9}));

  const double two[2] = {0.25, -8.0};
  const std::string binary = dir.file("two.bin");
  fileWrite(binary.c_str(), reinterpret_cast<const char *>(two), sizeof two);
  double fromBinary[3] = {5, 5, 5};
  readBinTable(binary.c_str(), fromBinary, 3);
  EXPECT_EQ(std::vector<double>(fromBinary, fromBinary + 3), (std::vector<double>{0.25, -8.0, 5}));
  // A negative count reads nothing instead of overrunning the table.
  readBinTable(binary.c_str(), fromBinary, -1);
  readTxtTable(text.c_str(), ints, -1);
  EXPECT_EQ(fromBinary[2], 5.0);
}

TEST(FileWrite, ReplacesWhileLogVarAppends) {
  TempDir dir;
  const std::string path = dir.file("log.txt");
  logVar(1.5, path.c_str());
  logVar(2.25f, path.c_str());
  logVar(-3, path.c_str());
  EXPECT_EQ(fileContent(path), "1.500000\n2.250000\n-3\n");
  fileWrite(path.c_str(), 0.1);
  EXPECT_EQ(fileContent(path), "0.1\n");
  fileWrite(path.c_str(), 1e20f);
  EXPECT_EQ(fileContent(path), "1e+20\n");
  fileWrite(path.c_str(), std::vector<int>{4, -5});
  EXPECT_EQ(fileContent(path), "4\n-5\n");
  fileWrite(path.c_str(), std::vector<std::string>{"a b", "", "c"});
  EXPECT_EQ(fileContent(path), "a b\n\nc\n");
}

TEST(FileRead, StringListSkipsEmptyAndCommentLines) {
  TempDir dir;
  const std::string path = dir.write("list.txt", "#skip\nkeep\n\n  #kept\nwin\r\n#\nlast");
  std::vector<std::string> lines{"stale"};
  fileRead(path.c_str(), lines, '#');
  EXPECT_EQ(lines, (std::vector<std::string>{"keep", "  #kept", "win\r", "last"}));
  fileRead(path.c_str(), lines, '\0');
  EXPECT_EQ(lines, (std::vector<std::string>{"#skip", "keep", "  #kept", "win\r", "#", "last"}));
}

TEST(FileRead, StringListSplitsAnOverlongLineAndWarns) {
  TempDir dir;
  const std::string path = dir.write("long.txt", std::string(100000, 'x') + "\nend\n");
  std::vector<std::string> lines;
  testing::internal::CaptureStdout();
  fileRead(path.c_str(), lines, 0);
  const std::string console = testing::internal::GetCapturedStdout();
  EXPECT_EQ(lines, (std::vector<std::string>{std::string(99999, 'x'), "x", "end"}));
  EXPECT_EQ(console.rfind("Warning: Array is likely too small for reading string from " + path +
                              "!!! (line ",
                          0),
            0u);
  EXPECT_NE(console.find(" of file lib/utility/utility)\n"), std::string::npos);
}

TEST(FileRead, WholeFileAndTextStopAtTheFirstZeroByte) {
  TempDir dir;
  const std::string bytes("ab\0cd\n", 6);
  const std::string path = dir.write("bytes.bin", bytes);
  long len = -1;
  char *data = fileRead(path.c_str(), len);
  ASSERT_EQ(len, 6);
  EXPECT_EQ(std::string(data, static_cast<std::size_t>(len)), bytes);
  std::free(data);
  std::string text = "old";
  fileRead(path.c_str(), text);
  EXPECT_EQ(text, "ab");

  const std::string empty = dir.write("empty.txt", "");
  data = fileRead(empty.c_str(), len);
  EXPECT_NE(data, nullptr);
  EXPECT_EQ(len, 0);
  std::free(data);
  fileRead(empty.c_str(), text);
  EXPECT_EQ(text, "");
}

TEST(FileRead, NumbersStopAtTheFirstUnparsableValue) {
  TempDir dir;
  const std::string path = dir.write("numbers.txt", "3 -4\n5 x 6\n");
  std::vector<int> ints{99};
  fileRead(path.c_str(), ints);
  EXPECT_EQ(ints, (std::vector<int>{3, -4, 5}));
  std::vector<float> floats;
  fileRead(dir.write("floats.txt", "0.5\n1e3\n").c_str(), floats);
  EXPECT_EQ(floats, (std::vector<float>{0.5f, 1000.0f}));
}

TEST(LineAccess, CountsReadsAndReturnsWholeLines) {
  TempDir dir;
  const std::string path = dir.write("lines.txt", "first\nsecond\nlast");
  EXPECT_EQ(getFileLineCount(path.c_str()), 3);
  EXPECT_EQ(getFileLineCount(dir.write("empty.txt", "").c_str()), 0);
  // A line of 999 or more characters takes two reads of the 1000 buffer.
  EXPECT_EQ(getFileLineCount(dir.write("wide.txt", std::string(1500, 'w') + "\n").c_str()), 2);

  char buf[999];
  getLineInFile(path.c_str(), 2, buf);
  EXPECT_STREQ(buf, "second");
  getLineInFile(path.c_str(), 3, buf);
  EXPECT_STREQ(buf, "last"); // no line end to drop: the text stays whole
  getLineInFile(path.c_str(), 7, buf);
  EXPECT_STREQ(buf, "last"); // past the end: the last line read
}

TEST(FileSize, ByPathAndOfAnOpenFileKeepingItsPosition) {
  TempDir dir;
  const std::string path = dir.write("size.bin", std::string(1234, 'z'));
  EXPECT_EQ(getFileSize(path.c_str()), 1234);
  FILE *file = openFile(path.c_str(), "rb");
  std::fseek(file, 10, SEEK_SET);
  EXPECT_EQ(getFileSize(file), 1234);
  EXPECT_EQ(std::ftell(file), 10);
  std::fclose(file);
}

TEST(GetExtName, TextAfterTheLastDotAcrossDirectories) {
  char plain[] = "table.bin";
  EXPECT_STREQ(getExtName(plain), "bin");
  EXPECT_EQ(getExtName(plain), plain + 6);
  EXPECT_STREQ(getExtName("dir.old/table"), "old/table");
  const char *none = "table";
  EXPECT_EQ(getExtName(none), none + 5);
  EXPECT_STREQ(getExtName("ends."), "");
}

} // namespace
