// Encoding and decoding the lobby packet, byte by byte at fixed offsets.
#include "LobbyPacket.h"

namespace lobby {
namespace {

constexpr std::string_view kMagic = "LVLB";
constexpr std::uint8_t kVersion = 1;
constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kInstanceAt = 6;
constexpr std::size_t kGamePortAt = 14;

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
  bytes.reserve(kHeaderSize + nick.size());
  bytes += static_cast<char>(kVersion);
  bytes += static_cast<char>(announcement.kind);
  PutBigEndian(bytes, announcement.instance, 8);
  PutBigEndian(bytes, announcement.gamePort, 2);
  bytes += static_cast<char>(announcement.mode);
  bytes += static_cast<char>(nick.size());
  bytes += nick;
  return bytes;
}

std::optional<Announcement> DecodePacket(std::string_view bytes) {
  if (bytes.size() < kHeaderSize || bytes.size() > kMaxPacketSize) return std::nullopt;
  if (bytes.substr(0, kMagic.size()) != kMagic) return std::nullopt;
  if (static_cast<std::uint8_t>(bytes[4]) != kVersion) return std::nullopt;

  const auto kind = static_cast<std::uint8_t>(bytes[5]);
  const auto mode = static_cast<std::uint8_t>(bytes[16]);
  const auto nickSize = static_cast<std::uint8_t>(bytes[17]);
  if (kind < 1 || kind > 3 || mode > 1) return std::nullopt;
  if (nickSize > kMaxNickBytes || bytes.size() != kHeaderSize + nickSize) return std::nullopt;

  Announcement announcement;
  announcement.kind = static_cast<PacketKind>(kind);
  announcement.instance = GetBigEndian(bytes, kInstanceAt, 8);
  announcement.gamePort = static_cast<std::uint16_t>(GetBigEndian(bytes, kGamePortAt, 2));
  announcement.mode = static_cast<PlayerMode>(mode);
  if (announcement.instance == 0 || announcement.gamePort == 0) return std::nullopt;

  announcement.nick = bytes.substr(kHeaderSize);
  for (const char c : announcement.nick) {
    if (IsControl(static_cast<unsigned char>(c))) return std::nullopt;
  }
  return announcement;
}

}  // namespace lobby
