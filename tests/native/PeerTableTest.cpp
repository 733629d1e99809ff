// The copies heard: listing, refreshing, goodbyes, forgetting, the 64-entry bound, a clock that
// goes back, the addresses a copy is heard on, and senders no player can be.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "lobby/PeerTable.h"

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
  return {kind, instance, nick, gamePort, PlayerMode::AllowIps, std::nullopt};
}

TEST(PeerTable, ListsNewCopiesInOrderAndRefreshesThemFromTheirAddress) {
  PeerTable table(kOwn);
  EXPECT_EQ(table.LastHeardMs(), 0u);
  EXPECT_EQ(table.Hear(Packet(7), {kHostA, 5000}, 100), Heard::New);
  EXPECT_EQ(table.Hear(Packet(8, PacketKind::Answer), {kHostB, 6000}, 200), Heard::New);
  Announcement changed{PacketKind::Answer, 7, "Nukem", 1700, PlayerMode::Broadcast, std::nullopt};
  EXPECT_EQ(table.Hear(changed, {kHostA, 5001}, 300), Heard::Refreshed);

  ASSERT_EQ(table.Peers().size(), 2u);
  const lobby::Peer& first = table.Peers()[0];
  EXPECT_EQ(first.instance, 7u);
  EXPECT_EQ(first.nick, "Nukem");
  EXPECT_EQ(first.address, kHostA);
  EXPECT_EQ(first.source, (lobby::Endpoint{kHostA, 5001}));
  EXPECT_EQ(first.gamePort, 1700);
  EXPECT_EQ(first.mode, PlayerMode::Broadcast);
  EXPECT_EQ(first.firstHeardMs, 100u);
  EXPECT_EQ(first.lastHeardMs, 300u);
  EXPECT_EQ(table.Peers()[1].instance, 8u);
  EXPECT_EQ(table.LastHeardMs(), 300u);
}

TEST(PeerTable, IgnoresItsOwnPackets) {
  PeerTable table(kOwn);
  EXPECT_EQ(table.Hear(Packet(kOwn), {kHostA, 5000}, 100), Heard::Ignored);
  EXPECT_TRUE(table.Peers().empty());
  EXPECT_EQ(table.LastHeardMs(), 0u);
}

TEST(PeerTable, ForgetsACopyTenSecondsAfterItWasLastHeard) {
  PeerTable table(kOwn);
  table.Hear(Packet(7), {kHostA, 5000}, 1000);
  table.Hear(Packet(8), {kHostB, 5000}, 1000);
  table.Hear(Packet(8), {kHostB, 5000}, 4000);
  EXPECT_FALSE(table.Expire(10999));
  EXPECT_TRUE(table.Expire(11000));
  ASSERT_EQ(table.Peers().size(), 1u);
  EXPECT_EQ(table.Peers()[0].instance, 8u);
  EXPECT_FALSE(table.Expire(13999));
  EXPECT_TRUE(table.Expire(14000));
  EXPECT_TRUE(table.Peers().empty());
}

TEST(PeerTable, GoodbyeCountsOnlyFromAnAddressTheCopyWasHeardOn) {
  PeerTable table(kOwn);
  table.Hear(Packet(7), {kHostA, 5000}, 0);
  EXPECT_EQ(table.Hear(Packet(7, PacketKind::Goodbye), {kHostB, 5000}, 10), Heard::Ignored);
  EXPECT_EQ(table.Hear(Packet(9, PacketKind::Goodbye), {kHostA, 5000}, 20), Heard::Ignored);
  EXPECT_EQ(table.Peers().size(), 1u);
  EXPECT_EQ(table.Hear(Packet(7, PacketKind::Goodbye), {kHostA, 6000}, 30), Heard::Gone);
  EXPECT_TRUE(table.Peers().empty());
  EXPECT_EQ(table.LastHeardMs(), 30u);
}

TEST(PeerTable, RemembersACopyThatSaidGoodbyeForAMinuteWithItsLastSetup) {
  PeerTable table(kOwn);
  table.Hear(Packet(7), {kHostA, 5000}, 0);
  table.Hear(Packet(8, PacketKind::Announce, "b", 1636), {kHostA, 5001}, 0);
  Announcement bye = Packet(7, PacketKind::Goodbye);
  bye.setup = lobby::GameSetup{};
  bye.setup->ready = true;
  EXPECT_EQ(table.Hear(bye, {kHostA, 5000}, 1000), Heard::Gone);
  ASSERT_EQ(table.Departed().size(), 1u);
  EXPECT_EQ(table.Departed()[0].instance, 7u);
  EXPECT_EQ(table.Departed()[0].setup, bye.setup);
  // Another copy on the same host is another player; the forgetting of the living leaves it.
  table.Hear(Packet(8, PacketKind::Announce, "b", 1636), {kHostA, 5001}, 55000);
  EXPECT_FALSE(table.Expire(60999));
  EXPECT_EQ(table.Departed().size(), 1u);
  EXPECT_TRUE(table.Expire(61000));
  EXPECT_TRUE(table.Departed().empty());

  // Its window opened again: the new copy at the same place takes the departed one's place.
  table.Hear(Packet(9), {kHostB, 5000}, 70000);
  table.Hear(Packet(9, PacketKind::Goodbye), {kHostB, 5000}, 70001);
  EXPECT_EQ(table.Departed().size(), 1u);
  EXPECT_EQ(table.Hear(Packet(10), {kHostB, 5002}, 72000), Heard::New);
  EXPECT_TRUE(table.Departed().empty());
}

