// The group check against real datagrams: stand-in games on a LAN of network namespaces, run
// in every start order. First the stand-ins reproduce what the real game was seen to do with
// three players; then they judge the group check's verdict on set-ups made at random.
// Skipped, with the reason, where namespaces or a bridge cannot be made (not root, say).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "lobby/GroupCheck.h"
#include "GroupLan.h"
#include "lobby/Mix64.h"

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

// The random set-ups. A generator of its own, so that the seed gives the same set-ups on every
// compiler and library.
class Dice {
 public:
  explicit Dice(std::uint64_t seed) : state_(seed) {}
  unsigned Below(unsigned n) { return static_cast<unsigned>(lobby::Mix64(state_ += 0x9E3779B97F4A7C15ull) % n); }
  bool Chance(unsigned percent) { return Below(100) < percent; }

 private:
  std::uint64_t state_;
};

// One thing a player gets wrong: an entry missing, a stale address where nobody plays, a wrong
// port; a count too high or too low, or another port.
void MakeMistake(Dice& dice, Group& group) {
  const std::size_t n = group.size();
  Player& p = group[dice.Below(static_cast<unsigned>(n))];
  std::vector<Player::Entry>& list = p.allowed;
  const unsigned mistake = dice.Below(3);
  if (p.broadcast) {
    if (mistake == 0) p.count = static_cast<int>(n);
    if (mistake == 1) p.count = static_cast<int>(n) - 2;
    // Common ports lie below kPort + 40, and a group's ports within kPortBand of kPort.
    if (mistake == 2) p.port = static_cast<std::uint16_t>(kPort + 50 + dice.Below(40));
  } else if (mistake == 0 && !list.empty()) {
    list.erase(list.begin() + dice.Below(static_cast<unsigned>(list.size())));
  } else if (mistake == 1) {
    const std::uint32_t stale = Lan::Address(60 + dice.Below(100));
    if (std::none_of(list.begin(), list.end(), [&](const Player::Entry& e) { return e.address == stale; })) {
      list.push_back({stale, p.port});
    }
  } else if (mistake == 2 && !list.empty()) {
    Player::Entry& e = list[dice.Below(static_cast<unsigned>(list.size()))];
    e.port = static_cast<std::uint16_t>(e.port + 1 + dice.Below(5));
  }
}

// Two to four players, all in "Allow IP's", all in "Broadcast on LAN" or some in each, set up
// right; then three groups in five get one or two mistakes, some of which the game forgives,
// so that about half the groups get everyone ready.
Group MakeGroup(Dice& dice) {
  const std::size_t n = 2 + dice.Below(3);
  const unsigned kind = dice.Below(5);  // 0, 1: Allow IP's; 2, 3: broadcast; 4: both
  const std::uint16_t common = static_cast<std::uint16_t>(kPort + dice.Below(40));
  const bool portEach = kind < 2 && dice.Chance(30);
  Group group(n);
  for (std::size_t i = 0; i < n; ++i) {
    group[i].broadcast = kind == 2 || kind == 3 || (kind == 4 && dice.Chance(50));
    group[i].port = static_cast<std::uint16_t>(portEach ? common + 2 * i : common);
    group[i].count = static_cast<int>(n) - 1;
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n && !group[i].broadcast; ++j) {
      if (j != i) group[i].allowed.push_back({Lan::Address(j), group[j].port});
    }
  }
  if (dice.Chance(60)) {
    for (unsigned m = 1 + dice.Below(2); m > 0; --m) MakeMistake(dice, group);
  }
  return group;
}

const char* const kNicks[] = {"Ann", "Ben", "Cat", "Dan"};

lobby::GroupVerdict Verdict(const Group& group) {
  std::vector<lobby::GroupMember> members;
  for (std::size_t i = 0; i < group.size(); ++i) {
    lobby::PlayerMode mode = group[i].broadcast ? lobby::PlayerMode::Broadcast : lobby::PlayerMode::AllowIps;
    lobby::GameSetup setup = lobby::ReadSetup(mode, group_test::ScriptOf(group, i), group[i].port);
    members.push_back({kNicks[i], setup, {Lan::Address(i)}});
  }
  return lobby::CheckGroup(members, 0);
}

