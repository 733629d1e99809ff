// Popup menus: the structure written into the live menu handles (separators, "&&",
// sub-menus, default item), changes made while the handles exist, and choosing an item
// from a shown menu by keyboard.
#include "wingui/Menus.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace {

using namespace wingui;
using wingui_test::BoxRecorder;

struct Entry {
  UINT type = 0;
  UINT state = 0;
  HMENU sub = nullptr;
  std::string text;
};

Entry EntryAt(HMENU menu, int index) {
  char text[128] = {};
  MENUITEMINFOA mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
  mii.dwTypeData = text;
  mii.cch = sizeof text;
  EXPECT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(index), TRUE, &mii)) << "entry " << index;
  return Entry{mii.fType, mii.fState, mii.hSubMenu, text};
}

// The tray menu's shape.
struct TrayMenu {
  TrayMenu() : popup(&owner) {
    ip = new MenuItem(&owner, "IP");
    players = new MenuItem(&owner, "Players");
    ipeet = new MenuItem(&owner, "ipeet");
    save = new MenuItem(&owner, "Save");
    play = new MenuItem(&owner, "Save && Play");
    exit = new MenuItem(&owner, "Exit");
    popup.Items().Add(ip);
    popup.Items().Add(players);
    players->Add(ipeet);
    popup.Items().Add(save);
    popup.Items().Add(play);
    popup.Items().Add(exit);
  }
  Component owner{nullptr};
  PopupMenu popup;
  MenuItem *ip, *players, *ipeet, *save, *play, *exit;
};

TEST(Menus, StructureIsWrittenIntoTheMenuHandles) {
  TrayMenu m;
  HMENU menu = m.popup.Handle();
  ASSERT_EQ(GetMenuItemCount(menu), 5);
  EXPECT_EQ(EntryAt(menu, 0).text, "IP");
  EXPECT_EQ(EntryAt(menu, 3).text, "Save && Play") << "\"&&\" is passed on for the menu to show one &";
  const Entry players = EntryAt(menu, 1);
  ASSERT_NE(players.sub, nullptr);
  EXPECT_EQ(players.sub, m.players->Handle());
  EXPECT_EQ(GetMenuItemCount(players.sub), 1);
  EXPECT_EQ(EntryAt(players.sub, 0).text, "ipeet");
  EXPECT_EQ(m.popup.Items().Count(), 5);
  EXPECT_EQ(m.popup.Items().Item(4), m.exit);
  EXPECT_TRUE(m.popup.AutoPopup());
}

TEST(Menus, CaptionChangesFollowIntoTheLiveMenuIncludingSeparatorAndBack) {
  TrayMenu m;
  HMENU sub = m.players->Handle();
  m.ipeet->SetCaption("\"allow 10.0.0.2:1635\",\"allow 10.0.0.3:1635\"");
  EXPECT_EQ(EntryAt(sub, 0).text, "\"allow 10.0.0.2:1635\",\"allow 10.0.0.3:1635\"");
  m.ipeet->SetCaption("-");
  EXPECT_TRUE(EntryAt(sub, 0).type & MFT_SEPARATOR);
  m.ipeet->SetCaption("");
  EXPECT_FALSE(EntryAt(sub, 0).type & MFT_SEPARATOR);
  m.ipeet->SetCaption("back");
  EXPECT_FALSE(EntryAt(sub, 0).type & MFT_SEPARATOR);
  EXPECT_EQ(EntryAt(sub, 0).text, "back");

  m.save->SetDefault(true);
  EXPECT_TRUE(EntryAt(m.popup.Handle(), 2).state & MFS_DEFAULT);
  m.play->SetEnabled(false);
  EXPECT_TRUE(EntryAt(m.popup.Handle(), 3).state & MFS_DISABLED);
}

TEST(Menus, FreedItemsLeaveTheirMenuAndSubMenusSurviveTheirParent) {
  TrayMenu m;
  HMENU menu = m.popup.Handle();
  delete m.save;
  ASSERT_EQ(GetMenuItemCount(menu), 4);
  EXPECT_EQ(EntryAt(menu, 2).text, "Save && Play");
  // Emptying a sub-menu turns its item back into a plain one.
  delete m.ipeet;
  EXPECT_EQ(EntryAt(menu, 1).sub, nullptr);
  EXPECT_EQ(m.players->Count(), 0);
}

// Keys are posted before the menu opens; its own loop reads them.
void PostKeys(std::initializer_list<std::pair<UINT, WPARAM>> keys) {
  for (auto [msg, key] : keys) PostMessageA(App().Handle(), msg, key, 0);
}

TEST(Menus, PopupRaisesOnPopupAndClicksTheChosenItem) {
  BoxRecorder boxes;
  TrayMenu m;
  m.players->SetCaption("-");  // a separator is skipped by the arrow keys
  std::string clicked;
  m.ip->OnClick = [&] { clicked += "ip "; };
  m.save->OnClick = [&] { clicked += "save "; };
  m.exit->OnClick = [&] { clicked += "exit "; };
  int popups = 0;
  m.popup.OnPopup = [&] {
    ++popups;
    PostKeys({{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_RETURN}});
  };
  SetForegroundWindow(App().Handle());
  m.popup.Popup(100, 100);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(clicked, "save ");

  // The accelerator letter chooses the item at once.
  m.exit->SetCaption("E&xit");
  m.popup.OnPopup = [&] { PostKeys({{WM_CHAR, 'x'}}); };
  m.popup.Popup(100, 100);
  EXPECT_EQ(clicked, "save exit ");

  // Escape closes the menu without a click.
  m.popup.OnPopup = [&] { PostKeys({{WM_KEYDOWN, VK_ESCAPE}}); };
  m.popup.Popup(100, 100);
  EXPECT_EQ(clicked, "save exit ");
  EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
