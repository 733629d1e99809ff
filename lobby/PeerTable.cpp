// Listing, refreshing and forgetting the copies heard.
#include "PeerTable.h"

#include <algorithm>

namespace lobby {

PeerTable::PeerTable(std::uint64_t ownInstance) : ownInstance_(ownInstance) {
  peers_.reserve(kMaxPeers);
}

PeerTable::Heard PeerTable::Hear(const Announcement& announcement, std::uint32_t fromAddress,
                                 std::uint16_t fromPort, std::uint64_t nowMs) {
  // Broadcasts reach their sender too.
  if (announcement.instance == ownInstance_) return Heard::Ignored;
  lastHeardMs_ = nowMs;

  const auto listed = std::find_if(peers_.begin(), peers_.end(), [&](const Peer& peer) {
    return peer.instance == announcement.instance;
  });
  const bool fromListedAddress = listed != peers_.end() && listed->address == fromAddress;

  if (announcement.kind == PacketKind::Goodbye) {
    if (!fromListedAddress) return Heard::Ignored;
    peers_.erase(listed);
    return Heard::Gone;
  }
  if (listed != peers_.end()) {
    listed->lastHeardMs = nowMs;
    if (fromListedAddress) {
      listed->nick = announcement.nick;
      listed->sourcePort = fromPort;
      listed->gamePort = announcement.gamePort;
      listed->mode = announcement.mode;
    }
    return Heard::Refreshed;
  }
  if (peers_.size() >= kMaxPeers) return Heard::Full;
  peers_.push_back(Peer{announcement.instance, announcement.nick, fromAddress, fromPort,
                        announcement.gamePort, announcement.mode, nowMs, nowMs});
  return Heard::New;
}

bool PeerTable::Expire(std::uint64_t nowMs) {
  // Clamped first, so a clock that went back delays forgetting by kForgetAfterMs at most.
  for (Peer& peer : peers_) peer.lastHeardMs = std::min(peer.lastHeardMs, nowMs);
  return std::erase_if(peers_, [nowMs](const Peer& peer) {
           return nowMs - peer.lastHeardMs >= kForgetAfterMs;
         }) != 0;
}

}  // namespace lobby
