// Fuzzes the lobby's handling of what arrives from the network: any bytes decode without a
// fault, a packet that decodes encodes back to the very same bytes, and a stream of packets
// from senders of every address class, at varying times, on either socket, keeps the table of
// copies and the direct sends to their rules and bounds: nobody listed at an address no player
// can have, no direct send beyond its caps. Dotted text that parses formats back to the same
// address.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "FuzzCheck.h"
#include "lobby/Ipv4.h"
#include "lobby/LobbyPacket.h"
#include "lobby/PeerTable.h"
#include "lobby/SendPolicy.h"

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
lobby::PeerTable::Heard HearAndCheck(PeerTable& table, const lobby::Announcement& packet,
                                     lobby::Endpoint from, bool badSender, std::uint64_t nowMs) {
  const std::size_t before = table.Peers().size();
  const lobby::Peer* listed = Listed(table, packet.instance);
  const std::vector<std::uint32_t> listedAddresses =
      listed ? listed->addresses : std::vector<std::uint32_t>{};
  const bool knownAddress = std::find(listedAddresses.begin(), listedAddresses.end(),
                                      from.address) != listedAddresses.end();
  const Heard heard = table.Hear(packet, from, nowMs);
  const std::size_t after = table.Peers().size();
  Check(after <= PeerTable::kMaxPeers, "at most 64 copies listed");
  Check(table.Departed().size() <= PeerTable::kMaxPeers, "at most 64 departed copies kept");

  if (packet.instance == kOwnInstance) {
    Check(heard == Heard::Ignored, "own packets ignored");
  } else if (badSender) {
    Check(heard == Heard::Refused, "a sender no player can be is refused");
  } else {
    Check(table.LastHeardMs() == nowMs, "any other copy's packet counts as heard");
  }
  switch (heard) {
    case Heard::New:
      Check(!listed && after == before + 1, "a new copy adds one entry");
      Check(table.Peers().back().instance == packet.instance &&
                table.Peers().back().address == from.address && table.Peers().back().source == from,
            "a new copy is listed last, at the address heard");
      break;
    case Heard::Full:
      Check(!listed && before == PeerTable::kMaxPeers && after == before,
            "full only for a new copy at the bound");
      break;
    case Heard::Refreshed: {
      const lobby::Peer* now = Listed(table, packet.instance);
      Check(listed && after == before && now->address == listedAddresses.front() &&
                now->addresses.size() <= PeerTable::kMaxAddresses,
            "a refreshed copy stays where it is listed, with a few addresses");
      break;
    }
    case Heard::Gone:
      Check(packet.kind == lobby::PacketKind::Goodbye && knownAddress && after + 1 == before &&
                !Listed(table, packet.instance),
            "only a goodbye from an address of the copy removes it");
      break;
    case Heard::Refused:
      Check(badSender && after == before, "refused only for senders no player can be");
      break;
    case Heard::Ignored:
      Check(after == before, "an ignored packet changes nothing");
      Check(packet.instance == kOwnInstance ||
                (packet.kind == lobby::PacketKind::Goodbye && !knownAddress),
            "ignored only for own packets and stray goodbyes");
      break;
  }
  return heard;
}

// The send limits, checked independently of the limiter since the clock last went back (the
// limiter then counts every earlier send as made just now, which only refuses more).
class SendRules {
 public:
  void ClockWentBack() {
    lastSendMs_.clear();
    sends_.clear();
  }

  void Sent(lobby::Endpoint to, std::uint64_t nowMs) {
    const auto last = lastSendMs_.find(to.Key());
    Check(last == lastSendMs_.end() || nowMs - last->second >= 2000, "one send per target in 2 s");
    std::size_t inLastSecond = 0;
    for (std::uint64_t ms : sends_) inLastSecond += nowMs - ms < 1000;
    Check(inLastSecond < lobby::SendLimiter::kMaxPerSecond, "at most 8 direct sends a second");
    lastSendMs_[to.Key()] = nowMs;
    if (sends_.size() == lobby::SendLimiter::kMaxPerSecond) sends_.erase(sends_.begin());
    sends_.push_back(nowMs);
  }

 private:
  std::unordered_map<std::uint64_t, std::uint64_t> lastSendMs_;
  std::vector<std::uint64_t> sends_;  // the latest sends, oldest first
};

// This computer: 10.0.0.1/24, its broadcast address 10.0.0.255.
constexpr std::uint32_t kLocalBroadcast = 0x0A0000FF;

// 0/8, 127/8, 224/4 and 240/4 (255.255.255.255 among them) and this network's broadcast.
bool NoPlayersAddress(std::uint32_t address) {
  const std::uint32_t first = address >> 24;
  return first == 0 || first == 127 || first >= 224 || address == kLocalBroadcast;
}

