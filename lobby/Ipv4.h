// IPv4 addresses as text and back. An address is always a number in host order:
// a.b.c.d is a << 24 | b << 16 | c << 8 | d. No port, no names, no IPv6.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lobby {

// "a.b.c.d", each number in plain decimal.
std::string FormatIpv4(std::uint32_t address);

// Exactly four decimal numbers of 0 to 255 joined by dots, and nothing else: no blanks, no
// port, no sign. Leading zeros read as plain decimal ("010" is 10), as the game reads them; like
// the game, a number may have at most six digits.
std::optional<std::uint32_t> ParseIpv4(std::string_view text);

// An address from its four bytes in network order (as sockets and resolvers hold it), and back.
std::uint32_t Ipv4FromBytes(const unsigned char bytes[4]);
void Ipv4ToBytes(std::uint32_t address, unsigned char bytes[4]);

// An address and port: where a packet came from or goes, where a game listens.
struct Endpoint {
  std::uint32_t address = 0;
  std::uint16_t port = 0;

  bool operator==(const Endpoint&) const = default;
  // One number per address and port.
  std::uint64_t Key() const { return std::uint64_t{address} << 16 | port; }
};

}  // namespace lobby
