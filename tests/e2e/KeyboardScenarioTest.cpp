// The main window used from the keyboard alone, with real key presses through the X server:
// Tab walks the shown controls in their tab order, the underlined letters press their buttons
// with Alt, the arrow keys move between the two mode buttons and switch the mode, and Enter and
// Esc neither start the game nor close the window behind the player's back.
// Where the keyboard focus is comes from the window system's record of the program's GUI thread.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/ScenarioFixture.h"

namespace e2e {
namespace {

// Starts xdotool with `arguments`. Wine gives no waitable handle for a Unix program, so the
// callers wait for what the call does instead.
void XdoTool(const std::string& arguments) {
  std::string tool = E2E_XDOTOOL;
  for (char& c : tool) c = c == '/' ? '\\' : c;
  tool = "Z:" + tool;
  std::string commandLine = "\"" + tool + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessA(tool.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             "C:\\", &startup, &info))
      << "cannot start xdotool, error " << GetLastError();
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
}

// The pointer as the window system's input queue has it. Under Wine GetCursorPos may ask the
// X server directly, which knows of the nudge below before Wine has queued the keys sent ahead
// of it; GetCursorInfo answers from Wine's own record, updated as the input is queued.
POINT QueuedPointer() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  GetCursorInfo(&info);
  return info.ptScreenPos;
}

// A second xdotool that starts while the keys of the first are still on their way loses its
// key presses, and Wine cannot wait for a Unix program. So each call ends by nudging the
// pointer one pixel, alternately right and left, and returns once the input queue has the
// pointer there: the keys of the call were queued before it.
void PressKeys(const std::string& keys) {
  static bool right = true;
  const POINT before = QueuedPointer();
  XdoTool("key --delay 40 " + keys + " mousemove_relative -- " + (right ? "1" : "-1") + " 0");
  right = !right;
  ASSERT_TRUE(WaitUntil([&] {
    const POINT now = QueuedPointer();
    return now.x != before.x || now.y != before.y;
  })) << "xdotool did not finish: " << keys;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

// "Button '&Add'", for messages that say where the focus went.
std::string Describe(HWND control) {
  if (!control) return "(nothing)";
  return ClassOf(control) + " '" + Text(control) + "'";
}

// Makes the main window the active one as a player would: a click on its caption bar.
void ActivateByCaptionClick(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  XdoTool("search --limit 1 --name \"^Default - Wine desktop$\" mousemove --window %1 " +
          std::to_string(r.left + 60) + " " + std::to_string(r.top + 8) + " click 1");
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }))
      << "the main window did not become active";
}

// Presses `key` and returns the control that has the focus once it has moved away from `from`.
HWND PressAndFollowFocus(HWND window, const std::string& key, HWND from) {
  PressKeys(key);
  WaitUntil([&] { return FocusOf(window) != from; }, 8000);
  return FocusOf(window);
}

// Tabs until `target` has the focus; fails after a whole round without it.
void TabTo(HWND window, HWND target) {
  HWND focus = FocusOf(window);
  for (int presses = 0; presses < 24 && focus != target; ++presses) {
    focus = PressAndFollowFocus(window, "Tab", focus);
  }
  ASSERT_EQ(focus, target) << "Tab never reached " << Describe(target);
}

class KeyboardScenario : public Scenario {
 protected:
  void SetUp() override {
    Scenario::SetUp();
    if (!RealInputAvailable()) GTEST_SKIP() << "no xdotool for real input";
  }

  LanvoraSession& StartActive(const std::string& folder) {
    LanvoraSession& app = Start(folder);
    ActivateByCaptionClick(app.Window());
    return app;
  }

