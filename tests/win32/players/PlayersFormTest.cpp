// The players window in-process, with a main window made of plain fields and a second copy
// announcing itself through the real sockets: the row it shows, the advice on the Interface
// field and the number of players, what Add and Add all hand to the main window, and that
// closing the window ends the lobby (the other copy drops this one at once).
#include <winsock2.h>  // before the window system's header, which the window's brings

#include "players/PlayersForm.h"

#include <iphlpapi.h>
#include <gtest/gtest.h>

#include <bit>
#include <cstddef>
#include <memory>
#include <utility>

#include "launch/NetScript.h"
#include "lobby/Ipv4.h"
#include "players/NetworkAdapters.h"
#include "tests/win32/players/PlayersTestSupport.h"
#include "tests/win32/wingui/TestSupport.h"

namespace {

using players::LobbySession;
using players::LocalPlayer;

std::uint16_t TestPort() { return static_cast<std::uint16_t>(41000 + GetCurrentProcessId() % 20000); }

// An address of this machine on a network with a broadcast address, as the system's older
// address table has it: the other copy on this machine is heard from the first such address.
// Nothing when the machine has none.
std::optional<std::pair<std::uint32_t, std::uint32_t>> FirstBroadcastNetwork() {
  ULONG size = 0;
  GetIpAddrTable(nullptr, &size, FALSE);
  std::vector<unsigned char> buffer(size);
  auto* table = reinterpret_cast<MIB_IPADDRTABLE*>(buffer.data());
  if (size == 0 || GetIpAddrTable(table, &size, TRUE) != NO_ERROR) return std::nullopt;
  for (DWORD i = 0; i < table->dwNumEntries; ++i) {
    // Address and mask in network order.
    const auto* row = reinterpret_cast<const unsigned char*>(&table->table[i]);
    const std::uint32_t address = lobby::Ipv4FromBytes(row + offsetof(MIB_IPADDRROW, dwAddr));
    const std::uint32_t mask = lobby::Ipv4FromBytes(row + offsetof(MIB_IPADDRROW, dwMask));
    const int prefix = std::popcount(mask);
    if (address >> 24 != 127 && address != 0 && prefix >= 1 && prefix <= 30) {
      return std::pair(address, mask);
    }
  }
  return std::nullopt;
}

// The adapter the lobby lists for that address. The list must agree with the system's table:
// the same address, the same mask, and so a directed broadcast (without it the lobby would
// announce on one adapter only and never advise on the Interface field).
std::optional<lobby::Adapter> FirstActiveAdapter() {
  const auto network = FirstBroadcastNetwork();
  if (!network) return std::nullopt;
  const auto adapters = players::ListAdapters();
  EXPECT_TRUE(adapters.has_value()) << "the adapters cannot be listed";
  for (const lobby::Adapter& adapter : adapters.value_or(std::vector<lobby::Adapter>{})) {
    if (adapter.address != network->first) continue;
    EXPECT_EQ(lobby::FormatIpv4(adapter.mask), lobby::FormatIpv4(network->second));
    EXPECT_TRUE(lobby::IsActive(adapter));
    EXPECT_EQ(lobby::DirectedBroadcast(adapter), network->first | ~network->second);
    return adapter;
  }
  ADD_FAILURE() << "no adapter listed for " << lobby::FormatIpv4(network->first);
  return std::nullopt;
}

LocalPlayer Carol() {
  LocalPlayer carol = players_test::Local("Carol", "1635", lobby::PlayerMode::AllowIps);
  carol.interfaceField = "10.9.9.9";
  return carol;
}

// The main window's side, as plain values.
struct MainFields {
  LocalPlayer me = Carol();
  launch::AllowedList allowed{"allow 10.0.0.2:1635"};
  std::string players;
  int additions = 0;
  int starts = 0;

