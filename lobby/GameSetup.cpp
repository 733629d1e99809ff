// Reading a set-up from the script the way the game reads it.
#include "lobby/GameSetup.h"

#include <algorithm>
#include <optional>

#include "launch/GameAddress.h"
#include "launch/ScriptCheck.h"
#include "launch/ScriptLine.h"

namespace lobby {

GameSetup ReadSetup(PlayerMode mode, const launch::NetScript& script, std::uint16_t gamePort) {
  GameSetup setup;
  setup.mode = mode;
  setup.listen.port = gamePort;
  std::size_t allowLines = 0;
  for (const std::string& line : script) {
    const launch::ScriptLine split = launch::SplitScriptLine(line);
    if (split.keyword == "interface") {
      const std::optional<launch::GameAddress> address =
          launch::ReadGameAddress(launch::FirstWord(split.rest));
      setup.listen.address = address && !address->any ? address->host : 0;
    } else if (split.keyword == "allow") {
      const std::optional<launch::GameAddress> address =
          launch::ReadGameAddress(launch::FirstWord(split.rest));
      // The game skips what it cannot read, and reads at most kMaxScriptPeers lines.
      if (!address || ++allowLines > launch::kMaxScriptPeers) continue;
      if (setup.allowed.size() == kMaxAnnounced) {
        setup.moreAllowed = true;
        continue;
      }
      setup.allowed.push_back(
          {address->any ? 0 : address->host, static_cast<std::uint16_t>(address->port)});
    } else if (split.keyword == "broadcast") {
      bool hasDigits = false;
      setup.broadcastCount = static_cast<std::uint8_t>(
          std::clamp(launch::LeadingNumber(split.rest, hasDigits), 0L, 255L));
    }
  }
  return setup;
}

}  // namespace lobby
