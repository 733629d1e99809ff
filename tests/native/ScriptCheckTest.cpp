// The network script read with the game's rules: sound set-ups give no problem; each way the
// game would refuse, hang, crash or ignore a player gives one, at the game's own boundaries (8
// other players in its network table, 15 "allow" lines read, the default port 1635, "any",
// keywords in any case).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Launch.h"
#include "ScriptCheck.h"
#include "TestFiles.h"

namespace {

using launch::NetScript;
using Lines = std::vector<std::string>;

NetScript Allow(const Lines& entries, const std::string& interfaceText = "192.168.1.4:1635") {
  NetScript script{"interface " + interfaceText, "mode peer"};
  script.insert(script.end(), entries.begin(), entries.end());
  script.emplace_back();
  return script;
}

NetScript Broadcast(const std::string& players) {
  return {"interface 192.168.1.4:1635", "mode peer", "broadcast " + players};
}

Lines Peers(int count) {
  Lines entries;
  for (int i = 1; i <= count; ++i) entries.push_back("allow 10.0.0." + std::to_string(i) + ":1635");
  return entries;
}

struct Case {
  const char* what;
  NetScript script;
  // A piece of each problem expected, in order; none for a sound set-up.
  Lines expected;
};

TEST(CheckNetScript, EachRuleOfTheGameAtItsBoundaries) {
  const Case cases[] = {
      {"two peers", Allow({"allow 192.168.1.5:1635", "allow 192.168.1.6:23513"}), {}},
      {"eight peers", Allow(Peers(8)), {}},
      {"nine peers", Allow(Peers(9)),
       {"The allowed list has 9 players: the game's network code supports at most 8 other "
        "players, and more can crash it."}},
      {"fifteen peers", Allow(Peers(15)), {"has 15 players: the game's network code supports"}},
      {"sixteen peers", Allow(Peers(16)),
       {"has 16 players: the game's network code supports at most 8",
        "has 16 players: the game takes the first 15 and would not wait for the rest, from "
        "\"allow 10.0.0.16:1635\" on"}},
      {"nine entries, one unreadable", Allow({"allow 10.0.0.1", "allow 10.0.0.2", "allow 10.0.0.3",
                                             "allow 10.0.0.4", "allow 10.0.0.5", "allow 10.0.0.6",
                                             "allow 10.0.0.7", "allow 10.0.0.8", "allow nobody"}),
       {"\"allow nobody\" is not an address"}},
      {"the own host on another port", Allow({"allow 192.168.1.4:1700"}), {}},
      {"keywords in any case", Allow({"ALLOW 10.0.0.2:1635", "Allow any"}, "ANY:1635"), {}},
      {"leading zeros are numbers", Allow({"allow 010.000.000.002"}), {}},
      {"own address", Allow({"allow 10.0.0.2:1635", "allow 192.168.1.4:1635"}),
       {"\"allow 192.168.1.4:1635\" is your own address and port"}},
      {"own address by the default port", Allow({"allow 192.168.1.4"}), {"your own address"}},
      {"own address, interface without port", Allow({"allow 192.168.1.4:1635"}, "192.168.1.4"),
       {"your own address"}},
      {"any interface has no own address", Allow({"allow 192.168.1.4:1635"}, "any"), {}},
      {"twice, the second by the default port", Allow({"allow 10.0.0.2:1635", "allow 10.0.0.2"}),
       {"\"allow 10.0.0.2\" is in the list twice (also as \"allow 10.0.0.2:1635\")"}},
      {"any twice", Allow({"allow any", "allow ANY:1635"}), {"in the list twice"}},
      {"empty list", Allow({}), {"The allowed list has nobody in it"}},
      {"nobody readable", Allow({"allow somebody"}),
       {"\"allow somebody\" is not an address the game can read", "nobody in it"}},
      {"unreadable addresses",
       Allow({"allow 10.0.0.9", "allow 300.1.1.1", "allow 10.0.0", "allow 10.0.0.2:",
              "allow 10.0.0.2:x", "allow 10.0.0.2:70000", "allow 10.0.0.2:0", "allow 1.2.3.4.5",
              "allow"}),
       {"\"allow 300.1.1.1\" is not an address", "\"allow 10.0.0\" is not", "\"allow 10.0.0.2:\"",
        "\"allow 10.0.0.2:x\"", "\"allow 10.0.0.2:70000\"", "\"allow 10.0.0.2:0\"",
        "\"allow 1.2.3.4.5\"", "\"allow\" is not an address"}},
      {"interface not an address", Allow({"allow 10.0.0.2:1635"}, "Own IP:1635"),
       {"The interface \"Own IP:1635\" is not an address the game can read"}},
      {"a line the game does not know", Allow({"# peers", "allow 10.0.0.2:1635"}),
       {"\"# peers\" is not a line the game knows"}},
      {"a long entry is named by its beginning",
       Allow({"allow 10.0.0.2:1635", "allow " + std::string(100, 'x')}),
       {"\"allow " + std::string(51, 'x') + "...\" is not an address"}},
      {"three players", Broadcast("3"), {}},
      {"eight players", Broadcast("8"), {}},
      {"nine players", Broadcast("9"),
       {"The number of players is 9: the game's network code supports at most 8 other players, "
        "and more can crash it."}},
      {"sixteen players", Broadcast("16"), {"The number of players is 16: the game's network"}},
      {"a count the game reads as 9", Broadcast("9 players"), {"is 9 players: the game's network"}},
      {"a count the game reads as 3", Broadcast("3 players"), {}},
      {"no players", Broadcast("0"), {"The number of players is 0: the game would give up"}},
      {"fewer than none", Broadcast("-2"), {"The number of players is -2: the game would give up"}},
      {"no count", Broadcast(""), {"The number of players is empty: the game reads it as 0"}},
      {"not a count", Broadcast("three"),
       {"The number of players \"three\" is not a number: the game reads it as 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Lines problems = launch::CheckNetScript(c.script);
    ASSERT_EQ(problems.size(), c.expected.size()) << testing::PrintToString(problems);
    for (size_t i = 0; i < problems.size(); ++i) {
      EXPECT_NE(problems[i].find(c.expected[i]), std::string::npos) << problems[i];
    }
  }
}

// Addresses no other player can have: the game would wait for them forever. 127/8 is another
// copy on this computer when the game itself plays on it.
TEST(CheckNetScript, AnEntryNoPlayerCanHaveIsNamed) {
  const launch::LocalNetworks local{{0xC0A801FF}};  // this computer's network: 192.168.1.255
  const struct {
    const char* entry;
    const char* reason;  // nullptr: reachable
  } cases[] = {
      {"0.0.0.0", "no machine has an address that begins with 0"},
      {"0.200.1.1", "no machine has"},
      {"127.0.0.1", "is this computer itself"},
      {"127.255.255.254", "is this computer itself"},
      {"224.0.0.1", "multicast"},
      {"239.255.255.250", "multicast"},
      {"240.0.0.1", "reserved"},
      {"254.1.1.1", "reserved"},
      {"255.255.255.255", "the broadcast address of every network"},
      {"192.168.1.255", "the broadcast address of your network"},
      {"1.0.0.0", nullptr},
      {"126.255.255.255", nullptr},
      {"128.0.0.1", nullptr},
      {"192.168.1.254", nullptr},
      // Another network's broadcast address: for all this computer knows, a machine's.
      {"192.168.2.255", nullptr},
      {"223.255.255.255", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    const Lines problems =
        launch::CheckNetScript(Allow({"allow " + std::string(c.entry) + ":1700"}), local);
    if (!c.reason) {
      EXPECT_EQ(problems, Lines{});
      continue;
    }
    ASSERT_EQ(problems.size(), 1u) << testing::PrintToString(problems);
    EXPECT_EQ(problems[0].rfind("\"allow " + std::string(c.entry) +
                                    ":1700\": the game cannot reach " + c.entry + " (",
                                0),
              0u)
        << problems[0];
    EXPECT_NE(problems[0].find(c.reason), std::string::npos) << problems[0];
  }
  // Several copies on one computer play on 127/8 together.
  EXPECT_EQ(launch::CheckNetScript(Allow({"allow 127.0.0.1:1700"}, "127.0.0.1:1635"), local),
            Lines{});
}

TEST(CheckNetScript, HundredThousandEntriesAreReadInOnePass) {
  Lines entries = launch_test::MakeLongList(100000).entries;
  entries.push_back(entries[7]);
  const Lines problems = launch::CheckNetScript(Allow(entries));
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_NE(problems[0].find("in the list twice"), std::string::npos);
  EXPECT_NE(problems[1].find("has 100001 players: the game's network code"), std::string::npos);
  EXPECT_NE(problems[2].find("has 100001 players: the game takes the first 15"), std::string::npos);
}

// A launch command asks before it writes anything, and only when there is a problem.
TEST(SaveAndPlayWithProblems, NoWritesNothingYesWritesWhatItAlwaysWrites) {
  launch_test::TempFolder refused, accepted, plain;
  launch_test::RecordedStarts starts;
  launch::LaunchInputs inputs;
  inputs.settings = {"d.exe", "John", "192.168.1.4", "1635"};
  inputs.allowed = {"allow 192.168.1.4:1635"};  // the own address
  inputs.launchPath = "d.exe";

  Lines asked;
  auto answer = [&](bool goOn) {
    return [&asked, goOn](const Lines& problems) {
      asked = problems;
      return goOn;
    };
  };
  {
    launch_test::CurrentDirectoryScope here(refused.Path());
    EXPECT_FALSE(launch::SaveAndPlayAllowList(inputs, answer(false)));
  }
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NE(asked[0].find("your own address"), std::string::npos);
  EXPECT_EQ(refused.Names(), Lines{});
  EXPECT_TRUE(starts.Requests().empty());

  {
    launch_test::CurrentDirectoryScope here(accepted.Path());
    EXPECT_TRUE(launch::SaveAndPlayAllowList(inputs, answer(true)));
  }
  {
    launch_test::CurrentDirectoryScope here(plain.Path());
    launch::SaveAndPlayAllowList(inputs);
  }
  for (const char* name : {"net.txt", "ips.txt", "settings.txt"}) {
    EXPECT_EQ(launch_test::ReadBytes(accepted / name), launch_test::ReadBytes(plain / name)) << name;
  }
  ASSERT_EQ(starts.Requests().size(), 2u);
  EXPECT_EQ(starts.Requests()[0], starts.Requests()[1]);

  // A sound set-up asks nothing.
  asked = {"not asked"};
  inputs.allowed = {"allow 192.168.1.5:1635"};
  launch_test::CurrentDirectoryScope here(plain.Path());
  EXPECT_TRUE(launch::SaveAndPlayAllowList(inputs, answer(false)));
  EXPECT_EQ(asked, Lines{"not asked"});
}

}  // namespace
