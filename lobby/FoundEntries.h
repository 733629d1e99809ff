// Turning copies found in the lobby into entries of the allowed list, compared with what is
// there the way the game reads the list, so adding never makes an entry the game would see
// twice, one for the player's own address or one it cannot reach; and the number of players
// a broadcast game can count on. The list itself is not changed here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "lobby/Adapters.h"
#include "lobby/PeerTable.h"

namespace lobby {

// For each chosen copy in order, "allow a.b.c.d:port" (its PreferredAddress and its game
// port, the entry launch::MakeAllowEntry makes), leaving out a copy whose address and port
// the game already reads from an "allow" line of the list ("allow 10.0.0.2" is 10.0.0.2:1635,
// the keyword in any case), that the game reads as the player's own interface field and port
// field, that the game cannot reach (launch/PeerAddress.h), or that an earlier copy of this
// call already gave.
std::vector<std::string> EntriesToAdd(const std::vector<Peer>& chosen,
                                      const std::vector<std::string>& allowedList,
                                      std::string_view interfaceField, std::string_view portField,
                                      const std::vector<Adapter>& adapters);

// The copies a broadcast game on ownGamePort can count: the game greets 255.255.255.255 at its
// own port, so only copies in "Broadcast on LAN" mode on that port answer it; the others are
// counted apart, for the player to see why they are left out.
struct BroadcastCount {
  std::size_t counted = 0;    // "Broadcast on LAN" on the same game port
  std::size_t otherMode = 0;  // "Allow IP's": they greet only the addresses they list
  std::size_t otherPort = 0;  // "Broadcast on LAN" on another port
};
BroadcastCount CountBroadcastPlayers(const std::vector<Peer>& peers, std::uint16_t ownGamePort);

}  // namespace lobby
