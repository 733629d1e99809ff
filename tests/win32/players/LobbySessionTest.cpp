// Two lobby sessions in one process find each other through the real sockets of this
// session's network (each adapter's broadcast, then the direct answers), and a goodbye
// makes the other drop the copy at once.
#include "players/LobbySession.h"

#include <gtest/gtest.h>

#include <memory>

#include "lobby/Ipv4.h"
#include "players/NetworkAdapters.h"
#include "tests/win32/players/PlayersTestSupport.h"
#include "tests/win32/wingui/TestSupport.h"

namespace {

using players::LobbySession;
using players::LocalPlayer;

// A lobby port of this test run's own, so that runs on the same network never meet.
std::uint16_t TestPort() { return static_cast<std::uint16_t>(40000 + GetCurrentProcessId() % 20000); }

bool Lists(const LobbySession& session, const std::string& nick) {
  for (const lobby::Peer& peer : session.Peers()) {
    if (peer.nick == nick) return true;
  }
  return false;
}

// The addresses of this machine's active adapters: where the copies are heard from.
std::vector<std::string> OwnAddresses() {
  std::vector<std::string> addresses;
  if (const auto adapters = players::ListAdapters()) {
    for (const lobby::Adapter& adapter : *adapters) {
      if (lobby::IsActive(adapter)) addresses.push_back(lobby::FormatIpv4(adapter.address));
    }
  }
  return addresses;
}

TEST(LobbySession, TwoCopiesFindEachOtherAndAGoodbyeDropsOneAtOnce) {
  if (OwnAddresses().empty()) GTEST_SKIP() << "no active network adapter to broadcast on";
  LobbySession alice([] { return players_test::Local("Alice", "1635", lobby::PlayerMode::AllowIps); },
                     TestPort());
  auto bob = std::make_unique<LobbySession>(
      [] { return players_test::Local("Bob", "23513", lobby::PlayerMode::Broadcast); }, TestPort());
  EXPECT_EQ(alice.Problem(), "");
  EXPECT_EQ(bob->Problem(), "");

  const DWORD start = GetTickCount();
  ASSERT_TRUE(wingui_test::PumpUntil([&] { return Lists(alice, "Bob") && Lists(*bob, "Alice"); },
                                     2000))
      << "Alice lists " << alice.Peers().size() << ", Bob lists " << bob->Peers().size();
  std::printf("both listed after %lu ms\n", static_cast<unsigned long>(GetTickCount() - start));

  ASSERT_EQ(alice.Peers().size(), 1u);
  const lobby::Peer& heard = alice.Peers()[0];
  EXPECT_EQ(heard.gamePort, 23513);
  EXPECT_EQ(heard.mode, lobby::PlayerMode::Broadcast);
  // Heard from this machine: the address is one of its own, whatever a packet could claim.
  const std::vector<std::string> own = OwnAddresses();
  EXPECT_NE(std::find(own.begin(), own.end(), lobby::FormatIpv4(heard.address)), own.end())
      << lobby::FormatIpv4(heard.address);
  EXPECT_EQ(heard.source.port, bob->OwnPort());

  bob.reset();
  const DWORD gone = GetTickCount();
  EXPECT_TRUE(wingui_test::PumpUntil([&] { return alice.Peers().empty(); }, 1000));
  std::printf("dropped %lu ms after the goodbye\n", static_cast<unsigned long>(GetTickCount() - gone));
}

// Nobody else announces: after the time a copy is remembered the window says what to do,
// and a Port field the game cannot read is named at once.
TEST(LobbySession, ProblemsAreToldInOneLine) {
  std::string port = "16x";
  LobbySession alone([&] { return players_test::Local("Alone", port, lobby::PlayerMode::AllowIps); },
                     TestPort());
  EXPECT_EQ(alone.Problem(),
            "Your Port field is not a port number (1 to 65535): the others cannot see you until "
            "it is.");
  port = "1635";
  int changes = 0;
  alone.OnChange = [&] { ++changes; };
  ASSERT_TRUE(wingui_test::PumpUntil([&] { return alone.Problem().empty(); }, 1000));
  if (OwnAddresses().empty()) GTEST_SKIP() << "no active network adapter to broadcast on";
  ASSERT_TRUE(wingui_test::PumpUntil([&] { return !alone.Problem().empty(); }, 12000));
  EXPECT_EQ(alone.Problem().rfind("Nobody heard yet: open Find players on the other PCs too", 0), 0u)
      << alone.Problem();
  EXPECT_GE(changes, 2);
  // Opening, 1 s, 2 s and every 4 s after: the first went out before the port was readable.
  EXPECT_GE(alone.PacketsSent(), 3u);
}

}  // namespace