// A sender of the class the selector names: the low five bits vary the host.
std::uint32_t SenderAddress(std::uint8_t selector, bool& bad) {
  const std::uint32_t low = selector & 0x1Fu;
  bad = true;
  switch (selector >> 5) {
    case 1:
      return low << 16;  // 0.x.x.x: no machine
    case 2:
      return 0x7F000000u | low;  // 127/8: this computer
    case 3:
      return 0xE0000000u | low << 24;  // 224/4: multicast
    case 4:
      return 0xF0000000u | low;  // 240/4: reserved
    case 5:
      return 0xFFFFFFFFu;  // everyone's broadcast
    case 6:
      return kLocalBroadcast;  // this network's broadcast
    case 7:
      bad = false;
      return 0xC0A80100u | low;  // a machine on another network
    default:
      bad = false;
      return 0x0A000000u | low | 0x20;  // a machine here
  }
}

}  // namespace

// The input is one packet, and also a stream of records: a length, the sender (its address
// class and host), a time step (0.05 s units, back when the top bit is set), and a byte whose
// top bit says the packet reached our own socket (else the lobby port), whose next bit makes
// the source port 0, and whose low six bits count further copies that send the same packet
// under the following instance ids; then the packet itself. Every 4 s of the clock the lobby
// announces, with its direct sends.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  DecodeAndRoundTrip(input);
  if (const std::optional<std::uint32_t> address = lobby::ParseIpv4(input)) {
    Check(lobby::ParseIpv4(lobby::FormatIpv4(*address)) == address, "addresses round trip");
  }

  PeerTable table(kOwnInstance);
  table.SetLocalNetworks({{kLocalBroadcast}, false});
  lobby::SendPolicy policy;
  SendRules rules;
  std::uint64_t nowMs = 1000000;
  std::uint64_t nextAnnounceMs = nowMs;
  while (input.size() >= kRecordHeader) {
    const auto length = static_cast<std::uint8_t>(input[0]);
    const auto selector = static_cast<std::uint8_t>(input[1]);
    const auto step = static_cast<std::uint8_t>(input[2]);
    const auto flags = static_cast<std::uint8_t>(input[3]);
    const std::string_view bytes = input.substr(kRecordHeader, length);
    input.remove_prefix(kRecordHeader + bytes.size());

    const std::uint64_t stepMs = (step & 0x7Fu) * 50u;
    if (step & 0x80) {
      rules.ClockWentBack();
      nextAnnounceMs = 0;
    }
    nowMs = step & 0x80 ? nowMs - std::min(nowMs, stepMs) : nowMs + stepMs;
    bool bad = false;
    const std::uint32_t address = SenderAddress(selector, bad);
    const bool portZero = (flags & 0x40) != 0;
    const lobby::Endpoint from{address,
                               static_cast<std::uint16_t>(portZero ? 0 : 5000 + (selector & 3))};
    const bool onLobbySocket = (flags & 0x80) == 0;

    std::optional<lobby::Announcement> packet = DecodeAndRoundTrip(bytes);
    if (packet) {
      for (unsigned copy = 0; copy <= (flags & 0x3Fu); ++copy, ++packet->instance) {
        const Heard heard = HearAndCheck(table, *packet, from, bad || portZero, nowMs);
        if ((heard == Heard::New || heard == Heard::Refreshed) &&
            policy.Heard(*packet, from, onLobbySocket, nowMs)) {
          rules.Sent(from, nowMs);
        }
      }
    }

    table.Expire(nowMs);
    policy.Prune(table.Peers());
    Check(policy.CopyCount() <= table.Peers().size(), "nothing kept of copies gone");
    if (nowMs >= nextAnnounceMs) {
      const std::vector<lobby::Endpoint> direct = policy.DirectTargets(table.Peers(), nowMs);
      Check(direct.size() <= lobby::SendPolicy::kMaxDirectPerAnnouncement,
            "at most 8 direct announcements at a time");
      for (const lobby::Endpoint& to : direct) rules.Sent(to, nowMs);
      nextAnnounceMs = nowMs + lobby::AnnounceSchedule::kIntervalMs;
    }
    for (const lobby::Peer& peer : table.Peers()) {
      Check(peer.lastHeardMs <= nowMs && nowMs - peer.lastHeardMs < PeerTable::kForgetAfterMs,
            "no copy outstays 10 s");
      for (std::uint32_t heardFrom : peer.addresses) {
        Check(!NoPlayersAddress(heardFrom), "no copy listed at an address no player can have");
      }
      Check(peer.source.port != 0, "no copy listed at port 0");
    }
  }
  return 0;
}