// Ann's group as the group check defines it: linked through one allowing another's address, or
// both broadcasting on one port. Players outside it cannot reach anyone in it.
std::vector<bool> AnnsGroup(const Group& group) {
  auto lists = [&](std::size_t i, std::size_t j) {
    return std::any_of(group[i].allowed.begin(), group[i].allowed.end(),
                       [&](const Player::Entry& e) { return e.address == Lan::Address(j); });
  };
  std::vector<bool> in(group.size());
  in[0] = true;
  for (bool grew = true; grew;) {
    grew = false;
    for (std::size_t i = 0; i < group.size(); ++i) {
      for (std::size_t j = 0; j < group.size(); ++j) {
        bool linked = lists(i, j) || lists(j, i) ||
                      (group[i].broadcast && group[j].broadcast && group[i].port == group[j].port);
        if (in[i] && !in[j] && linked) grew = in[j] = true;
      }
    }
  }
  return in;
}

std::string Describe(const Group& group, const lobby::GroupVerdict& verdict, const std::vector<OrderRun>& runs) {
  std::string text = "set-up:\n";
  for (std::size_t i = 0; i < group.size(); ++i) {
    text += std::string("  ") + kNicks[i] + ":";
    for (const std::string& line : group_test::ScriptOf(group, i)) text += " | " + line;
    text += "\n";
  }
  text += std::string("verdict: everyone ready ") + (verdict.everyoneReady ? "yes" : "no") + "; group:";
  for (std::size_t i : verdict.group) text += std::string(" ") + kNicks[i];
  for (const std::string& problem : verdict.problems) text += "\n  problem: " + problem;
  text += "\nstand-ins (ports shifted per order):";
  for (const OrderRun& run : runs) {
    text += "\n  order";
    for (std::size_t i : run.order) text += std::string(" ") + kNicks[i];
    for (std::size_t i = 0; i < group.size(); ++i) {
      if (!run.Waited(i)) continue;
      std::string result = run.result[i];
      std::replace(result.begin(), result.end(), '\n', ' ');
      text += std::string("; ") + kNicks[i] + " " + result;
    }
  }
  return text;
}

TEST_F(GroupAgreement, CheckAgreesWithTheStandinsInEveryStartOrder) {
  constexpr std::uint64_t kSeed = 20240611;
  constexpr int kGroups = 24;
  Dice dice(kSeed);
  int everyoneReady = 0;
  std::size_t orders = 0, standins = 0;
  const auto start = std::chrono::steady_clock::now();
  std::vector<Group> groups;
  for (int g = 0; g < kGroups; ++g) groups.push_back(MakeGroup(dice));
  const std::vector<std::vector<OrderRun>> all = lan_->RunEveryOrder(groups);
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const Group& group = groups[g];
    const std::vector<OrderRun>& runs = all[g];
    const lobby::GroupVerdict verdict = Verdict(group);
    const std::vector<bool> in = AnnsGroup(group);
    bool ready = true;
    for (const OrderRun& run : runs) {
      for (std::size_t i = 0; i < group.size(); ++i) ready = ready && !(in[i] && run.Waited(i));
    }
    std::vector<bool> named(group.size());
    for (std::size_t i : verdict.group) named.at(i) = true;
    EXPECT_EQ(named, in) << "group " << g << ": the verdict's group\n" << Describe(group, verdict, runs);
    EXPECT_EQ(verdict.everyoneReady, ready) << "group " << g << "\n" << Describe(group, verdict, runs);
    everyoneReady += ready;
    orders += runs.size();
    standins += runs.size() * group.size();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("  set-ups  everyone ready  start orders  run again  stand-in runs  seconds\n"
              "  %7d  %14d  %12zu  %9d  %13zu  %7.1f\n",
              kGroups, everyoneReady, orders, lan_->OrdersRunAgain(), standins, seconds);
}

}  // namespace