TEST(PeerTable, ListsAtMost64Copies) {
  PeerTable table(kOwn);
  for (std::uint64_t i = 1; i <= 64; ++i) {
    ASSERT_EQ(table.Hear(Packet(1000 + i), {kHostA, 5000}, i), Heard::New);
  }
  EXPECT_EQ(table.Hear(Packet(2000), {kHostB, 5000}, 100), Heard::Full);
  EXPECT_EQ(table.Hear(Packet(1001), {kHostA, 5000}, 100), Heard::Refreshed);
  EXPECT_EQ(table.Peers().size(), 64u);
  table.Hear(Packet(1064, PacketKind::Goodbye), {kHostA, 5000}, 100);
  EXPECT_EQ(table.Hear(Packet(2000), {kHostB, 5000}, 100), Heard::New);
  EXPECT_EQ(table.Peers().back().instance, 2000u);
}

TEST(PeerTable, TwoCopiesOnOneHostAreTwoEntries) {
  PeerTable table(kOwn);
  EXPECT_EQ(table.Hear(Packet(7, PacketKind::Announce, "a", 1635), {kHostA, 5000}, 0), Heard::New);
  EXPECT_EQ(table.Hear(Packet(8, PacketKind::Announce, "b", 1636), {kHostA, 5001}, 0), Heard::New);
  ASSERT_EQ(table.Peers().size(), 2u);
  EXPECT_EQ(table.Peers()[1].gamePort, 1636);
}

// A computer on two networks, or one whose player changed the Interface field: its addresses
// are kept (the first stays where it is listed), up to four; past that it only stays alive.
TEST(PeerTable, AKnownCopyHeardOnAnotherAddressKeepsThatOneToo) {
  PeerTable table(kOwn);
  table.Hear(Packet(7), {kHostA, 5000}, 0);
  EXPECT_EQ(table.Hear(Packet(7, PacketKind::Announce, "Renamed", 1700), {kHostB, 6000}, 9000),
            Heard::Refreshed);
  for (std::uint32_t host = kHostB + 1; host < kHostB + 5; ++host) {
    EXPECT_EQ(table.Hear(Packet(7, PacketKind::Announce, "Last"), {host, 6000}, 9000),
              Heard::Refreshed);
  }
  const lobby::Peer& peer = table.Peers().at(0);
  EXPECT_EQ(peer.address, kHostA);
  EXPECT_EQ(peer.addresses,
            (std::vector<std::uint32_t>{kHostA, kHostB, kHostB + 1, kHostB + 2}));
  EXPECT_EQ(peer.source, (lobby::Endpoint{kHostB + 2, 6000}));
  EXPECT_EQ(peer.nick, "Last");
  EXPECT_EQ(peer.lastHeardMs, 9000u);
  EXPECT_FALSE(table.Expire(18999));
  EXPECT_EQ(table.Hear(Packet(7, PacketKind::Goodbye), {kHostB + 4, 6000}, 9100), Heard::Ignored);
  EXPECT_EQ(table.Hear(Packet(7, PacketKind::Goodbye), {kHostB, 6000}, 9200), Heard::Gone);
}

// Packets from addresses no player can have are dropped, whatever they say: no machine is at
// 0.0.0.0, the broadcast addresses, multicast, port 0 (the address rules themselves are the
// launch core's, tested there). 127/8 is another copy on this computer only when the lobby
// itself runs there.
TEST(PeerTable, RefusesSendersNoPlayerCanBe) {
  PeerTable table(kOwn);
  table.SetLocalNetworks({{0xC0A801FF}, false});
  const lobby::Endpoint refused[] = {{0x00000000, 5000}, {0xFFFFFFFF, 5000}, {0xC0A801FF, 5000},
                                     {0xE0000001, 5000}, {0x7F000001, 5000}, {kHostA, 0}};
  for (const lobby::Endpoint& from : refused) {
    EXPECT_EQ(table.Hear(Packet(7), from, 10), Heard::Refused) << from.address << ":" << from.port;
  }
  EXPECT_TRUE(table.Peers().empty());
  EXPECT_EQ(table.LastHeardMs(), 0u);
  table.SetLocalNetworks({{0xC0A801FF}, true});
  EXPECT_EQ(table.Hear(Packet(7), {0x7F000001, 5000}, 20), Heard::New);
}

TEST(PeerTable, AClockGoingBackCountsAsJustHeard) {
  PeerTable table(kOwn);
  table.Hear(Packet(7), {kHostA, 5000}, 50000);
  EXPECT_FALSE(table.Expire(1000));
  EXPECT_FALSE(table.Expire(10999));
  EXPECT_TRUE(table.Expire(11000));
  table.Hear(Packet(8), {kHostA, 5000}, 50000);
  EXPECT_EQ(table.Hear(Packet(8), {kHostA, 5000}, 20), Heard::Refreshed);
  EXPECT_FALSE(table.Expire(10019));
  EXPECT_TRUE(table.Expire(10020));
}

}  // namespace
