// Shell notifications in, component events out: every notification code through the
// shared hidden window, the single/double click decision, the default menu item, the
// popup menu at the pointer and enter/exit tracking.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "TrayTestSupport.h"
#include "tray/SimpleTimer.h"
#include "tray/TrayIcon.h"
#include "wingui/Application.h"
#include "wingui/Menus.h"

namespace {

using namespace traytest;
using tray::TShellBehaviour;
using tray::TTrayIcon;
using Log = std::vector<std::string>;

constexpr UINT kNinSelect = WM_USER + 0;
constexpr UINT kNinKeySelect = WM_USER + 1;

using TrayNotification = TrayTest;

struct Row {
  const char* name;
  UINT code;
  TShellBehaviour behaviour;
  std::set<int> keys;
  Log expected;
};

TEST_F(TrayNotification, EveryCodeRaisesItsEventWithButtonAndKeys) {
  const TShellBehaviour classic = TShellBehaviour::Classic;
  const TShellBehaviour v5 = TShellBehaviour::Version5;
  const std::vector<Row> rows = {
      {"move", WM_MOUSEMOVE, classic, {}, {"move none 100,200"}},
      {"move with keys", WM_MOUSEMOVE, classic, {VK_SHIFT, VK_CONTROL}, {"move shift+ctrl 100,200"}},
      {"left press", WM_LBUTTONDOWN, classic, {VK_MENU}, {"down left alt+left 100,200"}},
      {"plain left release", WM_LBUTTONUP, classic, {}, {"up left left 100,200"}},
      {"right press", WM_RBUTTONDOWN, classic, {}, {"down right right 100,200"}},
      {"right release, classic", WM_RBUTTONUP, classic, {}, {"up right right 100,200"}},
      {"right release, version 5", WM_RBUTTONUP, v5, {}, {}},
      {"context menu, classic", WM_CONTEXTMENU, classic, {}, {}},
      {"context menu, version 5", WM_CONTEXTMENU, v5, {VK_SHIFT}, {"up right shift+right 100,200"}},
      {"select, version 5", kNinSelect, v5, {}, {"up right right 100,200"}},
      {"key select, version 5", kNinKeySelect, v5, {}, {"up right right 100,200"}},
      {"select, classic", kNinSelect, classic, {}, {}},
      {"middle press", WM_MBUTTONDOWN, classic, {}, {"down middle middle 100,200"}},
      {"middle release", WM_MBUTTONUP, classic, {VK_CONTROL}, {"up middle ctrl+middle 100,200"}},
      {"left double click", WM_LBUTTONDBLCLK, classic, {}, {}},
      {"right double click", WM_RBUTTONDBLCLK, classic, {}, {}},
      {"middle double click", WM_MBUTTONDBLCLK, classic, {}, {}},
      {"balloon shown", WM_USER + 2, classic, {}, {"balloon show"}},
      {"balloon hidden", WM_USER + 3, classic, {}, {"balloon hide"}},
      {"balloon timed out", WM_USER + 4, classic, {}, {"balloon timeout"}},
      {"balloon clicked", WM_USER + 5, classic, {}, {"balloon click"}},
      {"unknown code", 0x0999, classic, {}, {}},
  };
  for (const Row& row : rows) {
    TTrayIcon icon(nullptr);
    RecordEvents(icon, false);
    icon.SetShellBehaviour(row.behaviour);
    FakeSystem::log.clear();
    FakeSystem::keysDown = row.keys;
    Notify(icon, row.code);
    EXPECT_EQ(FakeSystem::log, row.expected) << row.name;
  }
}

TEST_F(TrayNotification, DisabledIgnoresTheMouseButNotTheBalloon) {
  TTrayIcon icon(nullptr);
  wingui::PopupMenu menu(nullptr);
  menu.OnPopup = [] { FakeSystem::log.push_back("popup"); };
  icon.SetPopupMenu(&menu);
  RecordEvents(icon, true);
  icon.SetEnabled(false);
  for (UINT code : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                    WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}) {
    Notify(icon, code);
  }
  traytest::PumpFor(FakeSystem::doubleClickTime * 2);
  EXPECT_EQ(FakeSystem::log, Log{});
  EXPECT_TRUE(FakeSystem::foreground.empty());

  Notify(icon, WM_USER + 2);
  EXPECT_EQ(FakeSystem::log, Log{"balloon show"});
}

