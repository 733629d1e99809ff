// The tray component with the application's windows: re-adding the icon when the shell
// rebuilds its taskbar, foreground order when the form is shown, both minimise-to-tray
// paths, the restore command, and the start-up checks with OnStartup.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "TrayTestSupport.h"
#include "tray/TrayIcon.h"
#include "wingui/Application.h"
#include "wingui/Form.h"

namespace {

using namespace traytest;
using tray::TTrayIcon;
using Log = std::vector<std::string>;

class TrayWindows : public TrayTest {
 protected:
  void SetUp() override {
    TrayTest::SetUp();
    app = wingui::App().Handle();
    ShowWindow(app, SW_HIDE);
    wingui::App().SetShowMainForm(true);
  }
  void TearDown() override {
    if (IsIconic(app)) ShowWindow(app, SW_RESTORE);
    ShowWindow(app, SW_HIDE);
    wingui::App().SetShowMainForm(true);
  }
  HWND app = nullptr;
};

TEST_F(TrayWindows, TaskbarRebuildReaddsOnlyAVisibleIcon) {
  ASSERT_NE(tray::TaskbarCreatedMessage(), 0u) << "common controls 4.71 or later are present";
  TTrayIcon icon(nullptr);
  SendMessageA(app, tray::TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(FakeSystem::Count(NIM_ADD), 0);

  icon.SetIconVisible(true);
  SendMessageA(app, tray::TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(FakeSystem::Count(NIM_ADD), 2);
  EXPECT_EQ(FakeSystem::calls.back().record.uID, icon.IconId());

  icon.SetIconVisible(false);
  SendMessageA(app, tray::TaskbarCreatedMessage(), 0, 0);
  EXPECT_EQ(FakeSystem::Count(NIM_ADD), 2);
}

TEST_F(TrayWindows, ShowingTheFormBringsApplicationThenFormForward) {
  wingui::Form form(nullptr);
  TTrayIcon icon(&form);
  form.Show();
  EXPECT_EQ(FakeSystem::foreground, (std::vector<HWND>{app, form.Handle()}));

  form.Hide();
  EXPECT_EQ(FakeSystem::foreground.size(), 2u) << "hiding brings nothing forward";
  form.Show();
  EXPECT_EQ(FakeSystem::foreground.size(), 4u);
  EXPECT_EQ(FakeSystem::foreground[2], app);
  EXPECT_EQ(FakeSystem::foreground[3], form.Handle());
}

TEST_F(TrayWindows, OwnerProcedureIsPutBackAndTwoComponentsChain) {
  wingui::Form form(nullptr);
  const LONG_PTR original = GetWindowLongPtrA(form.Handle(), GWLP_WNDPROC);
  {
    TTrayIcon first(&form);
    TTrayIcon second(&form);
    EXPECT_NE(GetWindowLongPtrA(form.Handle(), GWLP_WNDPROC), original);
    form.Show();
    EXPECT_EQ(FakeSystem::foreground.size(), 4u) << "both components see the message";
    form.Hide();
  }
  EXPECT_EQ(GetWindowLongPtrA(form.Handle(), GWLP_WNDPROC), original);

  // Removed out of order: the later component keeps working, nothing dangles.
  auto first = std::make_unique<TTrayIcon>(&form);
  auto second = std::make_unique<TTrayIcon>(&form);
  first.reset();
  FakeSystem::foreground.clear();
  form.Show();
  EXPECT_EQ(FakeSystem::foreground.size(), 2u);
  form.Hide();
  second.reset();
  FakeSystem::foreground.clear();
  form.Show();
  EXPECT_TRUE(FakeSystem::foreground.empty());
}

TEST_F(TrayWindows, MinimiseCommandWithHandlerGoesToTheTray) {
  wingui::Form form(nullptr);
  ASSERT_EQ(wingui::App().MainForm(), &form);
  TTrayIcon icon(&form);
  icon.SetMinimizeToTray(true);
  icon.OnMinimizeToTray = [](TTrayIcon&) { FakeSystem::log.push_back("minimize event"); };
  form.Show();
  ASSERT_TRUE(IsWindowVisible(app));
  FakeSystem::log.clear();

  EXPECT_EQ(SendMessageA(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0), 1);
  EXPECT_EQ(FakeSystem::log, (Log{"minimize event", "shell add"}));
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  EXPECT_FALSE(IsWindowVisible(app)) << "taskbar button hidden";
  EXPECT_FALSE(IsIconic(app)) << "no normal minimise";
  EXPECT_TRUE(icon.IconVisible());

  // The restore command on the application window brings the main form back.
  SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

TEST_F(TrayWindows, MinimiseWithoutHandlerGoesToTheTrayOnTheApplicationsMinimise) {
  wingui::Form form(nullptr);
  TTrayIcon icon(&form);
  icon.SetMinimizeToTray(true);
  form.Show();
  FakeSystem::log.clear();

  // The command passes through: the application minimises, and its WM_SIZE does the rest.
  SendMessageA(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(FakeSystem::log, Log{"shell add"});
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  EXPECT_FALSE(IsWindowVisible(app));
}

TEST_F(TrayWindows, MinimiseStaysNormalWithoutMinimizeToTray) {
  wingui::Form form(nullptr);
  TTrayIcon icon(&form);
  icon.OnMinimizeToTray = [](TTrayIcon&) { FakeSystem::log.push_back("minimize event"); };
  form.Show();
  FakeSystem::log.clear();
  SendMessageA(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(FakeSystem::log, Log{});
  EXPECT_TRUE(IsIconic(app));
}

TEST_F(TrayWindows, StartupHandlerCanKeepTheMainFormHidden) {
  wingui::Form form(nullptr);
  form.BeginLoading();
  auto* icon = new TTrayIcon(&form);
  bool asked = false;
  icon->OnStartup = [&](TTrayIcon& sender, bool& showMainForm) {
    EXPECT_EQ(&sender, icon);
    asked = true;
    showMainForm = false;
  };
  icon->SetIconVisible(true);
  form.EndLoading();
  EXPECT_TRUE(asked);
  EXPECT_FALSE(wingui::App().ShowMainForm());
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(icon->IconVisible());
  EXPECT_EQ(FakeSystem::Count(NIM_ADD), 2) << "added while loading and again by Loaded";
}

TEST_F(TrayWindows, StartupHandlerLeftAloneShowsTheMainForm) {
  wingui::Form form(nullptr);
  form.BeginLoading();
  new TTrayIcon(&form);
  form.EndLoading();
  EXPECT_TRUE(wingui::App().ShowMainForm());
}

TEST_F(TrayWindows, MdiMainFormIsCheckedAtTheFirstPositionChange) {
  wingui::Form form(nullptr);
  form.SetStyle(wingui::FormStyle::MDIForm);
  ShowWindow(app, SW_SHOWNOACTIVATE);
  TTrayIcon icon(nullptr);
  int asked = 0;
  icon.OnStartup = [&](TTrayIcon&, bool& showMainForm) {
    ++asked;
    showMainForm = false;
  };
  SetWindowPos(app, nullptr, 1, 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(IsWindowVisible(app)) << "taskbar button hidden";

  SetWindowPos(app, nullptr, 2, 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(asked, 1) << "checked once only";
}

TEST_F(TrayWindows, NormalMainFormIsNotAskedAtAPositionChange) {
  wingui::Form form(nullptr);
  ShowWindow(app, SW_SHOWNOACTIVATE);
  TTrayIcon icon(nullptr);
  int asked = 0;
  icon.OnStartup = [&](TTrayIcon&, bool& showMainForm) {
    ++asked;
    showMainForm = false;
  };
  SetWindowPos(app, nullptr, 1, 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The check is over once a main form existed, so a later change to MDI asks nothing.
  form.SetStyle(wingui::FormStyle::MDIForm);
  SetWindowPos(app, nullptr, 2, 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(IsWindowVisible(app));
}

TEST_F(TrayWindows, NullMessageFollowsThePopupToTheOwner) {
  wingui::Form form(nullptr);
  TTrayIcon icon(&form);
  wingui::PopupMenu menu(nullptr);
  menu.Items().Add(new wingui::MenuItem(&menu, "Only"));
  tray::TSimpleTimer closer(50, [](tray::TSimpleTimer&) { EndMenu(); });
  closer.SetOneShot(true);
  menu.OnPopup = [&] { closer.Arm(); };
  icon.SetPopupMenu(&menu);
  PumpPending();

  Notify(icon, WM_RBUTTONDOWN);
  bool nullSeen = false;
  MSG msg;
  while (PeekMessageA(&msg, form.Handle(), 0, 0, PM_REMOVE)) nullSeen |= msg.message == WM_NULL;
  EXPECT_TRUE(nullSeen);
}

}  // namespace
