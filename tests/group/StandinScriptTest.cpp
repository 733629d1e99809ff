// The stand-in's reading of net.txt, on scripts the program never writes (other cases, tabs,
// unreadable words, long lists): the LAN cases only ever feed it the program's own scripts.
// Needs no namespaces.
#include <gtest/gtest.h>

#include <string>

#include "StandinScript.h"

using standin::Peer;
using standin::ReadScript;
using standin::Script;

namespace {

TEST(GroupStandinScript, ReadsWordsInAnyCaseAndPassesOverWhatItCannotRead) {
  Script s = ReadScript(
      "  INTERFACE\t10.0.0.1:2000 extra\r\n"
      "Mode Peer\n"
      "\n"
      "Allow 10.0.0.2\n"                // the game's own port
      "allow\t010.0.0.3:65535 more\n"  // leading zeros; words after the address
      "allow 10.0.0.256:2000\n"
      "allow 10.0.0.4:0\n"
      "allow 10.0.0.5:65536\n"
      "allow 10.0.0\n"
      "allow 10.0.0.4.1\n"
      "allow\n"
      "allows 10.0.0.6\n"
      "allow ANY:3000\n");
  EXPECT_FALSE(s.broadcast);
  EXPECT_EQ(s.port, 2000);
  EXPECT_EQ(s.allowed, (std::vector<Peer>{{0x0A000002, 1635}, {0x0A000003, 65535}, {0, 3000}}));
}

TEST(GroupStandinScript, ReadsOnlyTheFirstAllowLinesReadableOrNot) {
  std::string text = "interface 10.0.0.1:x\nallow junk\n";
  for (int i = 1; i <= standin::kMaxAllowLines; ++i) text += "allow 10.0.1." + std::to_string(i) + "\n";
  Script s = ReadScript(text);
  EXPECT_EQ(s.port, 1635) << "an unreadable interface line leaves the game on its own port";
  ASSERT_EQ(s.allowed.size(), standin::kMaxAllowLines - 1u);
  EXPECT_EQ(s.allowed.back().address, 0x0A000100u + standin::kMaxAllowLines - 1);
}

TEST(GroupStandinScript, BroadcastLineWaitsForItsLeadingNumberWhateverElseTheScriptSays) {
  struct {
    const char* line;
    long long count;
  } const cases[] = {{"broadcast 3", 3},         {"BROADCAST 12 players", 12}, {"broadcast 2x", 2},
                     {"broadcast -1", -1},        {"broadcast players", 0},     {"broadcast", 0}};
  for (const auto& c : cases) {
    Script s = ReadScript(std::string("interface 10.0.0.1:2000\nallow 10.0.0.2\n") + c.line + "\n");
    EXPECT_TRUE(s.broadcast) << c.line;
    EXPECT_EQ(s.broadcastCount, c.count) << c.line;
  }
}

}  // namespace
