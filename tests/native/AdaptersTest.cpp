// Decisions from the adapter list: directed broadcasts for every kind of mask, which adapters
// count, where announcements go (and the fallback), which adapter a copy is on, and the advice
// on the Interface field.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lobby/Adapters.h"
#include "lobby/Ipv4.h"

using lobby::Adapter;

namespace {

std::uint32_t Ip(const char* text) { return lobby::ParseIpv4(text).value(); }

enum Flags { kUp = 1, kLoopback = 2, kBroadcast = 4, kLan = kUp | kBroadcast };

Adapter Make(const char* address, const char* mask, int flags = kLan, const char* name = "eth") {
  return {name, Ip(address), Ip(mask), (flags & kUp) != 0, (flags & kLoopback) != 0,
          (flags & kBroadcast) != 0};
}

lobby::Peer PeerAt(const char* address) {
  lobby::Peer peer;
  peer.address = Ip(address);
  peer.addresses = {peer.address};
  return peer;
}

TEST(Adapters, DirectedBroadcastForEachMask) {
  struct Case {
    const char* address;
    const char* mask;
    const char* broadcast;  // nullptr: none
  };
  const Case cases[] = {
      {"192.168.1.4", "255.255.255.0", "192.168.1.255"},
      {"172.16.5.4", "255.255.0.0", "172.16.255.255"},
      {"10.1.2.3", "255.0.0.0", "10.255.255.255"},
      {"192.168.0.4", "255.255.254.0", "192.168.1.255"},
      {"192.168.1.5", "255.255.255.252", "192.168.1.7"},
      {"192.168.1.5", "255.255.255.254", nullptr},  // /31
      {"192.168.1.5", "255.255.255.255", nullptr},  // /32
      {"192.168.1.5", "0.0.0.0", nullptr},
      {"192.168.1.5", "255.0.255.0", nullptr},      // not a prefix
      {"192.168.1.5", "255.255.255.253", nullptr},
      {"0.0.0.0", "255.255.255.0", nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<std::uint32_t> expected =
        c.broadcast ? std::optional(Ip(c.broadcast)) : std::nullopt;
    EXPECT_EQ(lobby::DirectedBroadcast(Make(c.address, c.mask)), expected)
        << c.address << "/" << c.mask;
  }
}

TEST(Adapters, OnlyUpNonLoopbackAdaptersWithAnAddressAreActive) {
  EXPECT_TRUE(lobby::IsActive(Make("192.168.1.4", "255.255.255.0")));
  EXPECT_TRUE(lobby::IsActive(Make("169.254.7.9", "255.255.0.0")));  // cable, no DHCP
  EXPECT_TRUE(lobby::IsActive(Make("10.0.0.1", "255.0.0.0", kUp)));  // no broadcast
  EXPECT_FALSE(lobby::IsActive(Make("192.168.1.4", "255.255.255.0", kBroadcast)));  // down
  EXPECT_FALSE(lobby::IsActive(Make("192.168.1.4", "255.255.255.0", kLan | kLoopback)));
  EXPECT_FALSE(lobby::IsActive(Make("127.0.0.1", "255.0.0.0")));
  EXPECT_FALSE(lobby::IsActive(Make("127.1.2.3", "255.255.255.0")));
  EXPECT_FALSE(lobby::IsActive(Make("0.0.0.0", "255.255.255.0")));
}

TEST(Adapters, AnnouncesOnEachBroadcastNetworkOnceElseOnTheLimitedBroadcast) {
  const std::vector<Adapter> adapters = {
      Make("127.0.0.1", "255.0.0.0", kLan | kLoopback),
      Make("192.168.1.4", "255.255.255.0"),
      Make("10.8.0.2", "255.255.255.255"),             // a tunnel: no broadcast address
      Make("172.16.0.9", "255.255.0.0", kBroadcast),   // down
      Make("10.0.0.5", "255.0.0.0", kUp),              // cannot broadcast
      Make("192.168.1.9", "255.255.255.0"),            // the same network again
      Make("169.254.3.4", "255.255.0.0"),
  };
  EXPECT_EQ(lobby::AnnounceTargets(adapters),
            (std::vector{Ip("192.168.1.255"), Ip("169.254.255.255")}));
  EXPECT_EQ(lobby::ActiveAdapterCount(adapters), 5u);

  const std::vector<std::uint32_t> fallback{lobby::kLimitedBroadcast};
  EXPECT_EQ(lobby::AnnounceTargets(std::nullopt), fallback);
  EXPECT_EQ(lobby::AnnounceTargets(std::vector<Adapter>{}), fallback);
  EXPECT_EQ(lobby::AnnounceTargets(std::vector{adapters[0], adapters[2], adapters[4]}), fallback);
}

TEST(Adapters, AdapterForIsTheActiveOneWithTheLongestPrefixThatHoldsTheAddress) {
  const std::vector<Adapter> adapters = {
      Make("192.168.1.4", "255.255.255.0", kBroadcast, "down"),
      Make("10.8.0.2", "255.0.0.0", kLan, "vpn"),
      Make("192.168.0.4", "255.255.0.0", kLan, "wide"),
      Make("10.1.2.3", "255.255.255.0", kLan, "lan"),
      Make("192.168.1.5", "255.255.255.0", kLan, "narrow"),
      Make("192.168.1.6", "255.255.255.0", kLan, "narrow again"),
      Make("10.0.0.1", "255.0.255.0", kLan, "odd mask"),
  };
  EXPECT_EQ(lobby::AdapterFor(Ip("10.1.2.77"), adapters), &adapters[3]);
  EXPECT_EQ(lobby::AdapterFor(Ip("10.1.3.77"), adapters), &adapters[1]);
  EXPECT_EQ(lobby::AdapterFor(Ip("192.168.1.77"), adapters), &adapters[4]);
  EXPECT_EQ(lobby::AdapterFor(Ip("192.168.200.1"), adapters), &adapters[2]);
  EXPECT_EQ(lobby::AdapterFor(Ip("11.5.0.9"), adapters), nullptr);
  EXPECT_EQ(lobby::AdapterFor(Ip("8.8.8.8"), adapters), nullptr);
}

TEST(Adapters, AdvisesTheAdapterMostCopiesAreOnWhenTheFieldIsOnNoneOfTheirNetworks) {
  const std::vector<Adapter> adapters = {
      Make("10.0.0.1", "255.0.0.0", kLan, "office"),
      Make("192.168.1.4", "255.255.255.0", kLan, "home"),
  };
  const std::vector<lobby::Peer> peers = {PeerAt("10.1.1.1"), PeerAt("192.168.1.8"),
                                          PeerAt("192.168.1.9"), PeerAt("8.8.8.8")};
  const auto advice = lobby::AdviseInterface(peers, adapters, "172.16.0.1");
  ASSERT_TRUE(advice);
  EXPECT_EQ(advice->adapterAddress, "192.168.1.4");
  EXPECT_EQ(advice->adapterName, "home");
  EXPECT_EQ(advice->peersHeard, 2u);

  EXPECT_EQ(lobby::AdviseInterface(peers, adapters, "192.168.1.4"), std::nullopt);
  EXPECT_EQ(lobby::AdviseInterface(peers, adapters, "192.168.001.04"), std::nullopt);
  // Another address on a network a copy was heard on serves as well.
  EXPECT_EQ(lobby::AdviseInterface(peers, adapters, "192.168.1.200"), std::nullopt);
  EXPECT_EQ(lobby::AdviseInterface(peers, adapters, "10.20.30.40"), std::nullopt);
  for (const char* field : {"", "any", "192.168.1.4 ", "my pc"}) {
    EXPECT_TRUE(lobby::AdviseInterface(peers, adapters, field)) << '"' << field << '"';
  }

  // A tie goes to the first adapter in the list.
  const std::vector<lobby::Peer> tie = {PeerAt("192.168.1.8"), PeerAt("10.1.1.1")};
  EXPECT_EQ(lobby::AdviseInterface(tie, adapters, "")->adapterName, "office");
  EXPECT_EQ(lobby::AdviseInterface({}, adapters, ""), std::nullopt);
  EXPECT_EQ(lobby::AdviseInterface({PeerAt("8.8.8.8")}, adapters, ""), std::nullopt);
}

// A copy heard on several addresses is added and shown with the one on the network of the
// Interface field's address, where this player's game will greet it.
TEST(Adapters, PreferredAddressIsTheOneOnTheInterfaceFieldsNetwork) {
  const std::vector<Adapter> adapters = {
      Make("10.77.0.11", "255.255.255.0", kLan, "lan"),
      Make("10.78.0.11", "255.255.255.0", kLan, "other"),
  };
  lobby::Peer peer = PeerAt("10.78.0.14");
  peer.addresses.push_back(Ip("10.77.0.14"));
  EXPECT_EQ(lobby::PreferredAddress(peer, adapters, "10.77.0.11"), Ip("10.77.0.14"));
  EXPECT_EQ(lobby::PreferredAddress(peer, adapters, "10.78.0.11"), Ip("10.78.0.14"));
  EXPECT_EQ(lobby::PreferredAddress(peer, adapters, "192.168.1.4"), Ip("10.78.0.14"));
  EXPECT_EQ(lobby::PreferredAddress(peer, adapters, "Own IP"), Ip("10.78.0.14"));
}

}  // namespace
