// Entries for the copies found, compared with the list the way the game reads it: the default
// port, keywords in any case, the player's own address, a copy chosen twice, the order kept,
// an address the game cannot reach; and the copies a broadcast game can count on.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "lobby/FoundEntries.h"
#include "lobby/Ipv4.h"

using Lines = std::vector<std::string>;

namespace {

lobby::Peer PeerAt(const char* address, std::uint16_t gamePort) {
  lobby::Peer peer;
  peer.address = lobby::ParseIpv4(address).value();
  peer.addresses = {peer.address};
  peer.gamePort = gamePort;
  return peer;
}

TEST(FoundEntries, AddsOnlyWhatTheGameDoesNotReadYet) {
  const std::vector<lobby::Peer> chosen = {
      PeerAt("10.0.0.9", 1635),     // new
      PeerAt("10.0.0.2", 1635),     // "allow 10.0.0.2" names port 1635
      PeerAt("10.0.0.3", 23513),    // listed on another port only
      PeerAt("10.0.0.4", 1700),     // listed with the keyword in capitals
      PeerAt("192.168.1.4", 1635),  // the player's own interface and port
      PeerAt("192.168.1.4", 1636),  // a second copy on the player's host
      PeerAt("10.0.0.9", 1635),     // chosen twice
      PeerAt("10.0.0.5", 1635),     // only in a line the game cannot read
      PeerAt("10.0.0.1", 1635),     // new, after the others
  };
  const Lines list = {"allow 10.0.0.2", "allow 10.0.0.3:1635", "ALLOW\t010.0.0.4:1700",
                      "allow 10.0.0.5:0", "# allow 10.0.0.1:1635"};
  EXPECT_EQ(lobby::EntriesToAdd(chosen, list, "192.168.1.4", "1635", {}),
            (Lines{"allow 10.0.0.9:1635", "allow 10.0.0.3:23513", "allow 192.168.1.4:1636",
                   "allow 10.0.0.5:1635", "allow 10.0.0.1:1635"}));
}

TEST(FoundEntries, TheOwnAddressIsTheInterfaceLineAsTheGameReadsIt) {
  const std::vector<lobby::Peer> chosen = {PeerAt("192.168.1.4", 1635)};
  EXPECT_TRUE(lobby::EntriesToAdd(chosen, {}, " 192.168.1.4", "1635", {}).empty());
  EXPECT_TRUE(lobby::EntriesToAdd(chosen, {}, "192.168.001.4", "1635", {}).empty());
  EXPECT_EQ(lobby::EntriesToAdd(chosen, {}, "192.168.1.4", "1700", {}).size(), 1u);
  EXPECT_EQ(lobby::EntriesToAdd(chosen, {}, "any", "1635", {}).size(), 1u);
  EXPECT_EQ(lobby::EntriesToAdd(chosen, {}, "192.168.1.4", "", {}).size(), 1u);  // unreadable
}

TEST(FoundEntries, NothingForACopyTheGameCannotReach) {
  const lobby::Adapter lan{"lan", lobby::ParseIpv4("192.168.1.4").value(),
                           lobby::ParseIpv4("255.255.255.0").value(), true, false, true};
  const std::vector<lobby::Peer> chosen = {PeerAt("192.168.1.255", 1635), PeerAt("0.0.0.0", 1635),
                                           PeerAt("127.0.0.1", 1700), PeerAt("192.168.1.9", 1635)};
  EXPECT_EQ(lobby::EntriesToAdd(chosen, {}, "192.168.1.4", "1635", {lan}),
            Lines{"allow 192.168.1.9:1635"});
  // Copies on one computer, the game playing on 127/8 too.
  EXPECT_EQ(lobby::EntriesToAdd(chosen, {}, "127.0.0.1", "1635", {lan}),
            (Lines{"allow 127.0.0.1:1700", "allow 192.168.1.9:1635"}));
}

// The game's broadcast greets its own port only, and copies in "Allow IP's" mode greet only
// the addresses they list: neither counts for its number of players.
TEST(FoundEntries, ABroadcastGameCountsTheBroadcastCopiesOnItsPort) {
  std::vector<lobby::Peer> peers = {PeerAt("10.0.0.2", 1635), PeerAt("10.0.0.3", 1635),
                                    PeerAt("10.0.0.4", 1700), PeerAt("10.0.0.5", 1635)};
  for (lobby::Peer& peer : peers) peer.mode = lobby::PlayerMode::Broadcast;
  peers[3].mode = lobby::PlayerMode::AllowIps;
  const lobby::BroadcastCount count = lobby::CountBroadcastPlayers(peers, 1635);
  EXPECT_EQ(count.counted, 2u);
  EXPECT_EQ(count.otherPort, 1u);
  EXPECT_EQ(count.otherMode, 1u);
  EXPECT_EQ(lobby::CountBroadcastPlayers(peers, 1700).counted, 1u);
}

}  // namespace
