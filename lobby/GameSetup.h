// What a copy's game would do at its start, as the copy announces it to the others: the
// address and port it listens on, its mode, and either the players it allows or how many
// others it waits for, all read from the network script the way the game reads it. A
// fingerprint of the game's files and the player's ready mark go with it. No sockets here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "lobby/Ipv4.h"
#include "launch/NetScript.h"

namespace lobby {

// The player's mode, as the main window has it.
enum class PlayerMode : std::uint8_t { AllowIps = 0, Broadcast = 1 };

// A hash of the game's executable and its data files; all zero while not known.
using Fingerprint = std::array<std::uint8_t, 16>;

struct GameSetup {
  PlayerMode mode = PlayerMode::AllowIps;
  // Where the game listens: the interface line's address (0 for "any" or a line the game
  // cannot read, when it listens on every interface) and the game port.
  Endpoint listen;
  // "Allow IP's": the entries the game reads, in the script's order (address 0 for "any"); at
  // most kMaxAnnounced are announced, and `moreAllowed` says that the list went on.
  std::vector<Endpoint> allowed;
  bool moreAllowed = false;
  // "Broadcast on LAN": the number of others the game waits for, as the game reads the count
  // (0 for none or fewer, at most 255).
  std::uint8_t broadcastCount = 0;
  Fingerprint game{};
  bool ready = false;

  bool operator==(const GameSetup&) const = default;
};

// The most entries a packet carries: the game's network code has room for 8 others.
inline constexpr std::size_t kMaxAnnounced = 8;

// The set-up the script gives for that mode, the game port being `gamePort` (the Port field
// as the game reads it). Fingerprint and ready mark are left for the caller.
GameSetup ReadSetup(PlayerMode mode, const launch::NetScript& script, std::uint16_t gamePort);

}  // namespace lobby