  // Presses Tab one more time than there are stops and checks that the focus visits exactly
  // `expected`, in order and round again, wherever in the cycle it started.
  void ExpectTabCycle(const LanvoraSession& app, const std::vector<HWND>& expected) {
    HWND window = app.Window();
    std::vector<HWND> visited;
    HWND focus = FocusOf(window);
    for (size_t i = 0; i <= expected.size(); ++i) {
      focus = PressAndFollowFocus(window, "Tab", focus);
      visited.push_back(focus);
    }
    auto start = std::find(expected.begin(), expected.end(), visited.front());
    ASSERT_NE(start, expected.end()) << "Tab went to " << Describe(visited.front());
    const size_t offset = static_cast<size_t>(start - expected.begin());
    for (size_t i = 0; i < visited.size(); ++i) {
      HWND want = expected[(offset + i) % expected.size()];
      EXPECT_EQ(visited[i], want) << "Tab press " << i + 1 << " went to " << Describe(visited[i])
                                  << ", expected " << Describe(want);
    }
    // Shift+Tab walks the same cycle backwards.
    HWND back = PressAndFollowFocus(window, "shift+Tab", focus);
    EXPECT_EQ(back, visited[visited.size() - 2]) << "Shift+Tab went to " << Describe(back);
  }

  void ExpectNoGameStartAndNoFilesWritten(const std::string& run) {
    EXPECT_TRUE(ReadStandinLog(log_).empty()) << "the game was started";
    EXPECT_EQ(FolderEntries(run), Rows{kGameName});
    EXPECT_EQ(FolderEntries(programFolder_), programFiles_);
  }
};

TEST_F(KeyboardScenario, TabVisitsTheShownControlsInTabOrderAndSkipsHiddenOnes) {
  LanvoraSession& app = StartActive(Folder("run", false));
  ExpectTabCycle(app, {app.PortField(), app.Button("&Default"), app.Button("&Find players"),
                       app.AllowedList(),
                       app.AddressToAddField(), app.Button("&Add"), app.InterfaceField(),
                       app.NickField(), app.Button("Save && Play"),
                       app.Button("Remove &Selected"), app.GameExeField(), app.Button(".."),
                       app.Button("Save"), app.Button("&Exit"), app.Button("Allow IP's"),
                       app.Button("Help"), app.Button("Get")});

  // In the other mode its own controls take the places of the list and its field and button.
  app.SwitchToBroadcast();
  ExpectTabCycle(app, {app.PortField(), app.Button("&Default"), app.Button("&Find players"),
                       app.InterfaceField(),
                       app.NickField(), app.Button("Remove &Selected"), app.GameExeField(),
                       app.Button(".."), app.Button("Save"), app.Button("&Exit"),
                       app.Button("Broadcast on LAN"), app.PlayersField(),
                       app.Button("Save && &Play"), app.Button("Help"), app.Button("Get")});
}

TEST_F(KeyboardScenario, ArrowKeysMoveBetweenTheModeButtonsAndSwitchTheMode) {
  LanvoraSession& app = StartActive(Folder("run", false));
  HWND window = app.Window();
  HWND allow = app.Button("Allow IP's"), broadcast = app.Button("Broadcast on LAN");
  HWND label = ChildAt(window, "Static", 24, 188);
  TabTo(window, allow);

  EXPECT_EQ(PressAndFollowFocus(window, "Left", allow), broadcast);
  EXPECT_TRUE(WaitUntil([&] { return Checked(broadcast) && !Checked(allow); }));
  EXPECT_TRUE(WaitUntil([&] { return Visible(app.PlayersField()); }));
  EXPECT_FALSE(Visible(app.AllowedList()));
  EXPECT_TRUE(Visible(app.Button("Save && &Play")));
  EXPECT_FALSE(Visible(app.Button("Save && Play")));
  EXPECT_EQ(Text(label), "Number Of Players:");

  EXPECT_EQ(PressAndFollowFocus(window, "Right", broadcast), allow);
  EXPECT_TRUE(WaitUntil([&] { return Checked(allow) && !Checked(broadcast); }));
  EXPECT_TRUE(WaitUntil([&] { return Visible(app.AllowedList()); }));
  EXPECT_FALSE(Visible(app.PlayersField()));
  EXPECT_TRUE(Visible(app.Button("Save && Play")));
  EXPECT_EQ(Text(label), "Allowed IP List:");
}

