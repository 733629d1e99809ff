// IPv4 socket addresses to and from the lobby's host-order numbers. Written out by hand: the
// sockets library's byte-order functions would make it a library every start must load.
#pragma once

#include <winsock2.h>

#include <cstdint>

#include "lobby/Ipv4.h"

namespace players {

inline sockaddr_in SocketAddress(std::uint32_t address, std::uint16_t port) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  lobby::Ipv4ToBytes(address, reinterpret_cast<unsigned char*>(&to.sin_addr));
  auto* p = reinterpret_cast<unsigned char*>(&to.sin_port);
  p[0] = static_cast<unsigned char>(port >> 8);
  p[1] = static_cast<unsigned char>(port);
  return to;
}

inline std::uint32_t AddressOf(const sockaddr_in& from) {
  return lobby::Ipv4FromBytes(reinterpret_cast<const unsigned char*>(&from.sin_addr));
}

inline std::uint16_t PortOf(const sockaddr_in& from) {
  const auto* p = reinterpret_cast<const unsigned char*>(&from.sin_port);
  return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

}  // namespace players
