// Spreads every bit of a number over the whole of it (the finaliser of splitmix64): small, and
// the same result on every compiler and standard library. The schedule's jitter and the
// instance ids come from it.
#pragma once

#include <cstdint>

namespace lobby {

inline std::uint64_t Mix64(std::uint64_t x) {
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

}  // namespace lobby
