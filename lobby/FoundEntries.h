// Turning copies found in the lobby into entries of the allowed list, compared with what is
// there the way the game reads the list, so adding never makes an entry the game would see
// twice or one for the player's own address. The list itself is not changed here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "PeerTable.h"

namespace lobby {

// For each chosen copy in order, "allow a.b.c.d:port" (its address heard and its game port,
// the entry launch::MakeAllowEntry makes), leaving out a copy whose address and port the game
// already reads from an "allow" line of the list ("allow 10.0.0.2" is 10.0.0.2:1635, the
// keyword in any case), that the game reads as the player's own interface field and port
// field, or that an earlier copy of this call already gave.
std::vector<std::string> EntriesToAdd(const std::vector<Peer>& chosen,
                                      const std::vector<std::string>& allowedList,
                                      std::string_view interfaceField, std::string_view portField);

}  // namespace lobby
