// The group check against the game's start-up rules, one set-up each: allowed lists right,
// stale, one-sided or at wrong ports, broadcast counts right, too high and too low, broadcast
// on two ports, modes mixed, the own address, an older copy, another game, the ready marks;
// and the set-up read from a script the way the game reads it. The expected verdicts are
// worked out from the rules by hand, not taken from the check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lobby/GroupCheck.h"
#include "lobby/Ipv4.h"
#include "lobby/StartTogether.h"

namespace {

using lobby::CheckGroup;
using lobby::Endpoint;
using lobby::GroupMember;
using lobby::MemberState;
using lobby::PlayerMode;
using Lines = std::vector<std::string>;

std::uint32_t Ip(const char* text) { return lobby::ParseIpv4(text).value(); }

// A copy at 10.0.0.<host>, listening on its own address at `port`.
GroupMember Copy(const char* nick, int host, std::uint16_t port) {
  GroupMember member{nick, lobby::GameSetup{}, {0x0A000000u + static_cast<std::uint32_t>(host)}};
  member.setup->listen = {member.heardFrom[0], port};
  return member;
}
GroupMember Allowing(GroupMember member, std::vector<Endpoint> entries) {
  member.setup->allowed = std::move(entries);
  return member;
}
GroupMember Broadcasting(GroupMember member, std::uint8_t others) {
  member.setup->mode = PlayerMode::Broadcast;
  member.setup->broadcastCount = others;
  return member;
}
Endpoint At(int host, std::uint16_t port) {
  return {0x0A000000u + static_cast<std::uint32_t>(host), port};
}

struct Case {
  const char* what;
  std::vector<GroupMember> members;  // the first is this copy
  bool everyoneReady;
  // The states of the members, in order: R ready (not ticked), W waiting, U unknown.
  const char* states;
  // A piece of each problem expected, in order.
  Lines problems;
};

std::string States(const lobby::GroupVerdict& verdict) {
  std::string states;
  for (const lobby::MemberVerdict& member : verdict.members) {
    states += member.state == MemberState::Waiting   ? 'W'
              : member.state == MemberState::Unknown ? 'U'
                                                     : 'R';
  }
  return states;
}

TEST(GroupCheck, PredictsTheStartUpOfEachSetUp) {
  const GroupMember ann = Copy("Ann", 1, 1635), ben = Copy("Ben", 2, 1635),
                    cat = Copy("Cat", 3, 1700);
  const Case cases[] = {
      {"all lists right",
       {Allowing(ann, {At(2, 1635), At(3, 1700)}), Allowing(ben, {At(1, 1635), At(3, 1700)}),
        Allowing(cat, {At(1, 1635), At(2, 1635)})},
       true,
       "RRR",
       {}},
      {"a stale extra entry: that player waits, the others get ready",
       {Allowing(ann, {At(2, 1635), At(3, 1700)}), Allowing(ben, {At(1, 1635), At(3, 1700)}),
        Allowing(cat, {At(1, 1635), At(2, 1635), At(9, 1635)})},
       false,
       "RRW",
       {"Cat lists 10.0.0.9:1635, where nobody is playing: Cat's game will wait for it"}},
      {"left out of another's list: that player waits",
       {Allowing(ann, {At(2, 1635), At(3, 1700)}), Allowing(ben, {At(3, 1700)}),
        Allowing(cat, {At(1, 1635), At(2, 1635)})},
       false,
       "WRR",
       {"Ben does not list you: your game will wait for Ben, and Ben's ignores yours"}},
      {"both list each other at a wrong port: both wait",
       {Allowing(ann, {At(2, 1700)}), Allowing(ben, {At(1, 1700)})},
       false,
       "WW",
       {"You list Ben at port 1700, but Ben plays on port 1635",
        "Ben lists you at port 1700, but you play on port 1635"}},
      {"one side only at a wrong port: the game takes the port it is greeted from",
       {Allowing(ann, {At(2, 1700)}), Allowing(ben, {At(1, 1635)})},
       true,
       "RR",
       {}},
      {"broadcast beside full allowed lists",
       {Allowing(ann, {At(2, 1635), At(3, 1635)}), Allowing(ben, {At(1, 1635), At(3, 1635)}),
        Broadcasting(Copy("Cat", 3, 1635), 2)},
       true,
       "RRR",
       {}},
      {"an allowed list and a broadcast on another port, listed at its port",
       {Allowing(ann, {At(3, 1700)}), Broadcasting(cat, 1)},
       true,
       "RR",
       {}},
      {"an allowed list and a broadcast on another port, listed at the list's own",
       {Allowing(ann, {At(3, 1635)}), Broadcasting(cat, 1)},
       false,
       "WW",
       {"You list Cat at port 1635, but Cat plays on port 1700",
        "Cat plays Broadcast on LAN for 2 players; 1 is here"}},
      {"broadcast 2 on one port",
       {Broadcasting(ann, 2), Broadcasting(ben, 2), Broadcasting(Copy("Cat", 3, 1635), 2)},
       true,
       "RRR",
       {}},
      {"a count of 3 leaves that player waiting",
       {Broadcasting(ann, 3), Broadcasting(ben, 2), Broadcasting(Copy("Cat", 3, 1635), 2)},
       false,
       "WRR",
       {"You play Broadcast on LAN for 4 players; 3 are here"}},
      {"a count of 1 leaves another waiting",
       {Broadcasting(ann, 2), Broadcasting(ben, 2), Broadcasting(Copy("Cat", 3, 1635), 1)},
       false,
       "WWR",
       {"Cat plays Broadcast on LAN for 2 players, but 3 are here: Cat's game is ready with the "
        "first one it hears and ignores the others, who may wait for it"}},
      {"one player on another port leaves all waiting",
       {Broadcasting(ann, 2), Broadcasting(ben, 2), Broadcasting(cat, 2)},
       false,
       "WWU",
       {"You play Broadcast on LAN for 3 players; 2 are here",
        "Cat uses port 1700 for broadcast, you use 1635: your broadcasts do not reach each other",
        "Ben plays Broadcast on LAN for 3 players; 2 are here",
        "Cat uses port 1700 for broadcast, Ben uses 1635: their broadcasts do not reach each "
        "other"}},
      {"the own address in the list",
       {Allowing(ann, {At(2, 1635), At(1, 1635)}), Allowing(ben, {At(1, 1635)})},
       false,
       "WR",
       {"You list your own address 10.0.0.1:1635: the game will wait for itself"}},
      {"a copy of the first version: set-up unknown, never counted ready",
       {Allowing(ann, {At(2, 1635)}), GroupMember{"Ben", std::nullopt, {Ip("10.0.0.2")}}},
       false,
       "WU",
       {"Ben's set-up is unknown (an earlier version of Lanvora)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const lobby::GroupVerdict verdict = CheckGroup(c.members, 0);
    EXPECT_EQ(verdict.everyoneReady, c.everyoneReady);
    EXPECT_EQ(States(verdict), c.states);
    ASSERT_EQ(verdict.problems.size(), c.problems.size())
        << testing::PrintToString(verdict.problems);
    for (std::size_t i = 0; i < c.problems.size(); ++i) {
      EXPECT_NE(verdict.problems[i].find(c.problems[i]), std::string::npos) << verdict.problems[i];
    }
  }
}

// The group is everyone linked through set-ups, not only the players this copy lists.
TEST(GroupCheck, TheGroupIsEveryoneLinkedAndOnlyThem) {
  const std::vector<GroupMember> members = {
      Allowing(Copy("Ann", 1, 1635), {At(2, 1635)}),
      Allowing(Copy("Ben", 2, 1635), {At(1, 1635), At(3, 1635)}),
      Allowing(Copy("Cat", 3, 1635), {At(2, 1635), At(9, 1635)}),  // waits for nobody there
      Allowing(Copy("Dan", 4, 1635), {At(5, 1635)}),
      Allowing(Copy("Eve", 5, 1635), {At(4, 1635)}),
  };
  const lobby::GroupVerdict verdict = CheckGroup(members, 0);
  EXPECT_EQ(verdict.group, (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_FALSE(verdict.everyoneReady);
  EXPECT_EQ(States(verdict), "RRWUU");
  EXPECT_EQ(verdict.members[2].waitingFor, "10.0.0.9:1635");
  EXPECT_TRUE(CheckGroup(members, 3).everyoneReady);
}

TEST(GroupCheck, ReadyMarksAndAnotherGame) {
  std::vector<GroupMember> members = {Allowing(Copy("Ann", 1, 1635), {At(2, 1635)}),
                                      Allowing(Copy("Ben", 2, 1635), {At(1, 1635)})};
  members[0].setup->game[0] = 1;
  members[1].setup->ready = true;
  lobby::GroupVerdict verdict = CheckGroup(members, 0);
  EXPECT_TRUE(verdict.everyoneReady);
  EXPECT_EQ(verdict.members[0].state, MemberState::Set);
  EXPECT_EQ(verdict.members[1].state, MemberState::Ready);
  EXPECT_TRUE(verdict.problems.empty()) << "a game not known yet is no difference";

  members[1].setup->game[0] = 2;
  verdict = CheckGroup(members, 0);
  EXPECT_TRUE(verdict.everyoneReady);
  EXPECT_EQ(verdict.problems,
            Lines{"Ben's game differs from yours (another version or other data files): the game "
                  "may fall out of sync"});
}

// This copy starts once, when it and every other player of its group have ticked Ready and the
// group will get ready, and stays marked for the others; a change of its own set-up takes its
// mark away.
TEST(StartTogether, StartsOnceWhenEveryoneOfTheGroupIsReady) {
  std::vector<GroupMember> members = {Allowing(Copy("Ann", 1, 1635), {At(2, 1635)}),
                                      Allowing(Copy("Ben", 2, 1635), {At(1, 1635)})};
  const lobby::GameSetup& own = *members[0].setup;
  lobby::StartTogether start;
  EXPECT_FALSE(start.Update(own, CheckGroup(members, 0))) << "not ticked";
  start.SetReady(true, own);
  EXPECT_FALSE(start.Update(own, CheckGroup(members, 0))) << "Ben has not ticked";
  members[1].setup->ready = true;
  members[1].setup->game[0] = 7;
  members[0].setup->game[0] = 8;
  EXPECT_FALSE(start.Update(own, CheckGroup(members, 0))) << "another game: a problem";
  members[0].setup->game[0] = 0;
  EXPECT_TRUE(start.Ready());
  EXPECT_TRUE(start.Update(own, CheckGroup(members, 0)));
  EXPECT_TRUE(start.Ready()) << "still announced, for the others to start too";
  EXPECT_FALSE(start.Update(own, CheckGroup(members, 0))) << "once";
  start.SetReady(false, own);

  start.SetReady(true, own);
  lobby::GameSetup changed = own;
  changed.allowed.push_back(At(3, 1635));
  EXPECT_FALSE(start.Update(changed, CheckGroup(members, 0)));
  EXPECT_FALSE(start.Ready()) << "a changed set-up takes the mark away";
  EXPECT_FALSE(start.Update(own, CheckGroup(members, 0)));

  // Alone, nothing starts.
  const std::vector<GroupMember> alone = {Allowing(Copy("Ann", 1, 1635), {At(2, 1635)})};
  start.SetReady(true, *alone[0].setup);
  EXPECT_FALSE(start.Update(*alone[0].setup, CheckGroup(alone, 0)));
}

TEST(GameSetup, ReadFromTheScriptTheWayTheGameReadsIt) {
  const lobby::GameSetup allow =
      lobby::ReadSetup(PlayerMode::AllowIps,
                       {"interface 10.0.0.1:1635", "mode peer", "allow 10.0.0.2",
                        "ALLOW 10.0.0.3:1700", "allow nobody", "allow any:1800", ""},
                       1635);
  EXPECT_EQ(allow.listen, (Endpoint{Ip("10.0.0.1"), 1635}));
  EXPECT_EQ(allow.allowed,
            (std::vector<Endpoint>{{Ip("10.0.0.2"), 1635}, {Ip("10.0.0.3"), 1700}, {0, 1800}}));
  EXPECT_FALSE(allow.moreAllowed);

  launch::NetScript many{"interface Own IP:1635", "mode peer"};
  for (int i = 1; i <= 20; ++i) many.push_back("allow 10.0.1." + std::to_string(i));
  const lobby::GameSetup cut = lobby::ReadSetup(PlayerMode::AllowIps, many, 1635);
  EXPECT_EQ(cut.listen.address, 0u);
  EXPECT_EQ(cut.allowed.size(), lobby::kMaxAnnounced);
  EXPECT_TRUE(cut.moreAllowed);

  for (const auto& [text, count] : std::vector<std::pair<const char*, int>>{
           {"3", 3}, {" 3 players", 3}, {"-2", 0}, {"three", 0}, {"", 0}, {"300", 255}}) {
    const lobby::GameSetup broadcast = lobby::ReadSetup(
        PlayerMode::Broadcast,
        {"interface any:1635", "mode peer", std::string("broadcast ") + text}, 1635);
    EXPECT_EQ(broadcast.broadcastCount, count) << text;
    EXPECT_EQ(broadcast.listen.address, 0u);
  }
}

}  // namespace
