// Broadcast targets and subnets from the adapter list.
#include "Adapters.h"

#include <algorithm>
#include <bit>

#include "Ipv4.h"

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

const Adapter* AdapterFor(std::uint32_t peerAddress, const std::vector<Adapter>& adapters) {
  for (const Adapter& adapter : adapters) {
    if (IsActive(adapter) && InSubnet(peerAddress, adapter)) return &adapter;
  }
  return nullptr;
}

std::optional<InterfaceAdvice> AdviseInterface(const std::vector<Peer>& peers,
                                               const std::vector<Adapter>& adapters,
                                               std::string_view interfaceField) {
  std::vector<std::size_t> heard(adapters.size(), 0);
  for (const Peer& peer : peers) {
    if (const Adapter* adapter = AdapterFor(peer.address, adapters)) {
      ++heard[static_cast<std::size_t>(adapter - adapters.data())];
    }
  }
  // max_element keeps the first of equal counts: a tie goes to the earlier adapter.
  const auto most = std::max_element(heard.begin(), heard.end());
  if (most == heard.end() || *most == 0) return std::nullopt;
  const Adapter& best = adapters[static_cast<std::size_t>(most - heard.begin())];

  if (ParseIpv4(interfaceField) == best.address) return std::nullopt;
  return InterfaceAdvice{FormatIpv4(best.address), best.name, *most};
}

}  // namespace lobby
