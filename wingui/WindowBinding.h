// The one way every window the program makes reaches the object behind it: forms, controls,
// the application window, hidden windows and the browser's area alike. Our window classes
// are registered once, all with the one window procedure here; it finds the object in a map
// in our own memory (a window property or window long would cost a round trip to the window
// system, under Wine to its server, on every message) and hands it each message under the
// error guard. A window of our class is bound from its very first message (WM_GETMINMAXINFO
// comes before WM_NCCREATE); a standard control is bound by replacing its procedure right
// after it is made. Windows are made on the one GUI thread only.
#pragma once

#include <windows.h>

#include <string>

namespace wingui {

// The object behind a window.
class MessageTarget {
 public:
  // Handles one message of the window. What the target does not handle goes on to the
  // window's own procedure (DefWindowProcA for our classes).
  virtual LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  // The window has been destroyed (after its last message, WM_NCDESTROY).
  virtual void WindowGone(HWND) {}

 protected:
  ~MessageTarget() = default;
};

// A window class of ours, registered once per process however often it is asked for.
struct WindowClass {
  const char* name = nullptr;
  UINT style = 0;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
};
void RegisterWindowClass(const WindowClass& windowClass);

// What a window is made with: CreateWindowEx's arguments by name.
struct WindowArgs {
  const char* className = nullptr;
  std::string text = {};
  DWORD style = 0;
  DWORD exStyle = 0;
  int left = 0, top = 0, width = 0, height = 0;
  HWND parent = nullptr;  // the parent of a child window, the owner of a top-level one
  UINT_PTR childId = 0;
};

// Makes a window bound to target: one of our classes from its first message, a standard
// control right after it is made. For a standard control `standardProc` receives the
// control's own procedure, which the target passes messages on to with CallWindowProcW; it is
// given back to the control when the control is destroyed. Throws when the system refuses.
HWND CreateBoundWindow(const WindowArgs& args, MessageTarget& target,
                       WNDPROC* standardProc = nullptr);

// Cuts the window off from its target: later messages, those of its destruction included,
// go to DefWindowProcA. For targets that are going away before their window.
void UnbindWindow(HWND hwnd);

// The target behind one of our windows, or nullptr.
MessageTarget* BoundTarget(HWND hwnd);

}  // namespace wingui
