// The tray component's properties and life: what each setter sends to the shell, the
// shell record, the hint limit, image-list indexes and icon cycling, the shared hidden
// window, and the orders of construction, loading and destruction.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "TrayTestSupport.h"
#include "tray/TrayIcon.h"
#include "wingui/Graphics.h"

namespace {

using namespace traytest;
using tray::TTrayIcon;
using Log = std::vector<std::string>;

using TrayIconProperties = TrayTest;

const COLORREF kColours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};

// An image list of solid colours, in the order of kColours.
std::unique_ptr<wingui::ImageList> ColourList(int count, wingui::Component* owner = nullptr) {
  auto list = std::make_unique<wingui::ImageList>(owner);
  for (int i = 0; i < count; ++i) {
    HICON icon = MakeSolidIcon(kColours[i]);
    list->Add(icon);
    DestroyIcon(icon);
  }
  return list;
}

// Index in kColours of the colour the component's icon shows, or -1.
int ShownColour(TTrayIcon& icon) {
  const COLORREF colour = CentreColour(icon.Icon().Handle());
  for (int i = 0; i < 4; ++i) {
    if (colour == kColours[i]) return i;
  }
  return -1;
}

TEST_F(TrayIconProperties, NewComponentHasItsDefaultsAndSendsNothing) {
  TTrayIcon icon(nullptr);
  EXPECT_TRUE(icon.Enabled());
  EXPECT_TRUE(icon.ShowHint());
  EXPECT_FALSE(icon.IconVisible());
  EXPECT_FALSE(icon.CycleIcons());
  EXPECT_FALSE(icon.LeftPopup());
  EXPECT_FALSE(icon.WantEnterExitEvents());
  EXPECT_FALSE(icon.MinimizeToTray());
  EXPECT_FALSE(icon.DesignPreview());
  EXPECT_EQ(icon.Hint(), "");
  EXPECT_EQ(icon.IconList(), nullptr);
  EXPECT_EQ(icon.PopupMenu(), nullptr);
  EXPECT_TRUE(icon.Icon().Empty());
  EXPECT_EQ(icon.ShellBehaviour(), tray::TShellBehaviour::Classic);
  EXPECT_TRUE(FakeSystem::calls.empty());

  const tray::NotifyIconRecord& r = icon.NotifyData();
  // The V2 size of the program's own architecture: 488 bytes for 32-bit, 504 for 64-bit.
  EXPECT_EQ(r.cbSize, sizeof(void*) == 4 ? 488u : 504u);
  EXPECT_EQ(r.hWnd, tray::SharedTrayHandler()->HiddenWindow());
  EXPECT_EQ(r.uID, icon.IconId());
  EXPECT_EQ(r.uFlags, 7u);
  EXPECT_EQ(r.uCallbackMessage, 0x0800u);
}

