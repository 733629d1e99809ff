// Whether the game can reach another player at an address and port: one check for every
// address that may become a player's, whether heard on the network, added from the lobby or
// typed into the allowed list. Some addresses can never be another machine's (0.0.0.0/8 names
// no machine, 127/8 is this computer, 224/4 is multicast, 240/4 is reserved), broadcast
// addresses are everyone's, and port 0 is no port: a game told to wait for one waits forever.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace launch {

// What the check needs to know about this computer's networks.
struct LocalNetworks {
  // The directed broadcast address of every local adapter (host order).
  std::vector<std::uint32_t> broadcasts;
  // 127/8 is reachable when the game itself plays on it: several copies on one computer.
  bool loopback = false;
};

// Why no player can be reached at address (host order) and port, in a few words that follow
// "the game cannot reach 0.0.0.0 (" ... ")"; nothing when one can be.
std::optional<std::string> UnreachableReason(std::uint32_t address, unsigned port,
                                             const LocalNetworks& local);

}  // namespace launch
