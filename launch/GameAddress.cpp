// The game's reading of one address word.
#include "GameAddress.h"

namespace launch {
namespace {

// A whole number of digits only, at most `largest`.
std::optional<unsigned> Number(std::string_view digits, unsigned largest) {
  if (digits.empty() || digits.size() > 6) return std::nullopt;
  unsigned value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value > largest) return std::nullopt;
  return value;
}

bool IsAny(std::string_view text) {
  if (text.size() != 3) return false;
  for (std::size_t i = 0; i < 3; ++i) {
    if ((text[i] | 0x20) != "any"[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<unsigned> ReadGamePort(std::string_view field) {
  const std::optional<unsigned> port = Number(field, 65535);
  if (!port || *port == 0) return std::nullopt;
  return port;
}

std::string DottedAddress(std::uint32_t host) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    text += std::to_string(host >> shift & 0xFF);
    if (shift != 0) text += '.';
  }
  return text;
}

std::optional<GameAddress> ReadGameAddress(std::string_view text) {
  GameAddress address;
  const std::size_t colon = text.find(':');
  if (colon != std::string_view::npos) {
    const std::optional<unsigned> port = ReadGamePort(text.substr(colon + 1));
    if (!port) return std::nullopt;
    address.port = *port;
    text = text.substr(0, colon);
  }
  if (IsAny(text)) {
    address.any = true;
    return address;
  }
  for (int part = 0; part < 4; ++part) {
    const std::size_t dot = part < 3 ? text.find('.') : text.size();
    if (dot == std::string_view::npos) return std::nullopt;
    const std::optional<unsigned> byte = Number(text.substr(0, dot), 255);
    if (!byte) return std::nullopt;
    address.host = address.host << 8 | *byte;
    text = text.substr(dot == text.size() ? dot : dot + 1);
  }
  return address;
}

}  // namespace launch
