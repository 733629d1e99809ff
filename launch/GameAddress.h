// An address as the game reads it from its network script: four dotted numbers of 0 to 255,
// or "any" (in any case), with an optional ":port" of 1 to 65535 (the game's own port when
// missing). Shared by the script check and by whatever compares entries the way the game does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace launch {

// The port the game uses when an address names none.
inline constexpr unsigned kGamePort = 1635;

struct GameAddress {
  bool any = false;
  std::uint32_t host = 0;  // a.b.c.d as a << 24 | b << 16 | c << 8 | d
  unsigned port = kGamePort;

  // One number per address and port, "any" apart from every dotted address.
  std::uint64_t Key() const {
    return (any ? std::uint64_t{1} << 48 : std::uint64_t{host} << 16) | port;
  }
};

// The address a script word names, or nothing when the game cannot read it.
std::optional<GameAddress> ReadGameAddress(std::string_view word);

// The port the game reads from the Port field (the interface line's ":port"): 1 to 65535,
// digits only; nothing for anything else.
std::optional<unsigned> ReadGamePort(std::string_view field);

// "a.b.c.d" for a host address, each number in plain decimal.
std::string DottedAddress(std::uint32_t host);

}  // namespace launch
