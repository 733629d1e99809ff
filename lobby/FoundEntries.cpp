// New allowed-list entries, each address and port once.
#include "lobby/FoundEntries.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>

#include "launch/GameAddress.h"
#include "lobby/Ipv4.h"
#include "launch/LaunchSettings.h"
#include "launch/NetScript.h"
#include "launch/ScriptLine.h"

namespace lobby {
namespace {

// The address the game reads from a script line with that keyword; nothing for a line with
// another keyword or an address the game cannot read.
std::optional<launch::GameAddress> LineAddress(std::string_view line, std::string_view keyword) {
  const launch::ScriptLine split = launch::SplitScriptLine(line);
  if (split.keyword != keyword) return std::nullopt;
  return launch::ReadGameAddress(launch::FirstWord(split.rest));
}

}  // namespace

std::vector<std::string> EntriesToAdd(const std::vector<Peer>& chosen,
                                      const std::vector<std::string>& allowedList,
                                      std::string_view interfaceField, std::string_view portField,
                                      const std::vector<Adapter>& adapters) {
  const launch::LocalNetworks local = LocalNetworksOf(adapters, interfaceField);
  std::unordered_set<std::uint64_t> taken;
  for (const std::string& entry : allowedList) {
    if (const auto address = LineAddress(entry, "allow")) taken.insert(address->Key());
  }
  // The interface line exactly as the script gets it, read as the game reads it.
  const std::string interfaceLine = launch::InterfaceLine(interfaceField, portField);
  if (const auto own = LineAddress(interfaceLine, "interface")) taken.insert(own->Key());

  std::vector<std::string> entries;
  for (const Peer& peer : chosen) {
    const std::uint32_t host = PreferredAddress(peer, adapters, interfaceField);
    if (launch::UnreachableReason(host, peer.gamePort, local)) continue;
    const launch::GameAddress address{false, host, peer.gamePort};
    if (!taken.insert(address.Key()).second) continue;
    entries.push_back(launch::MakeAllowEntry(FormatIpv4(host), std::to_string(peer.gamePort)));
  }
  return entries;
}

BroadcastCount CountBroadcastPlayers(const std::vector<Peer>& peers, std::uint16_t ownGamePort) {
  BroadcastCount count;
  for (const Peer& peer : peers) {
    if (peer.mode != PlayerMode::Broadcast) {
      ++count.otherMode;
    } else if (peer.gamePort != ownGamePort) {
      ++count.otherPort;
    } else {
      ++count.counted;
    }
  }
  return count;
}

}  // namespace lobby
