// The bits of a double: for code that tests or builds values by their
// representation (binades, signs, exact powers of two).
#ifndef CLUSTERKIT_DOUBLE_BITS_H
#define CLUSTERKIT_DOUBLE_BITS_H

#include <cstdint>
#include <cstring>

constexpr std::uint64_t kSignBit = 0x8000000000000000ULL;
constexpr std::uint64_t kExponentBits = 0x7FF0000000000000ULL;

inline std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline double doubleOf(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

/// The power of two at or below |value| for normal values; 0 for zeros and
/// subnormals, infinity for infinities and NaN.
inline double binadeOf(double value) { return doubleOf(bitsOf(value) & kExponentBits); }

#endif // CLUSTERKIT_DOUBLE_BITS_H
