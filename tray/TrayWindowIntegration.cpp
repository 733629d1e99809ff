// How a tray component works with the application's windows: a filter on the
// application window (minimise to tray, start-up check of an MDI main form, restore,
// re-adding the icon when the shell rebuilds its taskbar) and a replacement window
// procedure on the owner form (foreground on show, the two minimise-to-tray paths).
#include <array>
#include <utility>

#include "tray/TrayIcon.h"
#include "launch/Errors.h"
#include "tray/TrayPlatform.h"
#include "wingui/ExceptionBoundary.h"
#include "wingui/Form.h"
#include "wingui/WinControl.h"

namespace tray {
namespace {

// 4.71, the first common-controls version whose shell broadcasts "TaskbarCreated".
constexpr DWORD kTaskbarCreatedMinVersion = (4u << 16) | 71u;

UINT RegisterTaskbarCreated() {
  if (wingui::CommonControlsVersion() < kTaskbarCreatedMinVersion) return 0;
  return RegisterWindowMessageA("TaskbarCreated");
}

// Settled once when the program starts.
const UINT g_taskbarCreated = RegisterTaskbarCreated();

}  // namespace

UINT TaskbarCreatedMessage() { return g_taskbarCreated; }

// ---- the owner window's replacement procedure ----------------------------------------
//
// A window procedure carries no context, so each hooked component gets one of a fixed
// set of procedures, each bound to its own slot. A component's slot remembers the
// procedure it replaced, which is what a second component on the same form chains to.

namespace {

struct OwnerSlot {
  TTrayIcon* icon = nullptr;
  WNDPROC previous = nullptr;
  bool used = false;
};

constexpr int kOwnerSlots = 64;
std::array<OwnerSlot, kOwnerSlots> g_ownerSlots{};

}  // namespace

class TTrayIcon::OwnerProcs {
 public:
  using Slot = OwnerSlot;
  static constexpr int kSlots = kOwnerSlots;

  static Slot& At(int index) { return g_ownerSlots[index]; }
  static WNDPROC ProcOf(int index) { return procs_[index]; }
  static int Claim(TTrayIcon* icon) {
    for (int i = 0; i < kSlots; ++i) {
      if (!g_ownerSlots[i].used) {
        g_ownerSlots[i] = Slot{icon, nullptr, true};
        return i;
      }
    }
    throw launch::Error("Too many tray icons on forms");
  }

 private:
  template <int N>
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const Slot& slot = g_ownerSlots[N];
    if (slot.icon) return slot.icon->OwnerWindowFilter(hwnd, msg, wParam, lParam);
    // A component that is gone but could not take itself out of the chain passes on.
    return CallWindowProcA(slot.previous, hwnd, msg, wParam, lParam);
  }

  template <int... I>
  static constexpr std::array<WNDPROC, sizeof...(I)> MakeProcs(std::integer_sequence<int, I...>) {
    return {&Proc<I>...};
  }

  static inline const std::array<WNDPROC, kSlots> procs_ =
      MakeProcs(std::make_integer_sequence<int, kSlots>());
};

bool TTrayIcon::OwnerIsWindowed() const {
  return dynamic_cast<wingui::WinControl*>(Owner()) != nullptr;
}

HWND TTrayIcon::HookedOwnerWindow() const {
  return ownerSlot_ >= 0 && IsWindow(ownerWindow_) ? ownerWindow_ : nullptr;
}

void TTrayIcon::HookOwnerWindow() {
  // Asking the owner for its window creates it when it does not exist yet.
  const HWND window = static_cast<wingui::WinControl*>(Owner())->Handle();
  const int index = OwnerProcs::Claim(this);
  OwnerProcs::At(index).previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  ownerWindow_ = window;
  ownerSlot_ = index;
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerProcs::ProcOf(index)));
}

void TTrayIcon::UnhookOwnerWindow() {
  if (ownerSlot_ < 0) return;
  OwnerProcs::Slot& slot = OwnerProcs::At(ownerSlot_);
  const WNDPROC ours = OwnerProcs::ProcOf(ownerSlot_);
  if (!IsWindow(ownerWindow_)) {
    slot = OwnerProcs::Slot{};
  } else if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(ownerWindow_, GWLP_WNDPROC)) == ours) {
    SetWindowLongPtrA(ownerWindow_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(slot.previous));
    slot = OwnerProcs::Slot{};
  } else {
    // Someone replaced the procedure after us; putting ours back would cut them out.
    // The slot stays in the chain as a plain pass-through and is never handed out again.
    slot.icon = nullptr;
  }
  ownerWindow_ = nullptr;
  ownerSlot_ = -1;
}

LRESULT TTrayIcon::OwnerWindowFilter(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Kept before any handler runs: a handler may destroy this component.
  const WNDPROC previous = OwnerProcs::At(ownerSlot_).previous;
  LRESULT result = 0;
  bool handled = false;
  wingui::CallGuarded([&] {
    if (msg == WM_SHOWWINDOW && wParam == TRUE && lParam == 0) {
      Platform().SetForegroundWindow(wingui::App().Handle());
      Platform().SetForegroundWindow(hwnd);
    } else if (msg == WM_SHOWWINDOW && wParam == FALSE && lParam == SW_PARENTCLOSING &&
               !wingui::App().Terminating()) {
      handled = TryMinimizeToTray(result);
    } else if (msg == WM_SYSCOMMAND && wParam == SC_MINIMIZE) {
      handled = TryMinimizeToTray(result);
    }
  });
  if (handled) return result;
  return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
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
  if (!OwnerIsWindowed() || Designing()) return;
  if (RunStartupHandler()) return;
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
