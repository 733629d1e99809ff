// The direct-send decisions, over what is kept per listed copy.
#include "lobby/SendPolicy.h"

#include <algorithm>
#include <utility>

namespace lobby {

bool SendPolicy::Heard(const Announcement& packet, Endpoint from, bool onLobbySocket,
                       std::uint64_t nowMs) {
  Copy& copy = copies_[packet.instance];
  // 0 stands for never: the clock's first millisecond counts as 1.
  const std::uint64_t now = std::max<std::uint64_t>(nowMs, 1);
  if (onLobbySocket) {
    copy.heardOnLobbyMs = now;
  } else if (packet.kind == PacketKind::Answer) {
    copy.answeredUs = true;
  } else if (packet.kind == PacketKind::Announce) {
    copy.directFromMs = now;
  }
  // Never an answer to an answer or a goodbye.
  if (packet.kind != PacketKind::Announce) return false;
  const auto since = [now](std::uint64_t ms) { return now - std::min(ms, now); };
  const bool hearsUs = copy.answeredUs || (copy.directFromMs != 0 &&
                                           since(copy.directFromMs) < PeerTable::kForgetAfterMs);
  // Every copy is answered once, even one that heard us first: our answer is how it learns
  // that we hear it.
  const bool due = !onLobbySocket || copy.answeredMs == 0 ||
                   (!hearsUs && since(copy.answeredMs) >= kReanswerMs);
  if (!due || !limiter_.Allow(from, nowMs)) return false;
  copy.answeredMs = now;
  return true;
}

bool SendPolicy::HeardOnLobbyLately(std::uint64_t instance, std::uint64_t nowMs) const {
  const auto copy = copies_.find(instance);
  return copy != copies_.end() && copy->second.heardOnLobbyMs != 0 &&
         nowMs - std::min(copy->second.heardOnLobbyMs, nowMs) <= kHeardLatelyMs;
}

std::vector<Endpoint> SendPolicy::DirectTargets(const std::vector<Peer>& peers,
                                                std::uint64_t nowMs) {
  // The copies due, each with when it was last sent an announcement directly.
  std::vector<std::pair<std::uint64_t, const Peer*>> due;
  for (const Peer& peer : peers) {
    if (HeardOnLobbyLately(peer.instance, nowMs)) continue;
    const auto copy = copies_.find(peer.instance);
    due.emplace_back(copy == copies_.end() ? 0 : copy->second.directMs, &peer);
  }
  // The copies served longest ago first, so the cap never starves the same ones.
  std::stable_sort(due.begin(), due.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Endpoint> targets;
  for (const auto& [served, peer] : due) {
    if (targets.size() == kMaxDirectPerAnnouncement) break;
    if (!limiter_.Allow(peer->source, nowMs)) continue;
    copies_[peer->instance].directMs = std::max<std::uint64_t>(nowMs, 1);
    targets.push_back(peer->source);
  }
  return targets;
}

std::vector<Endpoint> SendPolicy::GoodbyeTargets(const std::vector<Peer>& peers,
                                                 std::uint64_t nowMs) const {
  std::vector<Endpoint> targets;
  for (const Peer& peer : peers) {
    const auto copy = copies_.find(peer.instance);
    const bool sendsToUs = copy != copies_.end() && copy->second.directFromMs != 0 &&
                           nowMs - std::min(copy->second.directFromMs, nowMs) <=
                               PeerTable::kForgetAfterMs;
    if (sendsToUs || !HeardOnLobbyLately(peer.instance, nowMs)) targets.push_back(peer.source);
  }
  return targets;
}

void SendPolicy::Prune(const std::vector<Peer>& peers) {
  std::erase_if(copies_, [&](const auto& entry) {
    return std::none_of(peers.begin(), peers.end(),
                        [&](const Peer& peer) { return peer.instance == entry.first; });
  });
}

}  // namespace lobby
