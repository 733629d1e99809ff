#include "wingui/WindowBinding.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "launch/Errors.h"
#include "wingui/ExceptionBoundary.h"

namespace wingui {
namespace {

struct Binding {
  MessageTarget* target;
  WNDPROC standardProc;  // a standard control's own procedure; nullptr for our classes
};

std::unordered_map<HWND, Binding>& Bindings() {
  static std::unordered_map<HWND, Binding> bindings;
  return bindings;
}

// The target whose window of our class is being made: bound on the window's first message.
MessageTarget* g_creating = nullptr;

LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto found = Bindings().find(hwnd);
  if (found == Bindings().end()) {
    if (!g_creating) return DefWindowProcA(hwnd, msg, wParam, lParam);
    found = Bindings().emplace(hwnd, Binding{std::exchange(g_creating, nullptr), nullptr}).first;
  }
  const Binding binding = found->second;
  LRESULT result = 0;  // stays 0 when the target throws
  CallGuarded([&] { result = binding.target->HandleMessage(hwnd, msg, wParam, lParam); });
  if (msg == WM_NCDESTROY) {
    // The window is gone: a standard control gets its own procedure back, the target hears.
    if (binding.standardProc) {
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(binding.standardProc));
    }
    Bindings().erase(hwnd);
    binding.target->WindowGone(hwnd);
  }
  return result;
}

std::vector<std::string>& RegisteredClasses() {
  static std::vector<std::string> registered;
  return registered;
}

bool IsOurClass(const char* name) {
  return std::ranges::find(RegisteredClasses(), name) != RegisteredClasses().end();
}

// A standard control is bound by replacing its procedure with a wide one, chained with
// CallWindowProcW: the standard controls' own procedures are wide, so messages pass straight
// through; with an ANSI procedure in between every text message would be converted twice, and
// Wine's version-6 list box overruns its stack converting a long row that way.
WNDPROC BindStandardWindow(HWND hwnd, MessageTarget& target) {
  const auto own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  Bindings()[hwnd] = Binding{&target, own};
  SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoundWindowProc));
  return own;
}

}  // namespace

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

HWND CreateBoundWindow(const WindowArgs& args, MessageTarget& target, WNDPROC* standardProc) {
  const bool ours = IsOurClass(args.className);
  if (ours) g_creating = &target;
  HWND hwnd = CreateWindowExA(args.exStyle, args.className, args.text.c_str(), args.style,
                              args.left, args.top, args.width, args.height, args.parent,
                              reinterpret_cast<HMENU>(args.childId), GetModuleHandleA(nullptr),
                              nullptr);
  g_creating = nullptr;
  if (!hwnd) throw launch::Error(std::string("Cannot create a window of class ") + args.className);
  if (!ours) {
    const WNDPROC own = BindStandardWindow(hwnd, target);
    if (standardProc) *standardProc = own;
  }
  return hwnd;
}

void UnbindWindow(HWND hwnd) {
  const auto found = Bindings().find(hwnd);
  if (found == Bindings().end()) return;
  if (found->second.standardProc) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(found->second.standardProc));
  }
  Bindings().erase(found);
}

MessageTarget* BoundTarget(HWND hwnd) {
  const auto found = Bindings().find(hwnd);
  return found == Bindings().end() ? nullptr : found->second.target;
}

}  // namespace wingui