TEST_F(TrayNotification, NotificationsForOtherIdentifiersAreIgnored) {
  auto icon = std::make_unique<TTrayIcon>(nullptr);
  TTrayIcon other(nullptr);
  RecordEvents(*icon, false);
  const UINT goneId = icon->IconId();
  const HWND window = tray::SharedTrayHandler()->HiddenWindow();
  SendMessageA(window, tray::kTrayCallbackMessage, goneId + 1000, WM_LBUTTONDOWN);
  EXPECT_EQ(FakeSystem::log, Log{});

  icon.reset();
  FakeSystem::log.clear();
  EXPECT_EQ(SendMessageA(window, tray::kTrayCallbackMessage, goneId, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(FakeSystem::log, Log{});
}

TEST_F(TrayNotification, HiddenWindowSurvivesCloseAndAgreesToLogOff) {
  TTrayIcon icon(nullptr);
  const HWND window = tray::SharedTrayHandler()->HiddenWindow();
  EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 1);
  EXPECT_EQ(SendMessageA(window, WM_QUERYENDSESSION, 0, 0), 1);
  EXPECT_EQ(SendMessageA(window, WM_ENDSESSION, TRUE, 0), 1);
  EXPECT_TRUE(IsWindow(window));
  RecordEvents(icon, false);
  Notify(icon, WM_MBUTTONDOWN);
  EXPECT_EQ(FakeSystem::log.size(), 1u);
}

// ---- single and double click ----------------------------------------------------------

// A menu whose items log their clicks; items at the given indexes are default items.
struct LoggingMenu {
  explicit LoggingMenu(std::initializer_list<int> defaults, int count = 5) : menu(nullptr) {
    for (int i = 0; i < count; ++i) {
      auto* item = new wingui::MenuItem(&menu, "Item " + std::to_string(i));
      item->OnClick = [i] { FakeSystem::log.push_back("item " + std::to_string(i)); };
      menu.Items().Add(item);
    }
    for (int i : defaults) menu.Items().Item(i)->SetDefault(true);
  }
  wingui::PopupMenu menu;
};

TEST_F(TrayNotification, WithoutDoubleClickHandlerClicksAreReportedAtOnce) {
  LoggingMenu menu({2});
  TTrayIcon icon(nullptr);
  icon.SetPopupMenu(&menu.menu);
  RecordEvents(icon, false);

  Notify(icon, WM_LBUTTONDOWN);
  Notify(icon, WM_LBUTTONUP);
  EXPECT_EQ(FakeSystem::log, (Log{"down left left 100,200", "click", "up left left 100,200"}));

  FakeSystem::log.clear();
  Notify(icon, WM_LBUTTONDOWN);
  Notify(icon, WM_LBUTTONUP);
  Notify(icon, WM_LBUTTONDBLCLK);
  Notify(icon, WM_LBUTTONUP);
  traytest::PumpFor(FakeSystem::doubleClickTime * 2);
  EXPECT_EQ(FakeSystem::log, (Log{"down left left 100,200", "click", "up left left 100,200",
                                  "item 2", "up left left 100,200"}));
}

TEST_F(TrayNotification, WithDoubleClickHandlerASingleClickWaitsForTheDoubleClickTime) {
  TTrayIcon icon(nullptr);
  RecordEvents(icon, true);
  FakeSystem::doubleClickTime = 120;

  Notify(icon, WM_LBUTTONDOWN);
  Notify(icon, WM_LBUTTONUP);
  EXPECT_EQ(FakeSystem::log, (Log{"down left left 100,200", "up left left 100,200"}));
  ASSERT_TRUE(traytest::PumpUntil([] { return FakeSystem::log.size() == 3; }, 5000));
  EXPECT_EQ(FakeSystem::log.back(), "click");
  traytest::PumpFor(300);
  EXPECT_EQ(FakeSystem::log.size(), 3u) << "the wait timer stopped after one click";
}

TEST_F(TrayNotification, WithDoubleClickHandlerADoubleClickGivesNoClick) {
  LoggingMenu menu({1, 3});
  TTrayIcon icon(nullptr);
  icon.SetPopupMenu(&menu.menu);
  RecordEvents(icon, true);
  FakeSystem::doubleClickTime = 120;

  Notify(icon, WM_LBUTTONDOWN);
  Notify(icon, WM_LBUTTONUP);
  Notify(icon, WM_LBUTTONDBLCLK);
  Notify(icon, WM_LBUTTONUP);
  traytest::PumpFor(400);
  EXPECT_EQ(FakeSystem::log, (Log{"down left left 100,200", "up left left 100,200", "dblclick",
                                  "item 1", "up left left 100,200"}));

  // The next single click is reported normally again.
  FakeSystem::log.clear();
  Notify(icon, WM_LBUTTONDOWN);
  Notify(icon, WM_LBUTTONUP);
  ASSERT_TRUE(traytest::PumpUntil([] { return FakeSystem::log.size() == 3; }, 5000));
  EXPECT_EQ(FakeSystem::log.back(), "click");
}

TEST_F(TrayNotification, DefaultItemOnlyWithAutoPopupAndWithoutLeftPopup) {
  struct Case {
    const char* name;
    bool autoPopup;
    bool leftPopup;
    bool hasMenu;
    Log expected;
  };
  const Case cases[] = {
      {"plain", true, false, true, {"dblclick", "item 1"}},
      {"left popup", true, true, true, {"dblclick"}},
      {"menu without auto popup", false, false, true, {"dblclick"}},
      {"no menu", true, false, false, {"dblclick"}},
  };
  for (const Case& c : cases) {
    LoggingMenu menu({3, 1});
    menu.menu.SetAutoPopup(c.autoPopup);
    TTrayIcon icon(nullptr);
    if (c.hasMenu) icon.SetPopupMenu(&menu.menu);
    icon.SetLeftPopup(c.leftPopup);
    icon.OnDblClick = [](TTrayIcon&) { FakeSystem::log.push_back("dblclick"); };
    FakeSystem::log.clear();
    Notify(icon, WM_LBUTTONDBLCLK);
    EXPECT_EQ(FakeSystem::log, c.expected) << c.name;
  }
}

TEST_F(TrayNotification, SubmenusAreNotSearchedForADefaultItem) {
  LoggingMenu menu({});
  auto* nested = new wingui::MenuItem(&menu.menu, "Nested");
  nested->OnClick = [] { FakeSystem::log.push_back("nested"); };
  nested->SetDefault(true);
  menu.menu.Items().Item(0)->Add(nested);
  TTrayIcon icon(nullptr);
  icon.SetPopupMenu(&menu.menu);
  Notify(icon, WM_LBUTTONDBLCLK);
  EXPECT_EQ(FakeSystem::log, Log{});
}

// ---- popup menu -----------------------------------------------------------------------

// A menu that logs when it opens and closes itself shortly after.
struct SelfClosingMenu {
  SelfClosingMenu() : menu(nullptr) {
    menu.Items().Add(new wingui::MenuItem(&menu, "Only"));
    closer.SetOneShot(true);
    menu.OnPopup = [this] {
      FakeSystem::log.push_back("popup");
      closer.Arm();
    };
  }
  wingui::PopupMenu menu;
  tray::TSimpleTimer closer{50, [](tray::TSimpleTimer&) { EndMenu(); }};
};

TEST_F(TrayNotification, RightPressOpensTheMenuAtThePointerAfterTheEvent) {
  SelfClosingMenu menu;
  TTrayIcon icon(nullptr);
  icon.SetPopupMenu(&menu.menu);
  RecordEvents(icon, false);

  Notify(icon, WM_RBUTTONDOWN);
  EXPECT_EQ(FakeSystem::log, (Log{"down right right 100,200", "popup"}));
  EXPECT_EQ(FakeSystem::foreground, std::vector<HWND>{wingui::App().Handle()});

  // Only the press opens it; the left button only with LeftPopup.
  FakeSystem::log.clear();
  Notify(icon, WM_RBUTTONUP);
  Notify(icon, WM_LBUTTONDOWN);
  EXPECT_EQ(FakeSystem::log, (Log{"up right right 100,200", "down left left 100,200"}));
  icon.SetLeftPopup(true);
  FakeSystem::log.clear();
  Notify(icon, WM_LBUTTONDOWN);
  EXPECT_EQ(FakeSystem::log, (Log{"down left left 100,200", "popup"}));
}

TEST_F(TrayNotification, ASharedMenuKnowsWhichIconOpenedIt) {
  SelfClosingMenu menu;
  wingui::Component owner(nullptr);
  auto* first = new TTrayIcon(&owner);
  auto* second = new TTrayIcon(&owner);
  first->SetPopupMenu(&menu.menu);
  second->SetPopupMenu(&menu.menu);
  std::vector<wingui::Component*> openers;
  menu.menu.OnPopup = [&] {
    openers.push_back(menu.menu.PopupComponent());
    menu.closer.Arm();
  };
  Notify(*second, WM_RBUTTONDOWN);
  Notify(*first, WM_RBUTTONDOWN);
  EXPECT_EQ(openers, (std::vector<wingui::Component*>{second, first}));
  delete first;
  EXPECT_EQ(menu.menu.PopupComponent(), nullptr);
}

TEST_F(TrayNotification, NoMenuWithoutAutoPopupOrPointer) {
  SelfClosingMenu menu;
  TTrayIcon icon(nullptr);
  RecordEvents(icon, false);
  Notify(icon, WM_RBUTTONDOWN);  // no menu at all

  icon.SetPopupMenu(&menu.menu);
  menu.menu.SetAutoPopup(false);
  Notify(icon, WM_RBUTTONDOWN);

  menu.menu.SetAutoPopup(true);
  FakeSystem::cursorReadable = false;
  Notify(icon, WM_RBUTTONDOWN);
  EXPECT_EQ(FakeSystem::log, (Log{"down right right 100,200", "down right right 100,200",
                                  "down right right 0,0"}));
  EXPECT_TRUE(FakeSystem::foreground.empty());
}

TEST_F(TrayNotification, MenuOfADestroyedComponentIsForgotten) {
  wingui::Component owner(nullptr);
  auto* menu = new wingui::PopupMenu(&owner);
  auto* icon = new TTrayIcon(&owner);
  icon->SetPopupMenu(menu);
  delete menu;
  EXPECT_EQ(icon->PopupMenu(), nullptr);
  Notify(*icon, WM_RBUTTONDOWN);  // must not touch the freed menu
  EXPECT_TRUE(FakeSystem::foreground.empty());
}

// ---- enter and exit -------------------------------------------------------------------

TEST_F(TrayNotification, EnterAndExitFollowThePointer) {
  TTrayIcon icon(nullptr);
  RecordEvents(icon, false);
  Notify(icon, WM_MOUSEMOVE);
  EXPECT_EQ(FakeSystem::log, Log{"move none 100,200"}) << "no enter/exit unless wanted";

  icon.SetWantEnterExitEvents(true);
  FakeSystem::log.clear();
  Notify(icon, WM_MOUSEMOVE);
  Notify(icon, WM_MOUSEMOVE);
  EXPECT_EQ(FakeSystem::log, (Log{"enter", "move none 100,200", "move none 100,200"}));

  // The pointer stays where the shell last saw it: no exit however long we wait.
  traytest::PumpFor(150);
  EXPECT_EQ(FakeSystem::log.size(), 3u);

  FakeSystem::log.clear();
  FakeSystem::cursor = POINT{101, 200};
  ASSERT_TRUE(traytest::PumpUntil([] { return !FakeSystem::log.empty(); }, 5000));
  traytest::PumpFor(100);
  EXPECT_EQ(FakeSystem::log, Log{"exit"});

  FakeSystem::log.clear();
  Notify(icon, WM_MOUSEMOVE);
  EXPECT_EQ(FakeSystem::log, (Log{"enter", "move none 101,200"}));

  icon.SetWantEnterExitEvents(false);
  FakeSystem::log.clear();
  FakeSystem::cursor = POINT{300, 300};
  traytest::PumpFor(150);
  EXPECT_EQ(FakeSystem::log, Log{});
}

// ---- dispatchers ----------------------------------------------------------------------

// The internal paths go through the overridable dispatchers: a subclass that takes over
// DoMouseDown and DoClick sees the calls, and the events stay silent.
class Overriding : public TTrayIcon {
 public:
  using TTrayIcon::TTrayIcon;

 protected:
  void DoMouseDown(tray::TMouseButton, tray::TShiftState shift, int x, int y) override {
    FakeSystem::log.push_back("DoMouseDown " + ShiftText(shift) + " " + std::to_string(x) + "," +
                              std::to_string(y));
  }
  void DoClick() override { FakeSystem::log.push_back("DoClick"); }
};

TEST_F(TrayNotification, EventsAreRaisedThroughTheOverridableDispatchers) {
  Overriding icon(nullptr);
  RecordEvents(icon, false);
  Notify(icon, WM_LBUTTONDOWN);
  Notify(icon, WM_LBUTTONUP);
  EXPECT_EQ(FakeSystem::log, (Log{"DoMouseDown left 100,200", "DoClick", "up left left 100,200"}));
}

TEST_F(TrayNotification, AHandlerMayDestroyTheComponent) {
  SelfClosingMenu menu;
  auto* icon = new TTrayIcon(nullptr);
  icon->SetPopupMenu(&menu.menu);
  icon->OnMouseDown = [&icon](TTrayIcon&, tray::TMouseButton, tray::TShiftState, int, int) {
    delete icon;
    icon = nullptr;
  };
  TTrayIcon keeper(nullptr);  // keeps the hidden window alive for the sending
  const UINT id = icon->IconId();
  SendMessageA(tray::SharedTrayHandler()->HiddenWindow(), tray::kTrayCallbackMessage, id,
               WM_RBUTTONDOWN);
  EXPECT_EQ(icon, nullptr);
  EXPECT_EQ(FakeSystem::log, Log{"shell delete"}) << "no menu for a component that is gone";
}

}  // namespace
