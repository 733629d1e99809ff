// SHA-256 (FIPS 180-4), fed in pieces: the fingerprint of the game's files is made a piece at
// a time from the window's timer, so hashing a large data file never freezes the window.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lobby {

class Sha256 {
 public:
  using Digest = std::array<std::uint8_t, 32>;

  Sha256();
  void Add(std::string_view bytes);
  // The digest of everything added; the object is spent afterwards.
  Digest Finish();

 private:
  void Block(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> buffer_{};
  std::size_t buffered_ = 0;
  std::uint64_t length_ = 0;  // bytes added
};

}  // namespace lobby
