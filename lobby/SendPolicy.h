// Which copies the lobby sends to directly, besides its broadcasts. A copy that cannot hear
// the broadcasts (its lobby port is blocked or held by another program) hears the others only
// through what is sent to it directly, so:
//  - a copy is answered the first time its announcement is heard (even when it answered us
//    first: the answer tells it that we hear it);
//  - an announcement that reached our own socket (sent to us directly) is always answered;
//  - a copy heard on the lobby port that may not hear us (it has never answered us, and has
//    not sent to us directly lately) is answered again when it has gone kReanswerMs without
//    an answer. A copy that answered us heard our broadcast: it goes on hearing them. One that
//    sends to us directly hears only what we send it directly, for as long as it does;
//  - a copy not heard on the lobby port lately gets each announcement directly too.
// Every direct send passes the SendLimiter (per address and port, and overall), and an
// announcement goes directly to at most kMaxDirectPerAnnouncement copies, whatever the table
// holds. What is kept of a copy goes when the copy leaves the table. No sockets, no clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "lobby/AnnounceSchedule.h"
#include "lobby/Ipv4.h"
#include "lobby/LobbyPacket.h"
#include "lobby/PeerTable.h"
#include "lobby/SendLimiter.h"

namespace lobby {

class SendPolicy {
 public:
  // Over one announcement's interval and less than the time a copy is remembered: a lost
  // answer is repeated with its copy's announcement after next, about 6 s on.
  static constexpr std::uint64_t kReanswerMs = 5000;
  // A copy not heard on the lobby port for this long gets the announcements directly.
  static constexpr std::uint64_t kHeardLatelyMs = AnnounceSchedule::kIntervalMs + 1000;
  static constexpr std::size_t kMaxDirectPerAnnouncement = 8;

  // A packet of a copy the table lists (Heard::New or Refreshed) arrived from `from`, on the
  // lobby socket or on our own: answers whether to answer it now (the answer counted as sent).
  bool Heard(const Announcement& packet, Endpoint from, bool onLobbySocket, std::uint64_t nowMs);

  // Where an announcement goes directly, among the listed copies: those not heard on the lobby
  // port lately, the longest unserved first, within the limits (each counted as sent).
  std::vector<Endpoint> DirectTargets(const std::vector<Peer>& peers, std::uint64_t nowMs);

  // Where a goodbye goes directly: every listed copy that may not hear our broadcast (it sent
  // to us directly lately) or that we do not hear on the lobby port lately (once, as the window
  // closes; the table's bound is the bound).
  std::vector<Endpoint> GoodbyeTargets(const std::vector<Peer>& peers, std::uint64_t nowMs) const;

  // Forgets the copies the table no longer lists.
  void Prune(const std::vector<Peer>& peers);

  // Copies something is kept of; never more than the table lists after a Prune.
  std::size_t CopyCount() const { return copies_.size(); }
  const SendLimiter& Limiter() const { return limiter_; }

 private:
  struct Copy {
    std::uint64_t heardOnLobbyMs = 0;  // 0: never
    std::uint64_t answeredMs = 0;      // 0: never
    std::uint64_t directMs = 0;        // the last announcement sent to it directly; 0: never
    std::uint64_t directFromMs = 0;    // the last announcement it sent to us directly; 0: never
    bool answeredUs = false;
  };
  bool HeardOnLobbyLately(std::uint64_t instance, std::uint64_t nowMs) const;

  std::unordered_map<std::uint64_t, Copy> copies_;
  SendLimiter limiter_;
};

}  // namespace lobby
