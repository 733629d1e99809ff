// The group check against real datagrams: stand-in games on a LAN of network namespaces, run
// in every start order. First the stand-ins reproduce what the real game was seen to do with
// three players.
// Skipped, with the reason, where namespaces or a bridge cannot be made (not root, say).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "GroupLan.h"

using group_test::Group;
using group_test::Lan;
using group_test::Player;
using group_test::OrderRun;

namespace {

constexpr std::uint16_t kPort = 20000;

class GroupAgreement : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (std::optional<std::string> why = Lan::WhyNot()) {
      whyNot_ = *why;
    } else {
      lan_ = std::make_unique<Lan>(4);
    }
  }
  static void TearDownTestSuite() { lan_.reset(); }
  void SetUp() override {
    if (!lan_) GTEST_SKIP() << "no LAN of namespaces here: " << whyNot_;
  }

  static std::unique_ptr<Lan> lan_;
  static std::string whyNot_;
};
std::unique_ptr<Lan> GroupAgreement::lan_;
std::string GroupAgreement::whyNot_;

Player::Entry At(std::size_t player, std::uint16_t port = kPort) { return {Lan::Address(player), port}; }
Player Allows(std::vector<Player::Entry> entries) { return {false, kPort, std::move(entries), 0}; }
Player Broadcasts(int count, std::uint16_t port = kPort) { return {true, port, {}, count}; }

// Per player: 'R' ready in every order, 'W' waiting in every order, 'S' waiting in some only.
std::string Outcome(const std::vector<OrderRun>& runs) {
  std::string outcome;
  for (std::size_t p = 0; p < runs.front().result.size(); ++p) {
    std::size_t waits = 0;
    for (const OrderRun& run : runs) waits += run.Waited(p);
    outcome += waits == 0 ? 'R' : waits == runs.size() ? 'W' : 'S';
  }
  return outcome;
}

// Three players, Ann, Ben and Cat, as the real game was seen to treat them.
struct Seen {
  const char* what;
  Group group;
  const char* outcome;
};

void ExpectSeen(Lan& lan, const std::vector<Seen>& cases) {
  std::vector<Group> groups;
  for (const Seen& c : cases) groups.push_back(c.group);
  const std::vector<std::vector<OrderRun>> runs = lan.RunEveryOrder(groups);
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(Outcome(runs[i]), cases[i].outcome) << cases[i].what;
}

TEST_F(GroupAgreement, StandinsKeepAllowListsAsTheGameDoes) {
  const Player::Entry stale{Lan::Address(80), kPort};
  ExpectSeen(*lan_, {
      {"a stale extra entry: its player waits",
       {Allows({At(1), At(2), stale}), Allows({At(0), At(2)}), Allows({At(0), At(1)})}, "WRR"},
      {"Cat left out of Ann's list waits",
       {Allows({At(1)}), Allows({At(0), At(2)}), Allows({At(0), At(1)})}, "RRW"},
      {"Ann and Ben list each other at wrong ports",
       {Allows({At(1, kPort + 5), At(2)}), Allows({At(0, kPort + 5), At(2)}), Allows({At(0), At(1)})}, "WWR"},
      {"Ann lists Ben at a wrong port, Ben lists Ann right",
       {Allows({At(1, kPort + 5), At(2)}), Allows({At(0), At(2)}), Allows({At(0), At(1)})}, "RRR"},
  });
}

TEST_F(GroupAgreement, StandinsCountBroadcastsAsTheGameDoes) {
  ExpectSeen(*lan_, {
      {"broadcast 2 on one port", {Broadcasts(2), Broadcasts(2), Broadcasts(2)}, "RRR"},
      {"Ann waits for 3", {Broadcasts(3), Broadcasts(2), Broadcasts(2)}, "WRR"},
      {"Ann waits for 1: whoever comes after her first answer waits",
       {Broadcasts(1), Broadcasts(2), Broadcasts(2)}, "RSS"},
      {"Ann on another port", {Broadcasts(2, kPort + 7), Broadcasts(2), Broadcasts(2)}, "WWW"},
      {"Ann broadcasts beside full Allow lists",
       {Broadcasts(2), Allows({At(0), At(2)}), Allows({At(0), At(1)})}, "RRR"},
  });
}

}  // namespace
