// How a stand-in game reads its network script: the port it listens on, its mode, and whom it
// waits for. Written apart from the program's own readers, so that a fault in either one shows
// as a disagreement between the group check and the stand-ins.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

// An address (host order: a.b.c.d is a << 24 | b << 16 | c << 8 | d) and a port.
struct Peer {
  std::uint32_t address = 0;
  std::uint16_t port = 0;

  bool operator==(const Peer&) const = default;
};

// The game reads no more allow lines than this.
inline constexpr int kMaxAllowLines = 15;

struct Script {
  // The interface line's port; the game's own port when the line is missing or unreadable.
  std::uint16_t port = 1635;
  // A broadcast line was read: "Broadcast on LAN" mode, waiting for broadcastCount others.
  bool broadcast = false;
  long long broadcastCount = 0;
  // "Allow IP's" mode: the readable entries among the first kMaxAllowLines allow lines.
  std::vector<Peer> allowed;
};

Script ReadScript(std::string_view text);

// "a.b.c.d:port".
std::string FormatPeer(const Peer& peer);

}  // namespace standin
