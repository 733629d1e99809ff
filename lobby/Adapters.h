// The machine's IPv4 adapters as the platform layer lists them, and what the lobby decides
// from them: where to broadcast, which adapter a copy was heard on, and whether the Interface
// field names another adapter than the one the players are on. Listing them is not done here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PeerTable.h"

namespace lobby {

inline constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFF;  // 255.255.255.255

struct Adapter {
  std::string name;
  std::uint32_t address = 0;  // host order, like every address of the lobby
  std::uint32_t mask = 0;
  bool up = false;
  bool loopback = false;
  bool canBroadcast = false;
};

// address | ~mask; nothing for address 0, or a mask that is no contiguous prefix or whose
// prefix is 0 bits (no network), 31 bits (a point-to-point pair, no broadcast) or 32 bits.
std::optional<std::uint32_t> DirectedBroadcast(const Adapter& adapter);

// Up, not loopback, and an address other than 0.0.0.0 and 127.x.x.x. A link-local address
// (169.254.x.x) counts as active: two machines joined by a cable without a DHCP server get
// one each, and the lobby serves exactly such a network.
bool IsActive(const Adapter& adapter);

// Where announcements go: the directed broadcast of each active adapter that can broadcast,
// in list order, each once. 255.255.255.255 alone when the list could not be had (nothing)
// or gives no target.
std::vector<std::uint32_t> AnnounceTargets(const std::optional<std::vector<Adapter>>& adapters);

std::size_t ActiveAdapterCount(const std::vector<Adapter>& adapters);

// The first active adapter whose subnet (address & mask, a contiguous mask of 1 to 32 bits)
// holds the address; nullptr when none does.
const Adapter* AdapterFor(std::uint32_t peerAddress, const std::vector<Adapter>& adapters);

struct InterfaceAdvice {
  std::string adapterAddress;  // dotted
  std::string adapterName;
  std::size_t peersHeard = 0;  // listed copies on that adapter
};

// The adapter most listed copies were heard on (a tie goes to the first in the adapter list),
// when the Interface field names another address: the field compared as an address when it
// reads as one, else any text differs. Nothing when no copy is listed, none is on an active
// adapter, or the field already names that adapter.
std::optional<InterfaceAdvice> AdviseInterface(const std::vector<Peer>& peers,
                                               const std::vector<Adapter>& adapters,
                                               std::string_view interfaceField);

}  // namespace lobby