TEST_F(TrayIconProperties, VisibilityAddsAndRemovesAndRecordsTheLastRequest) {
  TTrayIcon icon(nullptr);
  icon.SetIconVisible(true);
  ASSERT_EQ(FakeSystem::calls.size(), 1u);
  EXPECT_EQ(FakeSystem::calls[0].request, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(FakeSystem::calls[0].record.uID, icon.IconId());
  EXPECT_EQ(FakeSystem::calls[0].record.cbSize, sizeof(void*) == 4 ? 488u : 504u);

  icon.SetIconVisible(false);
  EXPECT_EQ(FakeSystem::calls.back().request, static_cast<DWORD>(NIM_DELETE));
  EXPECT_FALSE(icon.IconVisible());

  // A refused request still counts as the visible state asked for.
  FakeSystem::shellAnswer = FALSE;
  EXPECT_FALSE(icon.AddToTray());
  EXPECT_TRUE(icon.IconVisible());
  FakeSystem::shellAnswer = TRUE;
  EXPECT_TRUE(icon.UpdateInTray());
  EXPECT_TRUE(icon.RemoveFromTray());
}

TEST_F(TrayIconProperties, HintGoesOutAsTipOfAtMost127Characters) {
  TTrayIcon icon(nullptr);
  std::string hint;
  for (int i = 0; i < 200; ++i) hint += static_cast<char>('a' + i % 26);
  icon.SetHint(hint);
  ASSERT_EQ(FakeSystem::calls.size(), 1u);
  EXPECT_EQ(FakeSystem::calls[0].request, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(FakeSystem::calls[0].Tip(), hint.substr(0, 127));

  auto tipIsBlank = [] {
    const auto& tip = FakeSystem::calls.back().record.szTip;
    return std::all_of(std::begin(tip), std::end(tip), [](char c) { return c == 0; });
  };
  icon.SetShowHint(false);
  EXPECT_EQ(FakeSystem::calls.size(), 2u);
  EXPECT_TRUE(tipIsBlank()) << "a hidden hint leaves no tooltip at all";

  icon.SetShowHint(true);
  icon.SetHint("short");
  EXPECT_EQ(FakeSystem::calls.back().Tip(), "short");
  icon.SetHint("");
  EXPECT_TRUE(tipIsBlank()) << "no remains of the longer tip";
}

TEST_F(TrayIconProperties, IconChangesAreSentOnceEach) {
  TTrayIcon icon(nullptr);
  HICON red = MakeSolidIcon(kColours[0]);
  wingui::Icon source;
  source.LoadFromHandle(red);

  icon.SetIcon(source);
  ASSERT_EQ(FakeSystem::calls.size(), 1u);
  EXPECT_EQ(FakeSystem::calls[0].request, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(FakeSystem::calls[0].record.hIcon, icon.Icon().Handle());
  EXPECT_NE(icon.Icon().Handle(), source.Handle()) << "the component keeps its own copy";
  EXPECT_EQ(ShownColour(icon), 0);

  // A change made directly on the owned icon is sent too.
  icon.Icon().LoadFromHandle(red);
  EXPECT_EQ(FakeSystem::calls.size(), 2u);
  DestroyIcon(red);
}

TEST_F(TrayIconProperties, ShellBehaviourSetsTheVersion) {
  TTrayIcon icon(nullptr);
  icon.SetShellBehaviour(tray::TShellBehaviour::Version5);
  ASSERT_EQ(FakeSystem::calls.size(), 1u);
  EXPECT_EQ(FakeSystem::calls[0].request, static_cast<DWORD>(NIM_SETVERSION));
  EXPECT_EQ(FakeSystem::calls[0].record.uVersion, 3u);
  icon.SetShellBehaviour(tray::TShellBehaviour::Classic);
  EXPECT_EQ(FakeSystem::calls[1].record.uVersion, 0u);
}

// ---- image list and cycling ---------------------------------------------------------------

TEST_F(TrayIconProperties, IconIndexStaysInsideTheList) {
  TTrayIcon icon(nullptr);
  icon.SetIconIndex(5);
  EXPECT_EQ(icon.IconIndex(), 0) << "without a list";

  auto four = ColourList(4);
  icon.SetIconList(four.get());
  EXPECT_EQ(icon.IconIndex(), 0);
  EXPECT_EQ(ShownColour(icon), 0);

  icon.SetIconIndex(10);
  EXPECT_EQ(icon.IconIndex(), 3);
  EXPECT_EQ(ShownColour(icon), 3);
  EXPECT_EQ(FakeSystem::calls.back().record.hIcon, icon.Icon().Handle());

  // Outside the list the icon keeps what it shows.
  icon.SetIconIndex(-2);
  EXPECT_EQ(ShownColour(icon), 3);
  auto empty = ColourList(0);
  icon.SetIconList(empty.get());
  EXPECT_EQ(ShownColour(icon), 3);
  icon.SetIconIndex(0);
  icon.SetIconList(nullptr);
  EXPECT_EQ(icon.IconIndex(), 0);
}

TEST_F(TrayIconProperties, ReplacedImagesShowFromTheNextIndexChange) {
  auto list = ColourList(2);
  TTrayIcon icon(nullptr);
  icon.SetIconList(list.get());
  EXPECT_EQ(ShownColour(icon), 0);

  HICON yellow = MakeSolidIcon(kColours[3]);
  list->Replace(0, yellow);
  DestroyIcon(yellow);
  EXPECT_EQ(ShownColour(icon), 0) << "no change by itself";
  icon.SetIconIndex(0);
  EXPECT_EQ(ShownColour(icon), 3);
}

TEST_F(TrayIconProperties, CyclingStepsThroughTheListAndReportsTheNextIndex) {
  auto list = ColourList(3);
  TTrayIcon icon(nullptr);
  icon.SetIconList(list.get());
  icon.SetIconIndex(2);
  // Per step: the NextIndex reported, and the image shown after the step.
  std::vector<int> reported, shownAfter;
  icon.OnCycle = [&](TTrayIcon& sender, int next) {
    // The image of this step is already shown; record the one before it.
    if (!reported.empty()) shownAfter.push_back(ShownColour(sender));
    reported.push_back(next);
  };
  icon.SetCycleInterval(30);
  icon.SetCycleIcons(true);
  EXPECT_EQ(icon.IconIndex(), 0) << "cycling starts from image 0";
  ASSERT_TRUE(PumpUntil([&] { return reported.size() >= 5; }, 5000));
  icon.SetCycleIcons(false);
  EXPECT_EQ(std::vector<int>(reported.begin(), reported.begin() + 4), (std::vector<int>{1, 2, 0, 1}));
  EXPECT_EQ(std::vector<int>(shownAfter.begin(), shownAfter.begin() + 4),
            (std::vector<int>{1, 2, 0, 1}));

  const size_t stopped = reported.size();
  PumpFor(150);
  EXPECT_EQ(reported.size(), stopped);
}

TEST_F(TrayIconProperties, CyclingWithIntervalZeroWaitsForAnInterval) {
  auto list = ColourList(3);
  TTrayIcon icon(nullptr);
  icon.SetIconList(list.get());
  icon.SetIconIndex(2);
  std::vector<int> reported;
  icon.OnCycle = [&](TTrayIcon&, int next) { reported.push_back(next); };
  icon.SetCycleIcons(true);
  EXPECT_EQ(icon.IconIndex(), 0);
  PumpFor(200);
  EXPECT_TRUE(reported.empty());

  icon.SetIconIndex(2);
  icon.SetCycleInterval(500);
  EXPECT_EQ(icon.IconIndex(), 0) << "a new interval restarts from image 0";
  ASSERT_TRUE(PumpUntil([&] { return !reported.empty(); }, 5000));
  EXPECT_EQ(reported.front(), 1);
}

TEST_F(TrayIconProperties, ListOfADestroyedComponentIsForgotten) {
  wingui::Component owner(nullptr);
  auto list = ColourList(2, &owner);
  auto* icon = new TTrayIcon(&owner);
  icon->SetIconList(list.get());
  icon->SetIconIndex(1);
  FakeSystem::calls.clear();
  list.reset();
  EXPECT_EQ(icon->IconList(), nullptr);
  EXPECT_EQ(icon->IconIndex(), 0);
  EXPECT_EQ(FakeSystem::Count(NIM_MODIFY), 1);
}

// ---- shared window, construction, loading, destruction -----------------------------------

TEST_F(TrayIconProperties, ComponentsShareOneWindowThatGoesWithTheLast) {
  ASSERT_EQ(tray::SharedTrayHandler(), nullptr);
  auto first = std::make_unique<TTrayIcon>(nullptr);
  auto second = std::make_unique<TTrayIcon>(nullptr);
  const HWND window = tray::SharedTrayHandler()->HiddenWindow();
  EXPECT_EQ(tray::SharedTrayHandler()->UserCount(), 2u);
  EXPECT_NE(first->IconId(), second->IconId());
  EXPECT_EQ(first->NotifyData().hWnd, second->NotifyData().hWnd);

  first.reset();
  EXPECT_TRUE(IsWindow(window));
  RecordEvents(*second, false);
  Notify(*second, WM_MBUTTONDOWN);
  EXPECT_EQ(FakeSystem::log.back(), "down middle middle 100,200");
  second->SetHint("still here");
  EXPECT_EQ(FakeSystem::calls.back().Tip(), "still here");

  second.reset();
  EXPECT_EQ(tray::SharedTrayHandler(), nullptr);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(TrayIconProperties, DestructionRemovesTheIconFirst) {
  auto list = ColourList(2);
  auto icon = std::make_unique<TTrayIcon>(nullptr);
  icon->SetIconList(list.get());
  icon->SetCycleInterval(20);
  icon->SetCycleIcons(true);
  icon->SetWantEnterExitEvents(true);
  icon->SetIconVisible(true);
  const UINT id = icon->IconId();
  FakeSystem::calls.clear();
  // The record is checked while the request is made, before anything is torn down.
  icon.reset();
  ASSERT_FALSE(FakeSystem::calls.empty());
  EXPECT_EQ(FakeSystem::calls.front().request, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(FakeSystem::calls.front().record.uID, id);
  EXPECT_EQ(tray::SharedTrayHandler(), nullptr);
  PumpFor(100);  // no tick may reach the destroyed component
}

TEST_F(TrayIconProperties, LoadedReappliesTheStoredState) {
  wingui::Component form(nullptr);
  form.BeginLoading();
  auto* icon = new TTrayIcon(&form);
  // Stored values in their order, each acting at once.
  icon->SetCycleInterval(0);
  icon->SetIconVisible(true);
  icon->SetIconIndex(0);
  EXPECT_EQ(FakeSystem::log, (Log{"shell add", "shell modify"}));

  FakeSystem::log.clear();
  form.EndLoading();
  EXPECT_EQ(FakeSystem::log, (Log{"shell modify", "shell add", "shell setversion"}));
}

}  // namespace
