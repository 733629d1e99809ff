// The address classes no player can have, and this computer's broadcast addresses.
#include "PeerAddress.h"

#include <algorithm>

namespace launch {

std::optional<std::string> UnreachableReason(std::uint32_t address, unsigned port,
                                             const LocalNetworks& local) {
  const std::uint32_t first = address >> 24;
  if (first == 0) return "no machine has an address that begins with 0";
  if (first == 127 && !local.loopback) return "an address of 127 is this computer itself";
  if (address == 0xFFFFFFFFu) return "that is the broadcast address of every network";
  if (first >= 224 && first < 240) return "that is a multicast address, not a machine's";
  if (first >= 240) return "that address is reserved and no machine has it";
  if (std::find(local.broadcasts.begin(), local.broadcasts.end(), address) !=
      local.broadcasts.end()) {
    return "that is the broadcast address of your network, not a machine's";
  }
  if (port == 0) return "port 0 is no port";
  return std::nullopt;
}

}  // namespace launch
