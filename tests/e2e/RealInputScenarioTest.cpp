// Black-box scenarios that need real mouse and keyboard input: the notification-area menu (a
// right click on the program's icon in the taskbar, then arrow keys and Enter), the maker
// label that answers the pointer passing over it, and the hint of the "Get" button.
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

// How many icons the shell holds for the program: the icons belong to its hidden windows,
// and the shell accepts a change (here, one that changes nothing) only for an icon it has.
int IconsInTheNotificationArea(const std::vector<HWND>& hiddenWindows) {
  int icons = 0;
  for (HWND window : hiddenWindows) {
    for (UINT id = 1; id <= 8; ++id) {
      NOTIFYICONDATAA data{};
      data.cbSize = NOTIFYICONDATAA_V2_SIZE;
      data.hWnd = window;
      data.uID = id;
      if (Shell_NotifyIconA(NIM_MODIFY, &data)) ++icons;
    }
  }
  return icons;
}

using RealInputScenario = Scenario;

// While "Save && Play" waits for the answer to its warning, the tray's "Save && Play" starts
// nothing (its item is disabled); after "Yes" the game has been started exactly once.
TEST_F(RealInputScenario, TrayCommandsWaitWhileTheWarningIsOpen) {
  const std::string run = Folder("run", true);
  LanvoraSession& app = Start(run);
  app.Type(app.InterfaceField(), "10.2.2.2");
  PostClick(app.Button("Save && Play"));  // an empty list: the game would have nobody
  HWND warning = WaitForDialog(app.Program().Id(), kAppTitle);

  HWND menu = OpenTrayMenu(app.Program().Id());
  ClickMenuItem(menu, kSaveAndPlay, 5);
  // A disabled item keeps the menu open; a second warning box or a start would show by now.
  Sleep(1500);
  EXPECT_TRUE(IsWindowVisible(menu));
  PressKey("Escape");
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
  EXPECT_EQ(TopLevelWindows(app.Program().Id(), "#32770", kAppTitle).size(), 1u);
  EXPECT_EQ(ReadStandinLog(log_).size(), 0u);

  EXPECT_NE(MessageBoxText(warning).find("The allowed list has nobody in it"), std::string::npos);
  CloseDialog(warning, IDYES);
  GameStarts(1);
  EXPECT_EQ(ReadBytes(Join(run, "net.txt")), "interface 10.2.2.2:1635\r\nmode peer\r\n\r\n");

  // With no command running, the same click runs the tray's command: its own warning asks.
  ClickMenuItem(OpenTrayMenu(app.Program().Id()), kSaveAndPlay, 5);
  AnswerWarning("The number of players is empty", IDNO);
  Sleep(500);
  EXPECT_EQ(ReadStandinLog(log_).size(), 1u);
}

TEST_F(RealInputScenario, TraySaveAndPlayWritesTheBroadcastFormBesideTheTypedPathEvenInAllowMode) {
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

TEST_F(RealInputScenario, TrayCopiesTheDiscoveredAddressesSavesAndExits) {
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

  const std::vector<HWND> hidden =
      TopLevelWindows(app.Program().Id(), "LanvoraHiddenWindow", "");
  EXPECT_EQ(IconsInTheNotificationArea(hidden), 1) << "the program shows exactly one icon";
  ChooseFromTray(app, kExit);
  ASSERT_TRUE(app.Program().WaitForExit());
  EXPECT_EQ(IconsInTheNotificationArea(hidden), 0) << "the icon went with the program";
  EXPECT_EQ(FolderEntries(run), Rows{});
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

TEST_F(RealInputScenario, MakerLabelShowsTheWebAddressInBlueWhileThePointerIsOverIt) {
  LanvoraSession& app = Start(Folder("run", false));
  HWND label = ChildAt(app.Window(), "Static", 0, 456);
  ASSERT_EQ(Text(label), "Pelmar 2005");
  RECT r{};
  GetWindowRect(label, &r);
  const int cornerX = r.left + 2, cornerY = r.top + 2;  // background, clear of the text
  const COLORREF buttonFace = GetSysColor(COLOR_BTNFACE);

  MovePointerTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ASSERT_TRUE(WaitUntil([&] { return Text(label) != "Pelmar 2005"; }));
  const std::string address = Text(label);
  EXPECT_FALSE(address.empty());
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(cornerX, cornerY) == RGB(0, 0, 255); }))
      << std::hex << ScreenPixel(cornerX, cornerY);

  MovePointerTo((r.left + r.right) / 2, r.top - 40);  // onto the buttons above it
  EXPECT_TRUE(WaitUntil([&] { return Text(label) == "Pelmar 2005"; })) << Text(label);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(cornerX, cornerY) == buttonFace; }))
      << std::hex << ScreenPixel(cornerX, cornerY);

  // The same address each time the pointer comes back.
  MovePointerTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_TRUE(WaitUntil([&] { return Text(label) == address; }));
}

struct TooltipSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindShownTooltip(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<TooltipSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search.processId && IsWindowVisible(window) &&
      ClassOf(window) == "tooltips_class32") {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

// The program's tooltip window while it is on screen, else nullptr.
HWND ShownTooltip(DWORD processId) {
  TooltipSearch search{processId, nullptr};
  EnumWindows(&FindShownTooltip, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(RealInputScenario, GetButtonShowsItsHintWhileThePointerRestsOnIt) {
  LanvoraSession& app = Start(Folder("run", false));
  HWND get = app.Button("Get");
  RECT r{};
  GetWindowRect(get, &r);
  EXPECT_EQ(ShownTooltip(app.Program().Id()), nullptr);

  MovePointerTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  HWND tip = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (tip = ShownTooltip(app.Program().Id())) != nullptr; }));
  EXPECT_EQ(Text(tip), "Works for most of the users!");
  RECT tipRect{};
  GetWindowRect(tip, &tipRect);
  // Shown by the pointer, below the button's top edge.
  EXPECT_GE(tipRect.top, r.top);
  EXPECT_LT(tipRect.top - r.bottom, 60);

  MovePointerTo((r.left + r.right) / 2, r.bottom + 200);  // onto the list below
  EXPECT_TRUE(WaitUntil([&] { return ShownTooltip(app.Program().Id()) == nullptr; }));
}

}  // namespace
}  // namespace e2e
