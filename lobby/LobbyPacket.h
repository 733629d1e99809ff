// The lobby's one UDP packet: a copy of the program saying who it is (announce, answer,
// goodbye) and what its game would do, and its encoding. Decoding is the gate for untrusted
// bytes: anything but a well-formed packet of a known version is dropped whole, never
// repaired. No sockets here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "lobby/GameSetup.h"

namespace lobby {

// The lobby's UDP port on every host: apart from the game's own port (1635) and from the
// ports other LAN games and discovery services use.
inline constexpr std::uint16_t kLobbyPort = 31635;

inline constexpr std::size_t kMaxNickBytes = 32;

enum class PacketKind : std::uint8_t {
  Announce = 1,  // the periodic broadcast while the players window is open
  Answer = 2,    // a direct reply to a copy that may not hear us otherwise
  Goodbye = 3,   // sent as the players window closes
};

struct Announcement {
  PacketKind kind = PacketKind::Announce;
  std::uint64_t instance = 0;  // random per opening of the window, never 0
  std::string nick;
  std::uint16_t gamePort = 0;  // the sender's game port, 1 to 65535
  PlayerMode mode = PlayerMode::AllowIps;
  // What its game would do; nothing from a copy of the first version ("set-up unknown").
  // Its mode and listening port are the packet's own mode and game port.
  std::optional<GameSetup> setup;

  bool operator==(const Announcement&) const = default;
};

// Version 1, 18 + n bytes, numbers big-endian:
//   0  "LVLB"         4  version 1        5  kind (1 to 3)
//   6  instance (8)   14 game port (2)    16 mode (0 or 1)
//   17 nick length n (0 to 32)            18 n nick bytes
// Version 2 (what this program sends): version 2, the same 18 + n bytes, then the set-up,
// 41 + n + 6k bytes in all:
//   18+n  listen address (4, 0 for any)
//   22+n  flags: 1 ready, 2 more entries than announced (no other bit)
//   23+n  broadcast count (1)              24+n  entry count k (0 to 8)
//   25+n  k entries of address (4) and port (2, 1 to 65535)
//   25+n+6k  fingerprint of the game's files (16)
// The nick is 8-bit text in the sender's ANSI code page: bytes 0x20 to 0x7E and 0x80 to 0xFF.
// Bytes 0x00 to 0x1F and 0x7F are control characters and never sent.
inline constexpr std::size_t kLargestPacket = 41 + kMaxNickBytes + 6 * kMaxAnnounced;

// The nick as it is announced: control characters dropped, then cut to its first 32 bytes.
// The core knows no code page, so a cut can split a double-byte character of an East Asian
// code page; the window shows such a byte as the system shows it.
std::string AnnouncedNick(std::string_view nickField);

// The packet for the announcement, its nick passed through AnnouncedNick: version 2 with its
// set-up (its first kMaxAnnounced entries), version 1 without. Callers never pass instance 0
// or game port 0 (our own code makes the announcement); such a packet would be encoded as it
// stands, and every receiver drops it.
std::string EncodePacket(const Announcement& announcement);

// The announcement in a packet, or nothing for anything but a valid packet of version 1 or 2:
// another size than its layout gives, a wrong magic, version, kind, mode, flag or entry
// count, instance 0, game port 0, an entry's port 0, a nick longer than 32 bytes. A nick with
// a control character drops the whole packet; it is not cleaned, since a sender that sends one
// is not our program. An empty nick is valid.
std::optional<Announcement> DecodePacket(std::string_view bytes);

}  // namespace lobby
