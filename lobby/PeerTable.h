// The other copies of the program heard on the network while the players window is open: one
// entry per copy (its instance id), kept while it keeps announcing. The address listed is
// always the one its packets came from, never anything a packet claims. No sockets, no clock:
// the caller passes the time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "AnswerLimiter.h"
#include "LobbyPacket.h"

namespace lobby {

struct Peer {
  std::uint64_t instance = 0;
  std::string nick;
  std::uint32_t address = 0;     // where its packets come from, host order
  std::uint16_t sourcePort = 0;  // their source port: where a direct answer goes
  std::uint16_t gamePort = 0;
  PlayerMode mode = PlayerMode::AllowIps;
  std::uint64_t firstHeardMs = 0;
  std::uint64_t lastHeardMs = 0;
};

class PeerTable {
 public:
  // Enough for every copy on one network; the game itself plays with at most nine.
  static constexpr std::size_t kMaxPeers = 64;
  // A copy announces every 4 s or so; two missed announcements and a bit are tolerated.
  static constexpr std::uint64_t kForgetAfterMs = 10000;

  explicit PeerTable(std::uint64_t ownInstance);

  enum class Heard {
    Ignored,    // our own packet, or a goodbye that names no copy listed from that address
    New,        // listed now, at the end
    Refreshed,  // already listed
    Gone,       // a goodbye from the listed address: the copy is no longer listed
    Full,       // a new copy while kMaxPeers are listed: not listed
  };

  // A decoded packet from fromAddress:fromPort. An announce or answer of a listed copy from
  // its listed address takes its nick, game port, mode and source port; from another address
  // (the same host on a second adapter, or someone claiming its id) only keeps it alive, so
  // the entry never moves to an address the copy did not first announce from.
  Heard Hear(const Announcement& announcement, std::uint32_t fromAddress,
             std::uint16_t fromPort, std::uint64_t nowMs);

  // Removes every copy not heard for kForgetAfterMs or more; true when any went. A copy
  // last heard "after" nowMs (the caller's clock went back) counts as heard just now.
  bool Expire(std::uint64_t nowMs);

  // In the order first heard.
  const std::vector<Peer>& Peers() const { return peers_; }

  // When any packet of another copy was last heard (listed or not, goodbyes too); 0 for never.
  std::uint64_t LastHeardMs() const { return lastHeardMs_; }

 private:
  std::uint64_t ownInstance_;
  std::vector<Peer> peers_;
  std::uint64_t lastHeardMs_ = 0;
};

}  // namespace lobby
