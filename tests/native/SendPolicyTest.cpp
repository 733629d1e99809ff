// Direct sends: who is answered (first heard, sent to us directly, or again while it may not
// hear us), who gets the announcements directly, the caps on both whatever the table holds,
// and what is forgotten with a copy; and the limiter under them, under a flood of senders too.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "lobby/SendPolicy.h"

using lobby::Announcement;
using lobby::Endpoint;
using lobby::PacketKind;
using lobby::SendPolicy;

namespace {

constexpr Endpoint kA{0xC0A80105, 5000};   // 192.168.1.5
constexpr Endpoint kA2{0xC0A80105, 5001};  // a second copy on that computer
constexpr Endpoint kB{0xC0A80106, 5000};

Announcement Packet(std::uint64_t instance, PacketKind kind = PacketKind::Announce) {
  return {kind, instance, "Duke", 1635, lobby::PlayerMode::AllowIps, std::nullopt};
}

lobby::Peer PeerAt(std::uint64_t instance, Endpoint source) {
  lobby::Peer peer;
  peer.instance = instance;
  peer.address = source.address;
  peer.addresses = {source.address};
  peer.source = source;
  return peer;
}

constexpr bool kLobby = true;
constexpr bool kOwnSocket = false;

// Heard first on the lobby port: answered; then again, 5 s on at the earliest, with its
// announcements for as long as it has neither answered us nor sent to us directly (our answer
// may have been lost, or it cannot hear our broadcasts); never again once it has.
TEST(SendPolicy, ACopyIsAnsweredAgainOnlyWhileItMayNotHearUs) {
  SendPolicy policy;
  EXPECT_TRUE(policy.Heard(Packet(7), kA, kLobby, 1000));
  EXPECT_FALSE(policy.Heard(Packet(7), kA, kLobby, 2000));
  EXPECT_FALSE(policy.Heard(Packet(7), kA, kLobby, 5999));
  EXPECT_TRUE(policy.Heard(Packet(7), kA, kLobby, 6000));
  EXPECT_FALSE(policy.Heard(Packet(7), kA, kLobby, 10000));
  EXPECT_TRUE(policy.Heard(Packet(7), kA, kLobby, 11000));
  EXPECT_FALSE(policy.Heard(Packet(7, PacketKind::Answer), kA, kOwnSocket, 11100));
  EXPECT_FALSE(policy.Heard(Packet(7), kA, kLobby, 17000));
  EXPECT_FALSE(policy.Heard(Packet(7), kA, kLobby, 40000));
  // A copy that answered our broadcast first is answered once (that is how it learns that we
  // hear it), and never again.
  EXPECT_FALSE(policy.Heard(Packet(8, PacketKind::Answer), kB, kOwnSocket, 1000));
  EXPECT_TRUE(policy.Heard(Packet(8), kB, kLobby, 1500));
  EXPECT_FALSE(policy.Heard(Packet(8, PacketKind::Goodbye), kB, kLobby, 1600));
  EXPECT_FALSE(policy.Heard(Packet(8), kB, kLobby, 9000));
}

// An announcement that reached our own socket was sent to us because its sender cannot hear
// us otherwise: answered every time, as the limits allow; two copies on one computer each.
TEST(SendPolicy, AnAnnouncementSentDirectlyIsAlwaysAnsweredWithinTheLimits) {
  SendPolicy policy;
  EXPECT_TRUE(policy.Heard(Packet(7), kA, kOwnSocket, 0));
  EXPECT_TRUE(policy.Heard(Packet(9), kA2, kOwnSocket, 0));
  EXPECT_FALSE(policy.Heard(Packet(7), kA, kOwnSocket, 1999));
  EXPECT_TRUE(policy.Heard(Packet(7), kA, kOwnSocket, 4000));
  EXPECT_TRUE(policy.Heard(Packet(7), kA, kOwnSocket, 8000));
  // Meanwhile its broadcasts need no answer; once it stops sending to us (it has forgotten us),
  // they are answered again.
  EXPECT_FALSE(policy.Heard(Packet(7), kA, kLobby, 12000));
  EXPECT_TRUE(policy.Heard(Packet(7), kA, kLobby, 18000));
}

// Copies not heard on the lobby port lately get each announcement directly: at most 8 at a
// time, the longest unserved first, and all direct sends (answers too) 8 a second.
TEST(SendPolicy, DirectAnnouncementsAreCappedWhateverTheTableHolds) {
  SendPolicy policy;
  std::vector<lobby::Peer> peers;
  for (std::uint64_t i = 0; i < 20; ++i) {
    peers.push_back(PeerAt(100 + i, {0x0A000001 + static_cast<std::uint32_t>(i), 5000}));
  }
  peers.push_back(PeerAt(7, kA));
  policy.Heard(Packet(7, PacketKind::Answer), kA, kLobby, 0);  // heard on the lobby port
  const std::vector<Endpoint> first = policy.DirectTargets(peers, 1000);
  ASSERT_EQ(first.size(), SendPolicy::kMaxDirectPerAnnouncement);
  EXPECT_EQ(first.front(), peers[0].source);
  const std::vector<Endpoint> second = policy.DirectTargets(peers, 5000);
  ASSERT_EQ(second.size(), 8u);
  EXPECT_EQ(second.front(), peers[8].source);
  EXPECT_EQ(policy.DirectTargets(peers, 9000).front(), peers[16].source);
  // kA was heard on the lobby port at 0 ms: directly only once that is 5 s past, after the
  // copies served longest ago.
  std::vector<Endpoint> all;
  for (std::uint64_t t = 13000; t < 40000; t += 4000) {
    const std::vector<Endpoint> sent = policy.DirectTargets(peers, t);
    all.insert(all.end(), sent.begin(), sent.end());
  }
  EXPECT_NE(std::find(all.begin(), all.end(), kA), all.end());

  // Answers and direct announcements share the overall limit.
  SendPolicy busy;
  for (std::uint32_t i = 0; i < 8; ++i) {
    EXPECT_TRUE(busy.Heard(Packet(200 + i), {0x0B000001 + i, 5000}, kLobby, 50000));
  }
  EXPECT_TRUE(busy.DirectTargets(peers, 50500).empty());
  EXPECT_EQ(busy.DirectTargets(peers, 51000).size(), 8u);
}

TEST(SendPolicy, AGoodbyeGoesDirectlyToEveryCopyOnlyADirectPacketReachesAndGoneOnesAreForgotten) {
  SendPolicy policy;
  std::vector<lobby::Peer> peers;
  for (std::uint64_t i = 0; i < 64; ++i) {
    peers.push_back(PeerAt(100 + i, {0x0A000001 + static_cast<std::uint32_t>(i), 5000}));
    policy.Heard(Packet(100 + i), peers.back().source, i % 2 == 0 ? kLobby : kOwnSocket, 1000);
  }
  EXPECT_EQ(policy.GoodbyeTargets(peers, 2000).size(), 32u);
  // One we hear on the lobby port that sends to us directly cannot hear our broadcasts.
  policy.Heard(Packet(100), peers[0].source, kOwnSocket, 2000);
  EXPECT_EQ(policy.GoodbyeTargets(peers, 2000).size(), 33u);
  EXPECT_EQ(policy.GoodbyeTargets(peers, 7000).size(), 64u);
  EXPECT_EQ(policy.CopyCount(), 64u);
  peers.resize(3);
  policy.Prune(peers);
  EXPECT_EQ(policy.CopyCount(), 3u);
  policy.Prune({});
  EXPECT_EQ(policy.CopyCount(), 0u);
}

// One call to the limiter and the answer expected.
struct Ask {
  lobby::Endpoint to;
  std::uint64_t nowMs;
  bool allowed;
};

void ExpectAnswers(const std::vector<Ask>& asks) {
  lobby::SendLimiter limiter;
  for (const Ask& ask : asks) {
    EXPECT_EQ(limiter.Allow(ask.to, ask.nowMs), ask.allowed)
        << "to " << ask.to.address << ":" << ask.to.port << " at " << ask.nowMs << " ms";
  }
}

// Per address and port: two copies on one computer are two targets.
TEST(SendLimiter, OneSendPerTargetInTwoSeconds) {
  ExpectAnswers({{kA, 0, true}, {kA, 1999, false}, {kB, 1999, true}, {kA2, 1999, true},
                 {kA, 2000, true},
                 // A refusal is not counted: the two seconds run from the last send.
                 {kB, 3998, false}, {kB, 3999, true}});
}

TEST(SendLimiter, AtMostEightSendsInAnySecond) {
  std::vector<Ask> asks;
  for (std::uint32_t sender = 1; sender <= 8; ++sender) {
    asks.push_back({{sender, 5000}, sender - 1, true});
  }
  asks.insert(asks.end(), {{{9, 5000}, 500, false}, {{9, 5000}, 999, false},
                           {{9, 5000}, 1000, true},  // the send at 0 ms has left the second
                           {{10, 5000}, 1000, false}, {{10, 5000}, 1001, true}});
  ExpectAnswers(asks);
}

TEST(SendLimiter, AClockGoingBackCountsAsJustSent) {
  ExpectAnswers({{kA, 100000, true}, {kA, 50, false}, {kA, 2049, false}, {kA, 2050, true}});
}

TEST(SendLimiter, AFloodOfSendersGetsEightASecondInBoundedMemory) {
  lobby::SendLimiter limiter;
  unsigned allowed = 0;
  std::size_t mostRecords = 0;
  // 100,000 distinct senders at a time: one a millisecond for 100 s, then all at one instant.
  auto flood = [&](std::uint32_t firstAddress, auto nowMs) {
    for (std::uint32_t i = 0; i < 100000; ++i) {
      allowed += limiter.Allow({firstAddress + i, 5000}, nowMs(i));
      mostRecords = std::max(mostRecords, limiter.RecordCount());
    }
  };
  flood(0x0A000000, [](std::uint32_t i) { return std::uint64_t{i}; });
  EXPECT_EQ(allowed, 800u);
  flood(0x0B000000, [](std::uint32_t) { return std::uint64_t{200000}; });
  EXPECT_EQ(allowed, 808u);
  EXPECT_LE(mostRecords, 2 * lobby::SendLimiter::kMaxPerSecond);
}

}  // namespace