  players::PlayersHost Host() {
    players::PlayersHost host;
    host.localPlayer = [this] {
      LocalPlayer now = me;
      now.script = launch::BuildNetScript(launch::ScriptForm::AllowIps, now.interfaceField,
                                          now.port, allowed, "");
      return now;
    };
    host.allowedList = [this] { return allowed; };
    host.addEntries = [this](const std::vector<std::string>& entries) {
      ++additions;
      allowed.insert(allowed.end(), entries.begin(), entries.end());
    };
    host.setInterface = [this](const std::string& address) { me.interfaceField = address; };
    host.setPlayers = [this](const std::string& count) { players = count; };
    host.saveAndPlay = [this] {
      ++starts;
      return true;
    };
    host.lobbyPort = TestPort();
    return host;
  }
};

std::string Text(wingui::WinControl* control) { return control->Text(); }

TEST(PlayersWindow, ShowsWhatItHearsAndHandsTheFindingsToTheMainWindow) {
  const std::optional<lobby::Adapter> adapter = FirstActiveAdapter();
  if (!adapter) GTEST_SKIP() << "no active network adapter to broadcast on";
  const std::string own = lobby::FormatIpv4(adapter->address);
  wingui_test::BoxRecorder boxes;
  MainFields fields;
  // The program's main window comes first: closing any other window only hides it.
  auto mainWindow = std::make_unique<wingui::Form>(&wingui::App());
  auto window = std::make_unique<players::TForm3>(&wingui::App(), fields.Host());
  EXPECT_FALSE(window->Visible());
  EXPECT_EQ(window->Session(), nullptr) << "no lobby before the window opens";

  LobbySession dave([] { return players_test::Local("Dave", "23513", lobby::PlayerMode::Broadcast); },
                    TestPort());
  window->Open();
  ASSERT_NE(window->Session(), nullptr);
  EXPECT_EQ(Text(window.get()), "Players on this network");
  ASSERT_TRUE(wingui_test::PumpUntil([&] { return window->ListView1->Count() == 1; }, 2000));
  EXPECT_EQ(window->ListView1->Cells(0),
            (std::vector<std::string>{"Dave", own, "23513", "Broadcast on LAN", "Not in your group"}));
  EXPECT_EQ(Text(window->Label1).rfind("1 player found.", 0), 0u) << Text(window->Label1);

  // Dave was heard on an adapter the Interface field does not name: one click puts it there.
  ASSERT_TRUE(window->Button1->Visible());
  EXPECT_EQ(Text(window->Button1), "&Use " + own);
  EXPECT_NE(Text(window->Label2).find("but Interface says \"10.9.9.9\""), std::string::npos)
      << Text(window->Label2);
  window->Button1->Click();
  EXPECT_EQ(fields.me.interfaceField, own);
  EXPECT_FALSE(window->Button1->Visible());
  EXPECT_FALSE(window->Button2->Visible()) << "the number of players is for broadcast mode";

  // Add with nothing selected says so; Add all adds Dave once, at his game port.
  window->Button3->Click();
  EXPECT_NE(Text(window->Label1).find("Select the players to add first."), std::string::npos);
  window->Button4->Click();
  EXPECT_EQ(fields.allowed,
            (launch::AllowedList{"allow 10.0.0.2:1635", "allow " + own + ":23513"}));
  EXPECT_NE(Text(window->Label1).find("Added 1 player to the allowed list"), std::string::npos);
  window->ListView1->SetSelected(0, true);
  window->Button3->Click();
  EXPECT_EQ(fields.additions, 1);
  EXPECT_NE(Text(window->Label1).find("Nothing added (1 already there)."), std::string::npos)
      << Text(window->Label1);

  // In broadcast mode the copies broadcasting on the same port can become the number of
  // players; Dave broadcasts on another port, which the game's broadcast does not reach.
  fields.me.mode = lobby::PlayerMode::Broadcast;
  window->Refresh();
  EXPECT_FALSE(window->Button2->Visible());
  EXPECT_EQ(Text(window->Label4).rfind("Not counted: 1 on another port", 0), 0u)
      << Text(window->Label4);
  fields.me.port = "23513";
  window->Refresh();
  ASSERT_TRUE(window->Button2->Visible());
  EXPECT_EQ(Text(window->Button2), "Set &Number Of Players to 1");
  window->Button2->Click();
  EXPECT_EQ(fields.players, "1");
  EXPECT_TRUE(boxes.Boxes().empty());

  // Closing ends the lobby: the other copy drops this one at once.
  ASSERT_TRUE(wingui_test::PumpUntil([&] { return dave.Peers().size() == 1; }, 2000));
  window->Button5->Click();
  EXPECT_FALSE(window->Visible());
  EXPECT_EQ(window->Session(), nullptr);
  EXPECT_TRUE(wingui_test::PumpUntil([&] { return dave.Peers().empty(); }, 1000));

  // Opened again, it starts afresh.
  window->Open();
  EXPECT_TRUE(wingui_test::PumpUntil([&] { return dave.Peers().size() == 1; }, 2000));
}

// Two copies that list each other at their ports: the check says everyone will get ready and
// shows the other's state; once both have ticked Ready, this copy starts its own game, once.
// A stale entry then names itself, in the line and in "Save && Play"'s warning.
TEST(PlayersWindow, ChecksTheGroupAndStartsTogether) {
  const std::optional<lobby::Adapter> adapter = FirstActiveAdapter();
  if (!adapter) GTEST_SKIP() << "no active network adapter to broadcast on";
  const std::string own = lobby::FormatIpv4(adapter->address);
  wingui_test::BoxRecorder boxes;
  MainFields fields;
  fields.me.interfaceField = own;
  fields.allowed = {"allow " + own + ":23513"};
  auto mainWindow = std::make_unique<wingui::Form>(&wingui::App());
  auto window = std::make_unique<players::TForm3>(&wingui::App(), fields.Host());
  bool daveReady = false;
  LobbySession dave(
      [&] {
        LocalPlayer d = players_test::Local("Dave", "23513", lobby::PlayerMode::AllowIps);
        d.interfaceField = own;
        d.script = launch::BuildNetScript(launch::ScriptForm::AllowIps, own, "23513",
                                          {"allow " + own + ":1635"}, "");
        d.ready = daveReady;
        return d;
      },
      TestPort());
  window->Open();
  ASSERT_TRUE(wingui_test::PumpUntil(
      [&] { return Text(window->Label5) == "Group check: everyone will get ready"; }, 3000))
      << Text(window->Label5);
  ASSERT_EQ(window->ListView1->Count(), 1);
  EXPECT_EQ(window->ListView1->Cells(0).at(4), "Can start");

  // As a click: the box ticks itself, then tells the window.
  SendMessageA(window->CheckBox1->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(window->CheckBox1->Checked());
  EXPECT_EQ(fields.starts, 0) << "Dave has not ticked";
  daveReady = true;
  ASSERT_TRUE(wingui_test::PumpUntil([&] { return fields.starts > 0; }, 3000));
  EXPECT_EQ(window->ListView1->Cells(0).at(4), "Ready");
  wingui_test::PumpFor(1000);
  EXPECT_EQ(fields.starts, 1) << "once";
  EXPECT_TRUE(window->CheckBox1->Checked()) << "still ready, for the others to start too";

  fields.allowed.push_back("allow 10.9.9.8:1635");
  window->Refresh();
  EXPECT_EQ(Text(window->Label5), "Group check: You list 10.9.9.8:1635, where nobody is playing: "
                                  "your game will wait for it");
  EXPECT_EQ(window->RecentGroupProblems().size(), 1u);
  window->Button5->Click();
  EXPECT_EQ(window->RecentGroupProblems().size(), 1u) << "kept for a minute after closing";
  EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
