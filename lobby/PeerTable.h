// The other copies of the program heard on the network while the players window is open: one
// entry per copy (its instance id), kept while it keeps announcing. The addresses listed are
// always those its packets came from, never anything a packet claims, and only addresses
// another player can have (launch/PeerAddress.h): a packet from 0.0.0.0, 127/8 (unless the
// lobby itself runs there), multicast, reserved or broadcast addresses, or from port 0, is
// dropped. No sockets, no clock: the caller passes the time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lobby/Ipv4.h"
#include "lobby/LobbyPacket.h"
#include "launch/PeerAddress.h"

namespace lobby {

struct Peer {
  std::uint64_t instance = 0;
  std::string nick;
  // The address it was first heard from: where it is listed.
  std::uint32_t address = 0;
  // Every address it was heard from, the first one first (a computer on two networks, or one
  // whose player changed the Interface field), at most PeerTable::kMaxAddresses.
  std::vector<std::uint32_t> addresses;
  // Where its latest packet came from: where a direct packet goes.
  Endpoint source;
  std::uint16_t gamePort = 0;
  PlayerMode mode = PlayerMode::AllowIps;
  // What its game would do, as its latest packet says; nothing from a copy of the first version.
  std::optional<GameSetup> setup;
  std::uint64_t firstHeardMs = 0;
  std::uint64_t lastHeardMs = 0;
};

class PeerTable {
 public:
  // Enough for every copy on one network; the game itself plays with at most nine.
  static constexpr std::size_t kMaxPeers = 64;
  // A copy announces every 4 s or so; two missed announcements and a bit are tolerated.
  static constexpr std::uint64_t kForgetAfterMs = 10000;
  static constexpr std::size_t kMaxAddresses = 4;
  // How long a copy that said goodbye is remembered for the group check: as long as a closed
  // players window's problems still warn a start (the goodbye may just be its player closing
  // the window to start the game).
  static constexpr std::uint64_t kRememberGoneMs = 60000;

  explicit PeerTable(std::uint64_t ownInstance);

  // This computer's networks, for the check of where packets come from.
  void SetLocalNetworks(launch::LocalNetworks local) { local_ = std::move(local); }

  enum class Heard {
    Ignored,    // our own packet, or a goodbye that names no copy heard from that address
    Refused,    // from an address or port no player can have: not listed
    New,        // listed now, at the end
    Refreshed,  // already listed
    Gone,       // a goodbye from one of its addresses: the copy is no longer listed, and is
                // remembered among the departed with the set-up the goodbye gave
    Full,       // a new copy while kMaxPeers are listed: not listed
  };

  // A decoded packet from `from`. An announce or answer of a listed copy takes its nick, game
  // port, mode, set-up and source, and adds the address when it is a new one and there is room;
  // a goodbye from any of its addresses removes it.
  Heard Hear(const Announcement& announcement, Endpoint from, std::uint64_t nowMs);

  // Removes every copy not heard for kForgetAfterMs or more, and every departed one that said
  // goodbye kRememberGoneMs ago or more; true when any went. A copy last heard "after" nowMs
  // (the caller's clock went back) counts as heard just now.
  bool Expire(std::uint64_t nowMs);

  // In the order first heard.
  const std::vector<Peer>& Peers() const { return peers_; }
  // The copies that said goodbye in the last kRememberGoneMs, oldest goodbye first, their
  // lastHeardMs the goodbye's time; a new copy heard from one of the same addresses with the
  // same game port (a window opened again is a new copy) takes the place of its departed one.
  // At most kMaxPeers.
  const std::vector<Peer>& Departed() const { return departed_; }

  // When any packet of another copy was last heard (listed or not, goodbyes too); 0 for never.
  std::uint64_t LastHeardMs() const { return lastHeardMs_; }

 private:
  std::uint64_t ownInstance_;
  launch::LocalNetworks local_;
  std::vector<Peer> peers_;
  std::vector<Peer> departed_;
  std::uint64_t lastHeardMs_ = 0;
};

}  // namespace lobby
