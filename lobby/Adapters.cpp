// Broadcast targets and subnets from the adapter list.
#include "lobby/Adapters.h"

#include <algorithm>
#include <bit>

#include "lobby/Ipv4.h"

namespace lobby {
namespace {

// The mask's prefix length, when it is a run of ones followed by zeros.
std::optional<int> PrefixLength(std::uint32_t mask) {
  const std::uint32_t host = ~mask;
  if ((host & (host + 1)) != 0) return std::nullopt;
  return std::popcount(mask);
}

bool InSubnet(std::uint32_t address, const Adapter& adapter) {
  const std::optional<int> prefix = PrefixLength(adapter.mask);
  return prefix && *prefix > 0 && (address & adapter.mask) == (adapter.address & adapter.mask);
}

}  // namespace

std::optional<std::uint32_t> DirectedBroadcast(const Adapter& adapter) {
  const std::optional<int> prefix = PrefixLength(adapter.mask);
  if (adapter.address == 0 || !prefix || *prefix == 0 || *prefix >= 31) return std::nullopt;
  return adapter.address | ~adapter.mask;
}

bool IsActive(const Adapter& adapter) {
  return adapter.up && !adapter.loopback && adapter.address != 0 && adapter.address >> 24 != 127;
}

std::vector<std::uint32_t> AnnounceTargets(const std::optional<std::vector<Adapter>>& adapters) {
  std::vector<std::uint32_t> targets;
  for (const Adapter& adapter : adapters.value_or(std::vector<Adapter>{})) {
    if (!IsActive(adapter) || !adapter.canBroadcast) continue;
    const std::optional<std::uint32_t> target = DirectedBroadcast(adapter);
    if (target && std::find(targets.begin(), targets.end(), *target) == targets.end()) {
      targets.push_back(*target);
    }
  }
  if (targets.empty()) targets.push_back(kLimitedBroadcast);
  return targets;
}

std::size_t ActiveAdapterCount(const std::vector<Adapter>& adapters) {
  return static_cast<std::size_t>(std::count_if(adapters.begin(), adapters.end(), IsActive));
}

const Adapter* AdapterFor(std::uint32_t address, const std::vector<Adapter>& adapters) {
  const Adapter* best = nullptr;
  for (const Adapter& adapter : adapters) {
    if (!IsActive(adapter) || !InSubnet(address, adapter)) continue;
    if (!best || std::popcount(adapter.mask) > std::popcount(best->mask)) best = &adapter;
  }
  return best;
}

launch::LocalNetworks LocalNetworksOf(const std::vector<Adapter>& adapters,
                                      std::string_view interfaceField) {
  launch::LocalNetworks local;
  for (const Adapter& adapter : adapters) {
    if (const std::optional<std::uint32_t> broadcast = DirectedBroadcast(adapter)) {
      local.broadcasts.push_back(*broadcast);
    }
  }
  const std::optional<std::uint32_t> own = ParseIpv4(interfaceField);
  local.loopback = own && *own >> 24 == 127;
  return local;
}

std::uint32_t PreferredAddress(const Peer& peer, const std::vector<Adapter>& adapters,
                               std::string_view interfaceField) {
  const std::optional<std::uint32_t> own = ParseIpv4(interfaceField);
  const Adapter* network = own ? AdapterFor(*own, adapters) : nullptr;
  if (network) {
    for (std::uint32_t address : peer.addresses) {
      if (InSubnet(address, *network)) return address;
    }
  }
  return peer.address;
}

std::optional<InterfaceAdvice> AdviseInterface(const std::vector<Peer>& peers,
                                               const std::vector<Adapter>& adapters,
                                               std::string_view interfaceField) {
  // For each adapter, the copies heard on it (a copy heard on two counts on both).
  std::vector<std::size_t> heard(adapters.size(), 0);
  for (const Peer& peer : peers) {
    std::vector<bool> on(adapters.size(), false);
    for (std::uint32_t address : peer.addresses) {
      if (const Adapter* adapter = AdapterFor(address, adapters)) {
        on[static_cast<std::size_t>(adapter - adapters.data())] = true;
      }
    }
    for (std::size_t i = 0; i < on.size(); ++i) heard[i] += on[i];
  }
  // max_element keeps the first of equal counts: a tie goes to the earlier adapter.
  const auto most = std::max_element(heard.begin(), heard.end());
  if (most == heard.end() || *most == 0) return std::nullopt;
  const Adapter& best = adapters[static_cast<std::size_t>(most - heard.begin())];

  // The field's address on the network of any adapter a copy was heard on serves: the game
  // greets them from it.
  if (const std::optional<std::uint32_t> own = ParseIpv4(interfaceField)) {
    for (std::size_t i = 0; i < adapters.size(); ++i) {
      if (heard[i] > 0 && InSubnet(*own, adapters[i])) return std::nullopt;
    }
  }
  return InterfaceAdvice{FormatIpv4(best.address), best.name, *most};
}

}  // namespace lobby
