// Dotted IPv4 text. Parsing goes through the game's own reading of an address, so an address
// the lobby accepts is one the game accepts too.
#include "lobby/Ipv4.h"

#include "launch/GameAddress.h"

namespace lobby {

std::string FormatIpv4(std::uint32_t address) { return launch::DottedAddress(address); }

std::optional<std::uint32_t> ParseIpv4(std::string_view text) {
  // The game's reading also takes "any" and a ":port"; neither is an address here.
  if (text.find(':') != std::string_view::npos) return std::nullopt;
  const std::optional<launch::GameAddress> address = launch::ReadGameAddress(text);
  if (!address || address->any) return std::nullopt;
  return address->host;
}

std::uint32_t Ipv4FromBytes(const unsigned char bytes[4]) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | bytes[3];
}

void Ipv4ToBytes(std::uint32_t address, unsigned char bytes[4]) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(address >> (24 - 8 * i));
}

}  // namespace lobby
