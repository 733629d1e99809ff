// Encoding and decoding the lobby packet, byte by byte at fixed offsets.
#include "lobby/LobbyPacket.h"

#include <algorithm>

namespace lobby {
namespace {

constexpr std::string_view kMagic = "LVLB";
constexpr std::uint8_t kFirstVersion = 1;
constexpr std::uint8_t kSetupVersion = 2;
constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kInstanceAt = 6;
constexpr std::size_t kGamePortAt = 14;
// The set-up block without its entries: address, flags, count, entry count, fingerprint.
constexpr std::size_t kSetupSize = 4 + 1 + 1 + 1 + 16;
constexpr std::uint8_t kReadyFlag = 1;
constexpr std::uint8_t kMoreFlag = 2;

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

void PutBigEndian(std::string& bytes, std::uint64_t value, int size) {
  for (int shift = (size - 1) * 8; shift >= 0; shift -= 8) {
    bytes += static_cast<char>(value >> shift & 0xFF);
  }
}

std::uint64_t GetBigEndian(std::string_view bytes, std::size_t at, int size) {
  std::uint64_t value = 0;
  for (int i = 0; i < size; ++i) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

void PutSetup(std::string& bytes, const GameSetup& setup) {
  const std::size_t entries = std::min(setup.allowed.size(), kMaxAnnounced);
  PutBigEndian(bytes, setup.listen.address, 4);
  bytes += static_cast<char>((setup.ready ? kReadyFlag : 0) |
                             (setup.moreAllowed || setup.allowed.size() > entries ? kMoreFlag : 0));
  bytes += static_cast<char>(setup.broadcastCount);
  bytes += static_cast<char>(entries);
  for (std::size_t i = 0; i < entries; ++i) {
    PutBigEndian(bytes, setup.allowed[i].address, 4);
    PutBigEndian(bytes, setup.allowed[i].port, 2);
  }
  bytes.append(setup.game.begin(), setup.game.end());
}

// The set-up block at `at`, which must be all that is left of the packet.
std::optional<GameSetup> GetSetup(std::string_view bytes, std::size_t at, const Announcement& a) {
  if (bytes.size() < at + kSetupSize) return std::nullopt;
  const auto flags = static_cast<std::uint8_t>(bytes[at + 4]);
  const auto entries = static_cast<std::uint8_t>(bytes[at + 6]);
  if ((flags & ~(kReadyFlag | kMoreFlag)) != 0 || entries > kMaxAnnounced) return std::nullopt;
  if (bytes.size() != at + kSetupSize + 6u * entries) return std::nullopt;

  GameSetup setup;
  setup.mode = a.mode;
  setup.listen = {static_cast<std::uint32_t>(GetBigEndian(bytes, at, 4)), a.gamePort};
  setup.ready = (flags & kReadyFlag) != 0;
  setup.moreAllowed = (flags & kMoreFlag) != 0;
  setup.broadcastCount = static_cast<std::uint8_t>(bytes[at + 5]);
  std::size_t entry = at + 7;
  for (std::uint8_t i = 0; i < entries; ++i, entry += 6) {
    const Endpoint allowed{static_cast<std::uint32_t>(GetBigEndian(bytes, entry, 4)),
                           static_cast<std::uint16_t>(GetBigEndian(bytes, entry + 4, 2))};
    if (allowed.port == 0) return std::nullopt;
    setup.allowed.push_back(allowed);
  }
  for (std::size_t i = 0; i < setup.game.size(); ++i) {
    setup.game[i] = static_cast<std::uint8_t>(bytes[entry + i]);
  }
  return setup;
}

}  // namespace

std::string AnnouncedNick(std::string_view nickField) {
  std::string nick;
  for (const char c : nickField) {
    if (nick.size() == kMaxNickBytes) break;
    if (!IsControl(static_cast<unsigned char>(c))) nick += c;
  }
  return nick;
}

std::string EncodePacket(const Announcement& announcement) {
  const std::string nick = AnnouncedNick(announcement.nick);
  std::string bytes(kMagic);
  bytes.reserve(kLargestPacket);
  bytes += static_cast<char>(announcement.setup ? kSetupVersion : kFirstVersion);
  bytes += static_cast<char>(announcement.kind);
  PutBigEndian(bytes, announcement.instance, 8);
  PutBigEndian(bytes, announcement.gamePort, 2);
  bytes += static_cast<char>(announcement.mode);
  bytes += static_cast<char>(nick.size());
  bytes += nick;
  if (announcement.setup) PutSetup(bytes, *announcement.setup);
  return bytes;
}

std::optional<Announcement> DecodePacket(std::string_view bytes) {
  if (bytes.size() < kHeaderSize || bytes.size() > kLargestPacket) return std::nullopt;
  if (bytes.substr(0, kMagic.size()) != kMagic) return std::nullopt;
  const auto version = static_cast<std::uint8_t>(bytes[4]);
  if (version != kFirstVersion && version != kSetupVersion) return std::nullopt;

  const auto kind = static_cast<std::uint8_t>(bytes[5]);
  const auto mode = static_cast<std::uint8_t>(bytes[16]);
  const auto nickSize = static_cast<std::uint8_t>(bytes[17]);
  if (kind < 1 || kind > 3 || mode > 1 || nickSize > kMaxNickBytes) return std::nullopt;
  const std::size_t nickEnd = kHeaderSize + nickSize;
  if (bytes.size() < nickEnd || (version == kFirstVersion && bytes.size() != nickEnd)) {
    return std::nullopt;
  }

  Announcement announcement;
  announcement.kind = static_cast<PacketKind>(kind);
  announcement.instance = GetBigEndian(bytes, kInstanceAt, 8);
  announcement.gamePort = static_cast<std::uint16_t>(GetBigEndian(bytes, kGamePortAt, 2));
  announcement.mode = static_cast<PlayerMode>(mode);
  if (announcement.instance == 0 || announcement.gamePort == 0) return std::nullopt;

  announcement.nick = bytes.substr(kHeaderSize, nickSize);
  for (const char c : announcement.nick) {
    if (IsControl(static_cast<unsigned char>(c))) return std::nullopt;
  }
  if (version == kSetupVersion) {
    announcement.setup = GetSetup(bytes, nickEnd, announcement);
    if (!announcement.setup) return std::nullopt;
  }
  return announcement;
}

}  // namespace lobby
