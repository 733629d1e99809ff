// Fuzzes the lobby's handling of what arrives from the network: any bytes decode without a
// fault, a packet that decodes encodes back to the very same bytes, and a stream of packets
// from varying senders at varying times keeps the table of copies and the answer limiter to
// their rules and bounds. Dotted text that parses formats back to the same address.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "Ipv4.h"
#include "LobbyPacket.h"
#include "PeerTable.h"

namespace {

using lobby::PeerTable;
using Heard = PeerTable::Heard;

constexpr std::uint64_t kOwnInstance = 1;
constexpr std::size_t kRecordHeader = 4;

std::optional<lobby::Announcement> DecodeAndRoundTrip(std::string_view bytes) {
  std::optional<lobby::Announcement> decoded = lobby::DecodePacket(bytes);
  if (decoded) Check(lobby::EncodePacket(*decoded) == bytes, "a decoded packet encodes back");
  return decoded;
}

const lobby::Peer* Listed(const PeerTable& table, std::uint64_t instance) {
  for (const lobby::Peer& peer : table.Peers()) {
    if (peer.instance == instance) return &peer;
  }
  return nullptr;
}

// Hears the packet and checks the outcome against the table before and after.
void HearAndCheck(PeerTable& table, const lobby::Announcement& packet, std::uint32_t from,
                  std::uint16_t fromPort, std::uint64_t nowMs) {
  const std::size_t before = table.Peers().size();
  const lobby::Peer* listed = Listed(table, packet.instance);
  const std::optional<std::uint32_t> listedAddress =
      listed ? std::optional(listed->address) : std::nullopt;
  const Heard heard = table.Hear(packet, from, fromPort, nowMs);
  const std::size_t after = table.Peers().size();
  Check(after <= PeerTable::kMaxPeers, "at most 64 copies listed");

  if (packet.instance == kOwnInstance) {
    Check(heard == Heard::Ignored, "own packets ignored");
  } else {
    Check(table.LastHeardMs() == nowMs, "any other copy's packet counts as heard");
  }
  switch (heard) {
    case Heard::New:
      Check(!listedAddress && after == before + 1, "a new copy adds one entry");
      Check(table.Peers().back().instance == packet.instance &&
                table.Peers().back().address == from,
            "a new copy is listed last, at the address heard");
      break;
    case Heard::Full:
      Check(!listedAddress && before == PeerTable::kMaxPeers && after == before,
            "full only for a new copy at the bound");
      break;
    case Heard::Refreshed:
      Check(listedAddress && after == before && Listed(table, packet.instance)->address ==
                                                    *listedAddress,
            "a refreshed copy stays at its address");
      break;
    case Heard::Gone:
      Check(packet.kind == lobby::PacketKind::Goodbye && listedAddress == from &&
                after + 1 == before && !Listed(table, packet.instance),
            "only a goodbye from the listed address removes");
      break;
    case Heard::Ignored:
      Check(after == before, "an ignored packet changes nothing");
      Check(packet.instance == kOwnInstance ||
                (packet.kind == lobby::PacketKind::Goodbye && listedAddress != from),
            "ignored only for own packets and stray goodbyes");
      break;
  }
}

// The limiter's rules, checked independently of it since the clock last went back (the
// limiter then counts every earlier answer as sent just now, which only refuses more).
class AnswerRules {
 public:
  void ClockWentBack() {
    lastAnswerMs_.fill(std::nullopt);
    answers_.clear();
  }

  void Ask(lobby::AnswerLimiter& limiter, std::uint8_t sender, std::uint32_t address,
             std::uint64_t nowMs) {
    if (!limiter.Allow(address, nowMs)) return;
    Check(!lastAnswerMs_[sender] || nowMs - *lastAnswerMs_[sender] >= 2000,
            "one answer per sender in 2 s");
    std::size_t inLastSecond = 0;
    for (std::uint64_t ms : answers_) inLastSecond += nowMs - ms < 1000;
    Check(inLastSecond < lobby::AnswerLimiter::kMaxPerSecond, "at most 8 answers a second");
    Check(limiter.RecordCount() <= lobby::AnswerLimiter::kMaxRecords, "bounded records");
    lastAnswerMs_[sender] = nowMs;
    if (answers_.size() == lobby::AnswerLimiter::kMaxPerSecond) answers_.erase(answers_.begin());
    answers_.push_back(nowMs);
  }

 private:
  std::array<std::optional<std::uint64_t>, 256> lastAnswerMs_{};
  std::vector<std::uint64_t> answers_;  // the latest answers, oldest first
};

}  // namespace

// The input is one packet, and also a stream of records: a length, the sender (the last number
// of 10.0.0.x), a time step (0.05 s units, back when the top bit is set) and a count of further
// copies that send the same packet under the following instance ids, then the packet itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  DecodeAndRoundTrip(input);
  if (const std::optional<std::uint32_t> address = lobby::ParseIpv4(input)) {
    Check(lobby::ParseIpv4(lobby::FormatIpv4(*address)) == address, "addresses round trip");
  }

  PeerTable table(kOwnInstance);
  lobby::AnswerLimiter limiter;
  AnswerRules rules;
  std::uint64_t nowMs = 1000000;
  while (input.size() >= kRecordHeader) {
    const auto length = static_cast<std::uint8_t>(input[0]);
    const auto sender = static_cast<std::uint8_t>(input[1]);
    const auto step = static_cast<std::uint8_t>(input[2]);
    const auto copies = static_cast<std::uint8_t>(input[3] & 0x7F);
    const std::string_view bytes = input.substr(kRecordHeader, length);
    input.remove_prefix(kRecordHeader + bytes.size());

    const std::uint64_t stepMs = (step & 0x7Fu) * 50u;
    if (step & 0x80) rules.ClockWentBack();
    nowMs = step & 0x80 ? nowMs - std::min(nowMs, stepMs) : nowMs + stepMs;
    const std::uint32_t from = 0x0A000000u | sender;
    const auto fromPort = static_cast<std::uint16_t>(5000 + (sender & 3));

    std::optional<lobby::Announcement> packet = DecodeAndRoundTrip(bytes);
    if (packet) {
      for (unsigned copy = 0; copy <= copies; ++copy, ++packet->instance) {
        HearAndCheck(table, *packet, from, fromPort, nowMs);
      }
      if (packet->kind != lobby::PacketKind::Goodbye) rules.Ask(limiter, sender, from, nowMs);
    }

    table.Expire(nowMs);
    for (const lobby::Peer& peer : table.Peers()) {
      Check(peer.lastHeardMs <= nowMs && nowMs - peer.lastHeardMs < PeerTable::kForgetAfterMs,
            "no copy outstays 10 s");
    }
  }
  return 0;
}
