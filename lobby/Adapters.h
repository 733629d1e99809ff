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

#include "lobby/PeerTable.h"

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

// The active adapter whose subnet (address & mask, a contiguous mask of 1 to 32 bits) holds
// the address, the longest prefix winning (a 10.1.2/24 network over a 10/8 tunnel); the
// first of equal ones; nullptr when none does.
const Adapter* AdapterFor(std::uint32_t address, const std::vector<Adapter>& adapters);

// What the address check needs of this computer's networks: every adapter's directed
// broadcast address, and whether the Interface field puts the game on 127/8.
launch::LocalNetworks LocalNetworksOf(const std::vector<Adapter>& adapters,
                                      std::string_view interfaceField);

// The address a copy is added and shown with: the first it was heard from on the network the
// Interface field's address is on (the one this player's game will greet it on), else the
// first it was heard from.
std::uint32_t PreferredAddress(const Peer& peer, const std::vector<Adapter>& adapters,
                               std::string_view interfaceField);

struct InterfaceAdvice {
  std::string adapterAddress;  // dotted
  std::string adapterName;
  std::size_t peersHeard = 0;  // listed copies on that adapter
};

// The adapter most listed copies were heard on (a tie goes to the first in the adapter list),
// when the Interface field's address is on none of the networks of the adapters they were
// heard on (any text that is no address is on none). Nothing when no copy is listed or none
// is on an active adapter.
std::optional<InterfaceAdvice> AdviseInterface(const std::vector<Peer>& peers,
                                               const std::vector<Adapter>& adapters,
                                               std::string_view interfaceField);

}  // namespace lobby
