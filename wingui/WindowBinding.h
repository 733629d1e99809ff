// The one way an object owns a window, whatever the window: a form or a control, the
// application window, a hidden window, the area a browser is hosted in. The object derives
// from WindowOwner, makes its window with MakeWindow, gets each of its messages through one
// virtual entry (HandleMessage), hears of its destruction through WindowGone (the handle is
// cleared by then, so a window Windows already destroyed is never destroyed twice), and
// destroys it with itself, cut off from itself first so that no message of its destruction
// reaches an object that is half torn down.
//
// Our window classes are registered once, all with the one window procedure here; it finds
// the owner in a map in our own memory (a window property or window long would cost a round
// trip to the window system, under Wine to its server, on every message) and hands it each
// message under the error guard. A window of our class is bound from its very first message
// (WM_GETMINMAXINFO comes before WM_NCCREATE); a standard control is bound by replacing its
// procedure right after it is made. Windows are made on the one GUI thread only.
#pragma once

#include <windows.h>

#include <string>

namespace wingui {

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

class WindowOwner {
 public:
  WindowOwner(const WindowOwner&) = delete;
  WindowOwner& operator=(const WindowOwner&) = delete;

  // The window; throws when there is none (not made yet, or destroyed): a programming error.
  HWND Handle() const;
  bool HandleAllocated() const { return hwnd_ != nullptr; }

  // The owner of one of our windows, or nullptr.
  static WindowOwner* OwnerOf(HWND hwnd);

 protected:
  WindowOwner() = default;
  virtual ~WindowOwner();

  // Makes the window, bound to this object; throws when the system refuses. While it is being
  // made, its first messages come here too, with Handle() already set; an object still being
  // constructed gets them at the level it has reached.
  HWND MakeWindow(const WindowArgs& args);
  // Destroys the window now, when there is one (this object hears its last messages).
  void DestroyOwnWindow();

  // Each message of the window: the one message entry. What the owner does not handle goes on
  // to DefaultMessage.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // The window's own procedure: DefWindowProcA for our classes, the control's for a standard
  // control.
  LRESULT DefaultMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // The window has been destroyed (after its last message, WM_NCDESTROY); Handle() no longer
  // has it.
  virtual void WindowGone() {}

 private:
  friend LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  // A standard control's own procedure; nullptr for our own classes.
  WNDPROC standardProc_ = nullptr;
};

}  // namespace wingui
