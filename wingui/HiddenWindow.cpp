#include "wingui/HiddenWindow.h"

#include "launch/Errors.h"
#include "wingui/ExceptionBoundary.h"

namespace wingui {
namespace {

constexpr char kClassName[] = "LanvoraHiddenWindow";

void RegisterClassOnce(WNDPROC proc) {
  static const ATOM atom = [proc] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc);
  }();
  if (atom == 0) throw launch::Error("Cannot register the hidden window class");
}

}  // namespace

HiddenWindow::HiddenWindow(MessageTarget& target) : target_(target) {
  RegisterClassOnce(&HiddenWindow::WindowProc);
  // WS_POPUP with no size and never shown: a top-level window nobody sees.
  HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, GetModuleHandleA(nullptr), this);
  if (!hwnd) throw launch::Error("Cannot create a hidden window");
  hwnd_.reset(hwnd);
}

HiddenWindow::~HiddenWindow() {
  if (HWND hwnd = hwnd_.get()) {
    // Messages that arrive while the window is being destroyed must not reach a target
    // that is half torn down.
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  }
}

LRESULT CALLBACK HiddenWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<HiddenWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  if (!CallGuarded([&] { result = self->target_.HandleMessage(hwnd, msg, wParam, lParam); })) {
    result = 0;
  }
  return result;
}

}  // namespace wingui
