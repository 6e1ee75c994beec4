// Vectors of strings and of integers: joining, printing, linear and binary
// search, and the paths through a lattice of alternatives. The binary
// searches order strings byte-wise (strcmp order).
#ifndef CLUSTERKIT_STRING_VECTORS_H
#define CLUSTERKIT_STRING_VECTORS_H

#include <string>
#include <vector>

/// out = the elements joined with separator between neighbours ("" if none).
void strVecJoin(std::vector<std::string> vec, const char *separator, std::string &out);

/// As strVecJoin, each integer written with "%d".
void intVecJoin(std::vector<int> vec, const char *separator, std::string &out);

/// Keeps the non-empty elements, in order.
void strVecRemoveEmptyElement(std::vector<std::string> &vec);

/// With a non-empty outFile: writes one element per line to it, replacing it.
/// Otherwise prints "name[i] = element" lines to standard output, or
/// "<name> has zero element!" on the console for an empty vector.
void strVecPrint(std::vector<std::string> vec, const char *name, const char *outFile);

/// index receives, in order, every element whose first occurrence of key
/// satisfies matchPos: 0 anywhere, 1 at the start, 2 ending the element,
/// 3 equal to it. Another matchPos fails with "Unknown matchPos in
/// strVecLinSearch ..." at the first element that contains key.
void strVecLinSearch(const std::vector<std::string> &vec, std::string key,
                     std::vector<int> &index, int matchPos);

/// Index of the first element containing key, or -1.
int strVecLinSearchFirstMatch(const std::vector<std::string> &vec, std::string key);

/// Binary search of a strcmp-sorted vector: index receives one index whose
/// element equals key (prefixMatch 0) or begins with it (otherwise), or stays
/// empty. Among several matches any one may be found.
void strVecBinSearch(const std::vector<std::string> &vec, std::string key,
                     std::vector<int> &index, int prefixMatch);

/// An index in lo..hi (inclusive, narrowed to the vector) whose element
/// equals key, or -1.
int strVecBinSearchSub0(const std::vector<std::string> &vec, int lo, int hi,
                        const std::string &key);

/// An index in lo..hi (inclusive, narrowed to the vector) whose element
/// begins with key, or -1.
int strVecBinSearchSub1(const std::vector<std::string> &vec, int lo, int hi,
                        const std::string &key);

/// Every path through the lattice (one string per column, joined by "-"),
/// the first column varying fastest. An empty lattice, or an empty column,
/// gives no paths.
void getAllLatticePath(std::vector<std::vector<std::string>> lattice,
                       std::vector<std::string> &paths);

#endif // CLUSTERKIT_STRING_VECTORS_H
