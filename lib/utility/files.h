// Files and tables of the utility unit: opening, sizes and lines, whole-file
// reads and writes, numeric tables, the token table and key-value files.
#ifndef CLUSTERKIT_FILES_H
#define CLUSTERKIT_FILES_H

#include <cstdio>
#include <string>
#include <vector>

// Formats: a text table is numbers as text separated by white space (the
// writers put one per line); a binary table is raw native doubles or ints with
// no header; a string list is one string per line ending in "\n". A table's
// form is chosen by its extension: exactly "bin"/"BIN" or "txt"/"TXT".
// Only opening is checked: a file that cannot be opened fails through
// myExit(); short reads and write errors are not reported.

/// fopen(path, mode); fails with "Cannot open file <path> ..." when it cannot
/// (also for a null path).
FILE *openFile(const char *path, const char *mode);

/// 1 if path can be opened for reading, else 0 (also for a null path). Never
/// fails.
int fileExist(const char *path);

/// Size of an open file in bytes; its position is restored.
long getFileSize(FILE *fp);

/// Size of the file at path in bytes.
long getFileSize(const char *path);

/// Number of line reads of at most 999 characters each: a line of 999 or more
/// characters counts once per read; a last line without line end counts.
int getFileLineCount(const char *path);

/// Line lineNum (1-based, lines read 998 characters at a time) into buf
/// (at least 999 characters) without its line end. When the file has fewer
/// lines, buf keeps the last line read (or its old text for an empty file).
void getLineInFile(const char *path, int lineNum, char *buf);

/// The whole file (read in binary mode) in a new buffer of len bytes, with no
/// terminator added; the caller frees it with free().
char *fileRead(const char *path, long &len);

/// The file's bytes up to its first zero byte, or all of them.
void fileRead(const char *path, std::string &text);

/// Clears vec, then reads "%d" values until one does not parse or the end.
void fileRead(const char *path, std::vector<int> &vec);

/// Clears vec, then reads "%f" values until one does not parse or the end.
void fileRead(const char *path, std::vector<float> &vec);

/// Clears lines, then appends each line without its "\n", skipping empty
/// lines and lines whose first character is commentChar (0: only empty
/// lines). Lines are read 99999 characters at a time: a longer line arrives
/// in pieces, with a warning on the console.
void fileRead(const char *path, std::vector<std::string> &lines, char commentChar);

/// Writes len raw bytes (binary mode), replacing the file.
void fileWrite(const char *path, const char *data, long len);

/// Replaces the file with the value and a line end ("%g\n").
void fileWrite(const char *path, double value);
void fileWrite(const char *path, float value);

/// Replaces the file with one "%d\n" line per element.
void fileWrite(const char *path, const std::vector<int> &vec);

/// Replaces the file with one "%s\n" line per element.
void fileWrite(const char *path, const std::vector<std::string> &vec);

/// Appends the value and a line end: "%lf\n", "%f\n" or "%d\n".
void logVar(double value, const char *path);
void logVar(float value, const char *path);
void logVar(int value, const char *path);

/// Reads up to count raw values (8-byte doubles, 4-byte ints) into table;
/// elements not read whole stay unchanged (a trailing partial value too); a
/// count below 1 reads nothing.
void readBinTable(const char *path, double *table, int count);
void readBinTable(const char *path, int *table, int count);

/// count reads of "%lf\n" / "%d\n" into table[0 .. count-1]; elements not
/// read stay unchanged.
void readTxtTable(const char *path, double *table, int count);
void readTxtTable(const char *path, int *table, int count);

/// readBinTable or readTxtTable by the path's extension; any other extension
/// fails with "Error in reading <path>: The only allowed extensions are ...".
void readTable(const char *path, double *table, int count);
void readTable(const char *path, int *table, int count);

/// The text after the last '.' of path (the search crosses directory
/// separators), or its terminator when there is none. A null path fails with
/// "Null path given to getExtName (line %d of %s)", and so does readTable's.
const char *getExtName(const char *path);
char *getExtName(char *path);

/// The token table: one row per non-empty line, fields split at tabs (a
/// trailing tab gives an empty last field).
std::vector<std::vector<std::string>> fileRead(const char *path);

/// Appends "key = value" pairs of a text file to keys and values: text from
/// '%' on is a comment, key and value are trimmed, a value may contain '=',
/// lines without '=' are ignored.
void keyValuePairRead(const char *fileName, std::vector<std::string> &keys,
                      std::vector<std::string> &values);

struct dirent;

/// Turns backslashes in directory into slashes and prints "No files in
/// current directory!"; reads no directory and leaves fileList unchanged.
void fileListRecursive(std::vector<std::string> &fileList, char *directory,
                       const char *extension);

/// Directory-scan filter: 0 for a null entry and for "." and "..", else 1.
int taone(const struct dirent *entry);

#endif // CLUSTERKIT_FILES_H
