// The map from windows to their owners, the one window procedure of our classes, and the
// binding of standard controls.
#include "wingui/WindowBinding.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "launch/Errors.h"
#include "wingui/ExceptionBoundary.h"

namespace wingui {
namespace {

std::unordered_map<HWND, WindowOwner*>& Bindings() {
  static std::unordered_map<HWND, WindowOwner*> bindings;
  return bindings;
}

// The owner whose window of our class is being made: bound on the window's first message.
WindowOwner* g_creating = nullptr;

std::vector<std::string>& RegisteredClasses() {
  static std::vector<std::string> registered;
  return registered;
}

bool IsOurClass(const char* name) {
  return std::ranges::find(RegisteredClasses(), name) != RegisteredClasses().end();
}

}  // namespace

LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto found = Bindings().find(hwnd);
  if (found == Bindings().end()) {
    if (!g_creating) return DefWindowProcA(hwnd, msg, wParam, lParam);
    found = Bindings().emplace(hwnd, std::exchange(g_creating, nullptr)).first;
    found->second->hwnd_ = hwnd;
  }
  WindowOwner* owner = found->second;
  LRESULT result = 0;  // stays 0 when the owner throws
  CallGuarded([&] { result = owner->HandleMessage(msg, wParam, lParam); });
  if (msg == WM_NCDESTROY) {
    // The window is gone: a standard control gets its own procedure back, the owner hears.
    if (owner->standardProc_) {
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(owner->standardProc_));
    }
    Bindings().erase(hwnd);
    owner->hwnd_ = nullptr;
    owner->standardProc_ = nullptr;
    owner->WindowGone();
  }
  return result;
}

void RegisterWindowClass(const WindowClass& windowClass) {
  if (IsOurClass(windowClass.name)) return;
  WNDCLASSA wc{};
  wc.style = windowClass.style;
  wc.lpfnWndProc = &BoundWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = windowClass.icon;
  wc.hCursor = windowClass.cursor;
  wc.hbrBackground = windowClass.background;
  wc.lpszClassName = windowClass.name;
  if (!RegisterClassA(&wc)) {
    throw launch::Error(std::string("Cannot register the window class ") + windowClass.name);
  }
  RegisteredClasses().emplace_back(windowClass.name);
}

WindowOwner::~WindowOwner() {
  if (!hwnd_) return;
  // Cut off first: the messages of the destruction go to the window's own procedure.
  const HWND hwnd = std::exchange(hwnd_, nullptr);
  Bindings().erase(hwnd);
  if (standardProc_) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(standardProc_));
  DestroyWindow(hwnd);
}

HWND WindowOwner::Handle() const {
  if (!hwnd_) throw launch::Error("The window does not exist");
  return hwnd_;
}

WindowOwner* WindowOwner::OwnerOf(HWND hwnd) {
  const auto found = Bindings().find(hwnd);
  return found == Bindings().end() ? nullptr : found->second;
}

HWND WindowOwner::MakeWindow(const WindowArgs& args) {
  const bool ours = IsOurClass(args.className);
  if (ours) g_creating = this;
  HWND hwnd = CreateWindowExA(args.exStyle, args.className, args.text.c_str(), args.style,
                              args.left, args.top, args.width, args.height, args.parent,
                              reinterpret_cast<HMENU>(args.childId), GetModuleHandleA(nullptr),
                              nullptr);
  g_creating = nullptr;
  if (!hwnd) throw launch::Error(std::string("Cannot create a window of class ") + args.className);
  if (!ours) {
    // A standard control is bound by replacing its procedure with a wide one, chained with
    // CallWindowProcW: the standard controls' own procedures are wide, so messages pass
    // straight through; with an ANSI procedure in between every text message would be
    // converted twice, and Wine's version-6 list box overruns its stack converting a long row
    // that way.
    standardProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    Bindings()[hwnd] = this;
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoundWindowProc));
  }
  hwnd_ = hwnd;
  return hwnd;
}

void WindowOwner::DestroyOwnWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT WindowOwner::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefaultMessage(msg, wParam, lParam);
}

LRESULT WindowOwner::DefaultMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (standardProc_) return CallWindowProcW(standardProc_, hwnd_, msg, wParam, lParam);
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

}  // namespace wingui
