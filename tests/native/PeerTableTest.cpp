// The copies heard: listing, refreshing, goodbyes, forgetting, the 64-entry bound and a clock
// that goes back; and the limits on direct answers, under a flood of senders too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "PeerTable.h"

using lobby::Announcement;
using lobby::PacketKind;
using lobby::PeerTable;
using lobby::PlayerMode;
using Heard = lobby::PeerTable::Heard;

namespace {

constexpr std::uint64_t kOwn = 42;
constexpr std::uint32_t kHostA = 0xC0A80105;  // 192.168.1.5
constexpr std::uint32_t kHostB = 0xC0A80106;

Announcement Packet(std::uint64_t instance, PacketKind kind = PacketKind::Announce,
                    const char* nick = "Duke", std::uint16_t gamePort = 1635) {
  return {kind, instance, nick, gamePort, PlayerMode::AllowIps};
}

TEST(PeerTable, ListsNewCopiesInOrderAndRefreshesThemFromTheirAddress) {
  PeerTable table(kOwn);
  EXPECT_EQ(table.LastHeardMs(), 0u);
  EXPECT_EQ(table.Hear(Packet(7), kHostA, 5000, 100), Heard::New);
  EXPECT_EQ(table.Hear(Packet(8, PacketKind::Answer), kHostB, 6000, 200), Heard::New);
  Announcement changed{PacketKind::Answer, 7, "Nukem", 1700, PlayerMode::Broadcast};
  EXPECT_EQ(table.Hear(changed, kHostA, 5001, 300), Heard::Refreshed);

  ASSERT_EQ(table.Peers().size(), 2u);
  const lobby::Peer& first = table.Peers()[0];
  EXPECT_EQ(first.instance, 7u);
  EXPECT_EQ(first.nick, "Nukem");
  EXPECT_EQ(first.address, kHostA);
  EXPECT_EQ(first.sourcePort, 5001);
  EXPECT_EQ(first.gamePort, 1700);
  EXPECT_EQ(first.mode, PlayerMode::Broadcast);
  EXPECT_EQ(first.firstHeardMs, 100u);
  EXPECT_EQ(first.lastHeardMs, 300u);
  EXPECT_EQ(table.Peers()[1].instance, 8u);
  EXPECT_EQ(table.LastHeardMs(), 300u);
}

TEST(PeerTable, IgnoresItsOwnPackets) {
  PeerTable table(kOwn);
  EXPECT_EQ(table.Hear(Packet(kOwn), kHostA, 5000, 100), Heard::Ignored);
  EXPECT_TRUE(table.Peers().empty());
  EXPECT_EQ(table.LastHeardMs(), 0u);
}

TEST(PeerTable, ForgetsACopyTenSecondsAfterItWasLastHeard) {
  PeerTable table(kOwn);
  table.Hear(Packet(7), kHostA, 5000, 1000);
  table.Hear(Packet(8), kHostB, 5000, 1000);
  table.Hear(Packet(8), kHostB, 5000, 4000);
  EXPECT_FALSE(table.Expire(10999));
  EXPECT_TRUE(table.Expire(11000));
  ASSERT_EQ(table.Peers().size(), 1u);
  EXPECT_EQ(table.Peers()[0].instance, 8u);
  EXPECT_FALSE(table.Expire(13999));
  EXPECT_TRUE(table.Expire(14000));
  EXPECT_TRUE(table.Peers().empty());
}

TEST(PeerTable, GoodbyeCountsOnlyFromTheListedAddress) {
  PeerTable table(kOwn);
  table.Hear(Packet(7), kHostA, 5000, 0);
  EXPECT_EQ(table.Hear(Packet(7, PacketKind::Goodbye), kHostB, 5000, 10), Heard::Ignored);
  EXPECT_EQ(table.Hear(Packet(9, PacketKind::Goodbye), kHostA, 5000, 20), Heard::Ignored);
  EXPECT_EQ(table.Peers().size(), 1u);
  EXPECT_EQ(table.Hear(Packet(7, PacketKind::Goodbye), kHostA, 6000, 30), Heard::Gone);
  EXPECT_TRUE(table.Peers().empty());
  EXPECT_EQ(table.LastHeardMs(), 30u);
}

TEST(PeerTable, ListsAtMost64Copies) {
  PeerTable table(kOwn);
  for (std::uint64_t i = 1; i <= 64; ++i) {
    ASSERT_EQ(table.Hear(Packet(1000 + i), kHostA, 5000, i), Heard::New);
  }
  EXPECT_EQ(table.Hear(Packet(2000), kHostB, 5000, 100), Heard::Full);
  EXPECT_EQ(table.Hear(Packet(1001), kHostA, 5000, 100), Heard::Refreshed);
  EXPECT_EQ(table.Peers().size(), 64u);
  table.Hear(Packet(1064, PacketKind::Goodbye), kHostA, 5000, 100);
  EXPECT_EQ(table.Hear(Packet(2000), kHostB, 5000, 100), Heard::New);
  EXPECT_EQ(table.Peers().back().instance, 2000u);
}

TEST(PeerTable, TwoCopiesOnOneHostAreTwoEntries) {
  PeerTable table(kOwn);
  EXPECT_EQ(table.Hear(Packet(7, PacketKind::Announce, "a", 1635), kHostA, 5000, 0), Heard::New);
  EXPECT_EQ(table.Hear(Packet(8, PacketKind::Announce, "b", 1636), kHostA, 5001, 0), Heard::New);
  ASSERT_EQ(table.Peers().size(), 2u);
  EXPECT_EQ(table.Peers()[1].gamePort, 1636);
}

TEST(PeerTable, AKnownCopyHeardOnASecondAddressOnlyStaysAlive) {
  PeerTable table(kOwn);
  table.Hear(Packet(7), kHostA, 5000, 0);
  EXPECT_EQ(table.Hear(Packet(7, PacketKind::Announce, "Impostor", 9), kHostB, 6000, 9000),
            Heard::Refreshed);
  const lobby::Peer& peer = table.Peers().at(0);
  EXPECT_EQ(peer.address, kHostA);
  EXPECT_EQ(peer.sourcePort, 5000);
  EXPECT_EQ(peer.nick, "Duke");
  EXPECT_EQ(peer.gamePort, 1635);
  EXPECT_EQ(peer.lastHeardMs, 9000u);
  EXPECT_FALSE(table.Expire(18999));
}

TEST(PeerTable, AClockGoingBackCountsAsJustHeard) {
  PeerTable table(kOwn);
  table.Hear(Packet(7), kHostA, 5000, 50000);
  EXPECT_FALSE(table.Expire(1000));
  EXPECT_FALSE(table.Expire(10999));
  EXPECT_TRUE(table.Expire(11000));
  table.Hear(Packet(8), kHostA, 5000, 50000);
  EXPECT_EQ(table.Hear(Packet(8), kHostA, 5000, 20), Heard::Refreshed);
  EXPECT_FALSE(table.Expire(10019));
  EXPECT_TRUE(table.Expire(10020));
}

// One call to the limiter and the answer expected.
struct Ask {
  std::uint32_t address;
  std::uint64_t nowMs;
  bool allowed;
};

void ExpectAnswers(const std::vector<Ask>& asks) {
  lobby::AnswerLimiter limiter;
  for (const Ask& ask : asks) {
    EXPECT_EQ(limiter.Allow(ask.address, ask.nowMs), ask.allowed)
        << "address " << ask.address << " at " << ask.nowMs << " ms";
  }
}

TEST(AnswerLimiter, OneAnswerPerSenderInTwoSeconds) {
  ExpectAnswers({{kHostA, 0, true}, {kHostA, 1999, false}, {kHostB, 1999, true},
                 {kHostA, 2000, true},
                 // A refusal is not counted: the two seconds run from the last answer.
                 {kHostB, 3998, false}, {kHostB, 3999, true}});
}

TEST(AnswerLimiter, AtMostEightAnswersInAnySecond) {
  std::vector<Ask> asks;
  for (std::uint32_t sender = 1; sender <= 8; ++sender) asks.push_back({sender, sender - 1, true});
  asks.insert(asks.end(), {{9, 500, false}, {9, 999, false},
                           {9, 1000, true},  // the answer at 0 ms has left the second
                           {10, 1000, false}, {10, 1001, true}});
  ExpectAnswers(asks);
}

TEST(AnswerLimiter, AClockGoingBackCountsAsJustAnswered) {
  ExpectAnswers({{kHostA, 100000, true}, {kHostA, 50, false}, {kHostA, 2049, false},
                 {kHostA, 2050, true}});
}

TEST(AnswerLimiter, AFloodOfSendersGetsEightASecondInBoundedMemory) {
  lobby::AnswerLimiter limiter;
  unsigned allowed = 0;
  std::size_t mostRecords = 0;
  // 100,000 distinct senders at a time: one a millisecond for 100 s, then all at one instant.
  auto flood = [&](std::uint32_t firstAddress, auto nowMs) {
    for (std::uint32_t i = 0; i < 100000; ++i) {
      allowed += limiter.Allow(firstAddress + i, nowMs(i));
      mostRecords = std::max(mostRecords, limiter.RecordCount());
    }
  };
  flood(0x0A000000, [](std::uint32_t i) { return std::uint64_t{i}; });
  EXPECT_EQ(allowed, 800u);
  flood(0x0B000000, [](std::uint32_t) { return std::uint64_t{200000}; });
  EXPECT_EQ(allowed, 808u);
  EXPECT_LE(mostRecords, 2 * lobby::AnswerLimiter::kMaxPerSecond);
}

}  // namespace
