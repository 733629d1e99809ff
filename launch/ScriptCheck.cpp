// The game's reading of the network script, and the problems it leads to.
#include "ScriptCheck.h"

#include "GameAddress.h"
#include "ScriptLine.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace launch {
namespace {

// The line or entry as the player typed it, in quotes; a very long one is cut short, so that
// one field of thousands of characters does not fill the screen.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kLongest = 60;
  const bool cut = text.size() > kLongest;
  // Appended piece by piece: GCC 12 at -O2 warns (-Wrestrict) about a false overlap inside a
  // chain of string concatenations here.
  std::string quoted;
  quoted.reserve(kLongest + 2);
  quoted += '"';
  quoted.append(cut ? text.substr(0, kLongest - 3) : text);
  if (cut) quoted += "...";
  quoted += '"';
  return quoted;
}

const char kNobody[] = "give up at once, with nobody to play with.";
const char kTooMany[] =
    "the game's network code supports at most 8 other players, and more can crash it.";

void CheckPlayers(std::string_view text, std::vector<std::string>& problems) {
  bool hasDigits = false;
  const long players = LeadingNumber(text, hasDigits);
  if (text.empty()) {
    problems.push_back(
        std::string("The number of players is empty: the game reads it as 0 and would ") + kNobody);
  } else if (!hasDigits) {
    problems.push_back("The number of players " + Quoted(text) +
                       " is not a number: the game reads it as 0 and would " + kNobody);
  } else if (players <= 0) {
    problems.push_back("The number of players is " + std::string(text) + ": the game would " +
                       kNobody);
  } else if (static_cast<unsigned long>(players) > kMaxOtherPlayers) {
    problems.push_back("The number of players is " + std::string(text) + ": " + kTooMany);
  }
}

}  // namespace

std::vector<std::string> CheckNetScript(const NetScript& script, const LocalNetworks& local) {
  std::vector<std::string> problems;
  LocalNetworks networks = local;
  std::optional<GameAddress> own;  // the interface, when it names one address
  bool broadcast = false;
  std::size_t peers = 0;
  std::string sixteenth;
  // Each address and port taken so far, with the entry that took it first.
  std::unordered_map<std::uint64_t, const std::string*> taken;

  for (const std::string& line : script) {
    const auto [keyword, rest] = SplitScriptLine(line);
    if (keyword.empty()) continue;
    if (keyword == "interface") {
      const std::optional<GameAddress> address = ReadGameAddress(FirstWord(rest));
      if (!address) {
        problems.push_back("The interface " + Quoted(rest) +
                           " is not an address the game can read (four numbers such as "
                           "192.168.1.4, or \"any\", and \":\" with the port): the game would "
                           "listen on every interface instead.");
      }
      own = address && !address->any ? address : std::nullopt;
      networks.loopback = local.loopback || (own && own->host >> 24 == 127);
    } else if (keyword == "allow") {
      const std::optional<GameAddress> address = ReadGameAddress(FirstWord(rest));
      if (!address) {
        problems.push_back(Quoted(line) +
                           " is not an address the game can read: the game would skip this "
                           "player.");
        continue;
      }
      if (++peers == kMaxScriptPeers + 1) sixteenth = line;
      const std::optional<std::string> unreachable =
          address->any ? std::nullopt : UnreachableReason(address->host, address->port, networks);
      if (unreachable) {
        problems.push_back(Quoted(line) + ": the game cannot reach " +
                           DottedAddress(address->host) + " (" + *unreachable +
                           ") and would wait for it forever.");
      } else if (own && own->Key() == address->Key()) {
        problems.push_back(Quoted(line) +
                           " is your own address and port (the Interface field): the game "
                           "would wait for it forever.");
      } else if (const auto [first, added] = taken.emplace(address->Key(), &line); !added) {
        problems.push_back(Quoted(line) + " is in the list twice (also as " +
                           Quoted(*first->second) +
                           "): the game would wait forever for the second one.");
      }
    } else if (keyword == "broadcast") {
      broadcast = true;
      CheckPlayers(rest, problems);
    } else if (keyword != "mode") {
      problems.push_back(Quoted(line) + " is not a line the game knows: the game would skip it.");
    }
  }

  if (!broadcast && peers == 0) {
    problems.push_back(std::string("The allowed list has nobody in it: the game would ") + kNobody);
  }
  if (!broadcast && peers > kMaxOtherPlayers) {
    problems.push_back("The allowed list has " + std::to_string(peers) + " players: " + kTooMany);
  }
  if (!broadcast && peers > kMaxScriptPeers) {
    problems.push_back("The allowed list has " + std::to_string(peers) +
                       " players: the game takes the first 15 and would not wait for the rest, "
                       "from " + Quoted(sixteenth) + " on.");
  }
  return problems;
}

}  // namespace launch