TEST_F(KeyboardScenario, AltWithTheUnderlinedLetterPressesTheButton) {
  const std::string run = Folder("run", true);
  LanvoraSession& app = StartActive(run);
  HWND list = app.AllowedList();
  app.Type(app.InterfaceField(), "10.1.1.1");

  app.Type(app.PortField(), "2000");
  PressKeys("alt+d");
  EXPECT_TRUE(WaitUntil([&] { return Text(app.PortField()) == "1635"; }))
      << Text(app.PortField());

  app.Type(app.AddressToAddField(), "10.0.0.7");
  PressKeys("alt+a");
  ASSERT_TRUE(WaitUntil([&] { return ListRows(list).size() == 1; }));
  app.Type(app.AddressToAddField(), "10.0.0.8");
  PressKeys("alt+a");
  ASSERT_TRUE(WaitUntil([&] { return ListRows(list).size() == 2; }));
  EXPECT_EQ(ListRows(list), (Rows{"allow 10.0.0.7:1635", "allow 10.0.0.8:1635"}));

  SelectRow(list, 0);
  PressKeys("alt+s");
  EXPECT_TRUE(WaitUntil([&] { return ListRows(list) == Rows{"allow 10.0.0.8:1635"}; }));

  // The broadcast Save && Play is hidden in this mode: its letter does nothing. The Alt+D
  // behind it shows the keys before it were handled.
  app.Type(app.PortField(), "2001");
  PressKeys("alt+p alt+d");
  EXPECT_TRUE(WaitUntil([&] { return Text(app.PortField()) == "1635"; }));
  ExpectNoGameStartAndNoFilesWritten(run);

  app.SwitchToBroadcast();
  app.Type(app.PlayersField(), "3");
  PressKeys("alt+p");
  const auto starts = GameStarts(1);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].script, "interface 10.1.1.1:1635\r\nmode peer\r\nbroadcast 3\r\n");

  // Alt+F opens the players window, whose own Alt+C closes it again.
  PressKeys("alt+f");
  HWND players = WaitForWindow(app.Program().Id(), "", "Players on this network");
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == players; }));
  PressKeys("alt+c");
  EXPECT_TRUE(WaitUntil([&] { return !Visible(players); }));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app.Window(); }));

  PressKeys("alt+e");
  EXPECT_TRUE(app.Program().WaitForExit());
}

// Enter in a field and Esc anywhere are the keys a player presses without thinking: neither
// may start the game, write a file or close the window. Enter on a focused button presses it,
// as in every dialog.
TEST_F(KeyboardScenario, EnterAndEscapeNeitherStartTheGameNorCloseTheWindow) {
  const std::string run = Folder("run", true);
  LanvoraSession& app = StartActive(run);
  HWND window = app.Window();
  const Rows fields{"1635", "", "Own IP", "JohnDoe", "duke3d_w32.exe"};
  app.Type(app.InterfaceField(), "Own IP");
  app.Type(app.AddressToAddField(), "");

  const std::vector<HWND> edits{app.PortField(), app.AddressToAddField(), app.InterfaceField(),
                                app.NickField(), app.GameExeField()};
  for (HWND edit : edits) {
    TabTo(window, edit);
    // Tab last: once the focus has moved on, Enter and Esc before it have been handled.
    EXPECT_NE(PressAndFollowFocus(window, "Return Escape Tab", edit), edit);
  }
  EXPECT_TRUE(app.Program().Running());
  EXPECT_TRUE(IsWindowVisible(window));
  Rows texts;
  for (HWND edit : edits) texts.push_back(Text(edit));
  EXPECT_EQ(texts, fields);
  EXPECT_TRUE(ListRows(app.AllowedList()).empty());
  ExpectNoGameStartAndNoFilesWritten(run);

  // Enter on the focused "&Default" button presses it.
  app.Type(app.PortField(), "2002");
  TabTo(window, app.Button("&Default"));
  PressKeys("Return");
  EXPECT_TRUE(WaitUntil([&] { return Text(app.PortField()) == "1635"; }))
      << "Enter on the focused button left the port at " << Text(app.PortField());
}

}  // namespace
}  // namespace e2e
