// Listing, refreshing and forgetting the copies heard.
#include "lobby/PeerTable.h"

#include <algorithm>

namespace lobby {

namespace {

// Where the game would reach both at the same address and port: the same player's copy.
bool SamePlace(const Peer& a, const Peer& b) {
  return a.gamePort == b.gamePort &&
         std::any_of(a.addresses.begin(), a.addresses.end(), [&](std::uint32_t address) {
           return std::find(b.addresses.begin(), b.addresses.end(), address) != b.addresses.end();
         });
}

}  // namespace

PeerTable::PeerTable(std::uint64_t ownInstance) : ownInstance_(ownInstance) {
  peers_.reserve(kMaxPeers);
  departed_.reserve(kMaxPeers);
}

PeerTable::Heard PeerTable::Hear(const Announcement& announcement, Endpoint from,
                                 std::uint64_t nowMs) {
  // Broadcasts reach their sender too.
  if (announcement.instance == ownInstance_) return Heard::Ignored;
  if (launch::UnreachableReason(from.address, from.port, local_)) return Heard::Refused;
  lastHeardMs_ = nowMs;

  const auto listed = std::find_if(peers_.begin(), peers_.end(), [&](const Peer& peer) {
    return peer.instance == announcement.instance;
  });
  const bool known =
      listed != peers_.end() && std::find(listed->addresses.begin(), listed->addresses.end(),
                                          from.address) != listed->addresses.end();

  if (announcement.kind == PacketKind::Goodbye) {
    if (!known) return Heard::Ignored;
    Peer gone = std::move(*listed);
    peers_.erase(listed);
    gone.setup = announcement.setup;
    gone.lastHeardMs = nowMs;
    if (departed_.size() >= kMaxPeers) departed_.erase(departed_.begin());
    departed_.push_back(std::move(gone));
    return Heard::Gone;
  }
  if (listed != peers_.end()) {
    listed->lastHeardMs = nowMs;
    if (!known) {
      // A new address is kept while there is room; past that, it only keeps the copy alive.
      if (listed->addresses.size() >= kMaxAddresses) return Heard::Refreshed;
      listed->addresses.push_back(from.address);
    }
    listed->nick = announcement.nick;
    listed->source = from;
    listed->gamePort = announcement.gamePort;
    listed->mode = announcement.mode;
    listed->setup = announcement.setup;
    return Heard::Refreshed;
  }
  if (peers_.size() >= kMaxPeers) return Heard::Full;
  peers_.push_back(Peer{announcement.instance, announcement.nick, from.address, {from.address},
                        from, announcement.gamePort, announcement.mode, announcement.setup, nowMs,
                        nowMs});
  std::erase_if(departed_, [&](const Peer& gone) { return SamePlace(gone, peers_.back()); });
  return Heard::New;
}

bool PeerTable::Expire(std::uint64_t nowMs) {
  // Clamped first, so a clock that went back delays forgetting by kForgetAfterMs at most.
  for (Peer& peer : peers_) peer.lastHeardMs = std::min(peer.lastHeardMs, nowMs);
  for (Peer& gone : departed_) gone.lastHeardMs = std::min(gone.lastHeardMs, nowMs);
  const bool forgotten = std::erase_if(peers_, [nowMs](const Peer& peer) {
                           return nowMs - peer.lastHeardMs >= kForgetAfterMs;
                         }) != 0;
  const bool departed = std::erase_if(departed_, [nowMs](const Peer& gone) {
                          return nowMs - gone.lastHeardMs >= kRememberGoneMs;
                        }) != 0;
  return forgotten || departed;
}

}  // namespace lobby
