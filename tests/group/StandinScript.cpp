// The stand-in's reader of "net.txt": a keyword in any case and words split by blanks and tabs.
// An address is four dotted numbers of 0 to 255 or "any", with an optional ":port" of 1 to
// 65535; what cannot be read is passed over the way the game passes it over.
#include "StandinScript.h"

#include <cctype>
#include <optional>

namespace standin {
namespace {

constexpr std::uint16_t kDefaultPort = 1635;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// Splits off the text up to the first blank.
std::string_view TakeWord(std::string_view& text) {
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  std::string_view word = text.substr(0, end);
  text = SkipBlanks(text.substr(end));
  return word;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// A run of decimal digits, nothing else, whose value is at most `most`.
std::optional<std::uint32_t> Number(std::string_view digits, std::uint32_t most) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
    if (value > most) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

// "a.b.c.d[:port]" or "any[:port]"; "any" reads as address 0.
std::optional<Peer> ReadAddress(std::string_view word) {
  Peer peer{0, kDefaultPort};
  if (std::size_t colon = word.find(':'); colon != std::string_view::npos) {
    std::optional<std::uint32_t> port = Number(word.substr(colon + 1), 65535);
    if (!port || *port == 0) return std::nullopt;
    peer.port = static_cast<std::uint16_t>(*port);
    word = word.substr(0, colon);
  }
  if (Lower(word) == "any") return peer;
  for (int part = 0; part < 4; ++part) {
    std::size_t dot = part < 3 ? word.find('.') : word.size();
    if (dot == std::string_view::npos) return std::nullopt;
    std::optional<std::uint32_t> byte = Number(word.substr(0, dot), 255);
    if (!byte) return std::nullopt;
    peer.address = peer.address << 8 | *byte;
    word = word.substr(dot == word.size() ? dot : dot + 1);
  }
  return peer;
}

// The leading whole number of the text (an optional sign, then digits); 0 when none.
long long LeadingNumber(std::string_view text) {
  bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    if (value < 1'000'000'000) value = value * 10 + (c - '0');  // far past any count
  }
  return negative ? -value : value;
}

}  // namespace

Script ReadScript(std::string_view text) {
  Script script;
  int allowLines = 0;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view rest = SkipBlanks(line);
    std::string keyword = Lower(TakeWord(rest));
    if (keyword == "interface") {
      // A later interface line overrides an earlier one; an unreadable one leaves the game
      // on its own port.
      std::optional<Peer> at = ReadAddress(TakeWord(rest));
      script.port = at ? at->port : kDefaultPort;
    } else if (keyword == "allow" && allowLines++ < kMaxAllowLines) {
      if (std::optional<Peer> entry = ReadAddress(TakeWord(rest))) script.allowed.push_back(*entry);
    } else if (keyword == "broadcast") {
      script.broadcast = true;
      script.broadcastCount = LeadingNumber(rest);
    }
    // "mode peer" and every other line change nothing: the stand-in plays peer mode only.
  }
  return script;
}

std::string FormatPeer(const Peer& peer) {
  std::string out;
  for (int shift = 24; shift >= 0; shift -= 8) {
    out += std::to_string(peer.address >> shift & 0xFF);
    out += shift ? "." : ":";
  }
  return out + std::to_string(peer.port);
}

}  // namespace standin
