// How a tray component works with the application's windows: a filter on the
// application window (minimise to tray, start-up check of an MDI main form, restore,
// re-adding the icon when the shell rebuilds its taskbar) and a replacement window
// procedure on the owner form (foreground on show, the two minimise-to-tray paths).
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "tray/TrayIcon.h"
#include "tray/TrayPlatform.h"
#include "wingui/ExceptionBoundary.h"
#include "wingui/Form.h"
#include "wingui/WinControl.h"

namespace tray {
namespace {

// 4.71, the first common-controls version whose shell broadcasts "TaskbarCreated".
constexpr DWORD kTaskbarCreatedMinVersion = (4u << 16) | 71u;

// Settled once when the program starts.
const UINT g_taskbarCreated = wingui::CommonControlsVersion() < kTaskbarCreatedMinVersion
                                  ? 0
                                  : RegisterWindowMessageA("TaskbarCreated");

}  // namespace

UINT TaskbarCreatedMessage() { return g_taskbarCreated; }

// ---- the owner window's replacement procedure ----------------------------------------
//
// The one place in the program where a window's messages reach something other than the
// window's own object: a component filters the messages of the form that owns it, as the
// component's design asks, by replacing the form's window procedure. The form's own object
// gets every message afterwards through the procedure kept here. A window procedure carries
// no context, so one procedure serves every hooked window and looks the window up here; each
// window keeps the procedure it had before the first component hooked it and its hooked
// components, oldest first. Later components see a message first, as if each had replaced
// the procedure after the one before it.

namespace {

struct OwnerHook {
  WNDPROC previous = nullptr;
  std::vector<TTrayIcon*> icons;
};

std::unordered_map<HWND, OwnerHook>& OwnerHooks() {
  static std::unordered_map<HWND, OwnerHook> hooks;
  return hooks;
}

}  // namespace

bool TTrayIcon::OwnerIsWindowed() const {
  return dynamic_cast<wingui::WinControl*>(Owner()) != nullptr;
}

void TTrayIcon::HookOwnerWindow() {
  const HWND window = static_cast<wingui::WinControl*>(Owner())->Handle();
  OwnerHook& hook = OwnerHooks()[window];
  if (hook.icons.empty() && !hook.previous) {
    hook.previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerWindowProc));
  }
  hook.icons.push_back(this);
  ownerWindow_ = window;
}

void TTrayIcon::UnhookOwnerWindow() {
  if (!ownerWindow_) return;
  const auto found = OwnerHooks().find(ownerWindow_);
  if (found != OwnerHooks().end()) {
    OwnerHook& hook = found->second;
    hook.icons.erase(std::remove(hook.icons.begin(), hook.icons.end(), this), hook.icons.end());
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(ownerWindow_, GWLP_WNDPROC));
    // Someone who replaced the procedure after us still calls ours: it stays, passing
    // messages on, until the window goes.
    if (hook.icons.empty() && current == &OwnerWindowProc) {
      SetWindowLongPtrA(ownerWindow_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook.previous));
      OwnerHooks().erase(found);
    }
  }
  ownerWindow_ = nullptr;
}

LRESULT CALLBACK TTrayIcon::OwnerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto& hooks = OwnerHooks();
  auto found = hooks.find(hwnd);
  if (found == hooks.end()) return DefWindowProcA(hwnd, msg, wParam, lParam);
  // Kept before any filter runs: a handler may destroy components, or the window.
  const WNDPROC previous = found->second.previous;
  for (size_t next = found->second.icons.size(); next > 0;) {
    // A filter's handlers may unhook components: the list is looked up afresh each time.
    found = hooks.find(hwnd);
    if (found == hooks.end()) break;
    const std::vector<TTrayIcon*>& icons = found->second.icons;
    next = std::min(next, icons.size());
    if (next == 0) break;
    LRESULT result = 0;
    if (icons[--next]->OwnerWindowFilter(hwnd, msg, wParam, lParam, result)) return result;
  }
  const LRESULT result = CallWindowProcA(previous, hwnd, msg, wParam, lParam);
  // A window that is gone keeps no entry another window could inherit with its handle.
  if (msg == WM_NCDESTROY) hooks.erase(hwnd);
  return result;
}

bool TTrayIcon::OwnerWindowFilter(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                  LRESULT& result) {
  bool handled = false;
  wingui::CallGuarded([&] {
    if (msg == WM_SHOWWINDOW && wParam == TRUE && lParam == 0) {
      TraySeam().InUse.SetForegroundWindow(wingui::App().Handle());
      TraySeam().InUse.SetForegroundWindow(hwnd);
    } else if ((msg == WM_SHOWWINDOW && wParam == FALSE && lParam == SW_PARENTCLOSING &&
                !wingui::App().Terminating()) ||
               (msg == WM_SYSCOMMAND && wParam == SC_MINIMIZE)) {
      handled = TryMinimizeToTray(result);
    }
  });
  return handled;
}

bool TTrayIcon::TryMinimizeToTray(LRESULT& result) {
  if (!minimizeToTray_ || !OnMinimizeToTray) return false;
  OnMinimizeToTray(*this);
  if (StillAlive()) DoMinimizeToTray();
  // Handled: the window does not go through its normal minimise.
  result = 1;
  return true;
}

// ---- the application window ----------------------------------------------------------

bool TTrayIcon::AppWindowMessage(wingui::Message& message) {
  wingui::Application& app = wingui::App();
  switch (message.msg) {
    case WM_SIZE:
      if (message.wParam == SIZE_MINIMIZED && minimizeToTray_) DoMinimizeToTray();
      break;
    case WM_WINDOWPOSCHANGED:
      // The first position change with a main form decides, for an MDI main form, whether
      // the taskbar button stays. The flag is cleared first: hiding the button changes the
      // window's position state again, and that nested message must not ask twice.
      if (mdiStartupPending_ && app.MainForm()) {
        mdiStartupPending_ = false;
        if (app.MainForm()->Style() == wingui::FormStyle::MDIForm && !RunStartupHandler()) {
          HideTaskbarButton();
        }
      }
      break;
    case WM_SYSCOMMAND:
      if (message.wParam == SC_RESTORE && app.MainForm()) app.MainForm()->SetVisible(true);
      break;
  }
  // With no registered message the number is 0, which must not match WM_NULL.
  if (g_taskbarCreated != 0 && message.msg == g_taskbarCreated && iconVisible_) AddToTray();
  return false;
}

bool TTrayIcon::RunStartupHandler() {
  bool showMainForm = true;
  if (OnStartup) OnStartup(*this, showMainForm);
  return showMainForm;
}

void TTrayIcon::StartupCheck() {
  if (!OwnerIsWindowed() || RunStartupHandler()) return;
  wingui::App().SetShowMainForm(false);
  HideMainWindow();  // nothing yet while the application has no main form
}

void TTrayIcon::HideMainWindow() {
  wingui::Form* mainForm = wingui::App().MainForm();
  if (!OwnerIsWindowed() || !mainForm) return;
  mainForm->Hide();
  HideTaskbarButton();
}

void TTrayIcon::HideTaskbarButton() {
  const HWND appWindow = wingui::App().Handle();
  if (IsWindowVisible(appWindow)) ShowWindow(appWindow, SW_HIDE);
}

}  // namespace tray
