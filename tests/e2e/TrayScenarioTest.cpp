// Black-box scenarios of the notification-area menu, driven with real mouse and keyboard
// input: a right click on the program's icon in the taskbar, then arrow keys and Enter.
#include <gtest/gtest.h>

#include "tests/e2e/ScenarioFixture.h"

namespace e2e {
namespace {

// Places of the menu's items, top to bottom.
enum TrayItem { kCopyAddresses = 0, kPlayers = 1, kSave = 2, kSaveAndPlay = 3, kExit = 4 };

void ChooseFromTray(const LanvoraSession& app, TrayItem item) {
  ChooseMenuItem(OpenTrayMenu(app.Program().Id()), item);
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<clipboard busy>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void SetClipboardText(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  memcpy(GlobalLock(data), text.c_str(), text.size() + 1);
  GlobalUnlock(data);
  SetClipboardData(CF_TEXT, data);
  CloseClipboard();
}

using TrayScenario = Scenario;

TEST_F(TrayScenario, TraySaveAndPlayWritesTheBroadcastFormBesideTheTypedPathEvenInAllowMode) {
  const std::string run = Folder("run", true);
  const std::string elsewhere = Folder("games\\duke", false);
  const std::string typedPath = Join(elsewhere, kGameName);
  LanvoraSession& app = Start(run);
  app.Type(app.InterfaceField(), "10.2.2.2");
  app.Type(app.GameExeField(), typedPath);
  app.SwitchToBroadcast();
  app.Type(app.PlayersField(), "3");
  app.SwitchToAllowList();
  app.AddAddress("10.0.0.2");

  ChooseFromTray(app, kSaveAndPlay);
  const auto starts = GameStarts(1);

  EXPECT_EQ(ReadBytes(Join(elsewhere, "net.txt")),
            "interface 10.2.2.2:1635\r\nmode peer\r\nbroadcast 3\r\n");
  EXPECT_EQ(ReadBytes(Join(programFolder_, "settings.txt")),
            typedPath + "\r\nJohnDoe\r\n10.2.2.2\r\n1635\r\n");
  EXPECT_EQ(ReadBytes(Join(programFolder_, "ips.txt")), "allow 10.0.0.2:1635\r\n");
  EXPECT_EQ(FolderEntries(run), Rows{kGameName});

  // A typed path is not what is started: the game beside the current directory is, and it
  // finds no script there.
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].workingDirectory, run);
  EXPECT_FALSE(starts[0].scriptPresent);
}

TEST_F(TrayScenario, TrayCopiesTheDiscoveredAddressesSavesAndExits) {
  const std::string run = Folder("run", false);
  LanvoraSession& app = Start(run);
  app.Type(app.NickField(), "Tray User");

  const std::string sentinel = "nothing copied yet";
  SetClipboardText(sentinel);
  ChooseFromTray(app, kCopyAddresses);
  std::string expected;
  for (const std::string& address : LocalAddresses()) expected += address + "\r\n";
  ASSERT_FALSE(expected.empty()) << "this host resolves no address of its own";
  EXPECT_TRUE(WaitUntil([&] { return ClipboardText() != sentinel; }));
  EXPECT_EQ(ClipboardText(), expected);

  ChooseFromTray(app, kSave);
  EXPECT_TRUE(WaitUntil([&] { return FileExists(Join(programFolder_, "settings.txt")); }));
  EXPECT_EQ(ReadBytes(Join(programFolder_, "settings.txt")),
            "duke3d_w32.exe\r\nTray User\r\n" + FirstLocalAddress() + "\r\n1635\r\n");
  EXPECT_EQ(ReadBytes(Join(programFolder_, "ips.txt")), "");

  ChooseFromTray(app, kExit);
  ASSERT_TRUE(app.Program().WaitForExit());
  EXPECT_EQ(FolderEntries(run), Rows{});
}

}  // namespace
}  // namespace e2e
