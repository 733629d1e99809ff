// Drives a Win32 program from outside its process, the way a user would: starts it, finds its
// windows and controls, types into edits, clicks buttons, reads lists and message boxes, and
// answers the open-file dialog. Every wait polls up to a deadline; nothing sleeps blindly.
// Failures throw std::runtime_error with what was being looked for.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "wingui/Handles.h"

namespace harness {

// Long enough for a cold Wine start on a busy two-core machine.
constexpr DWORD kDefaultTimeoutMs = 20000;

// Polls `condition` every few milliseconds until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kDefaultTimeoutMs);

// Starts `exe` with `currentDirectory` as its working directory (both Windows paths);
// `arguments` follow the quoted program name on the command line verbatim. With
// `defaultPosition`, a window of the program that leaves its position to the system lands
// there (the start-up information's position). The thread handle is closed; the process
// handle is the caller's. Throws when the program cannot be started.
PROCESS_INFORMATION Launch(const std::string& exe, const std::string& currentDirectory,
                           const std::string& arguments = "",
                           const POINT* defaultPosition = nullptr);

// A started program. The destructor ends it if it is still running, so a failed test
// leaves no window behind for the next one.
class Process {
 public:
  // Starts `exe` with `currentDirectory` as its working directory (both Windows paths);
  // `arguments` follow the quoted program name on the command line verbatim.
  static Process Start(const std::string& exe, const std::string& currentDirectory,
                       const std::string& arguments = "", const POINT* defaultPosition = nullptr);
  Process(Process&&) = default;
  Process& operator=(Process&&) = default;
  ~Process();

  DWORD Id() const { return id_; }
  bool Running() const;
  // Ends the program at once, as a crash or a pulled plug would: it says nothing to anyone.
  void Kill();
  bool WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs) const;
  DWORD ExitCode() const;

 private:
  Process() = default;
  wingui::UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// Top-level windows of one process with the given class (empty: any) and exact title.
std::vector<HWND> TopLevelWindows(DWORD processId, const std::string& className,
                                  const std::string& title);
// Waits for a visible top-level window of the process with that class and title.
HWND WaitForWindow(DWORD processId, const std::string& className, const std::string& title,
                   DWORD timeoutMs = kDefaultTimeoutMs);
// Waits for a dialog box (class "#32770") of the process with that title.
HWND WaitForDialog(DWORD processId, const std::string& title, DWORD timeoutMs = kDefaultTimeoutMs);

std::string ClassOf(HWND window);
// Direct children in z-order (the order the dialog manager tabs through them).
std::vector<HWND> Children(HWND parent);
std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className);
// The child of that class whose text is `caption`; throws when there is none.
HWND ChildByCaption(HWND parent, const std::string& className, const std::string& caption);
// The child of that class whose top-left corner lies at (left, top) in the parent's client area.
HWND ChildAt(HWND parent, const std::string& className, int left, int top);
bool Visible(HWND window);

// Window text through WM_GETTEXT, which crosses process boundaries (GetWindowText does not
// for controls).
std::string Text(HWND window);
// WM_SETTEXT, as a paste would, followed by the EN_CHANGE the edit sends its parent.
void SetText(HWND window, const std::string& text);

// BM_CLICK, returning once the target has handled the click.
void Click(HWND button);
// BM_CLICK posted: for clicks that open a modal box, which a sent click would wait for.
void PostClick(HWND button);
bool Checked(HWND button);

// List box rows. LB_GETTEXT goes through the wide-character message: the ANSI one is broken
// across processes under Wine 8.
std::vector<std::string> ListRows(HWND listBox);
int SelectedRow(HWND listBox);
// The texts of a list view's rows (`columns` of each), read across processes.
std::vector<std::vector<std::string>> ListViewRows(HWND listView, int columns);
// Selects a row and tells the owner, as a mouse click on the row would (LBN_SELCHANGE).
void SelectRow(HWND listBox, int row);

// The message text of a message box (its static text control, not the icon).
std::string MessageBoxText(HWND box);
// Captions of the push buttons of a dialog, in z-order.
std::vector<std::string> DialogButtons(HWND box);
// Answers a dialog with a command (IDOK, IDCANCEL ...) and waits until it has gone.
void CloseDialog(HWND box, int command);

// Waits for the process's open-file dialog: a dialog box with a file name box, whatever its
// title says in the current language.
HWND WaitForOpenDialog(DWORD processId, DWORD timeoutMs = kDefaultTimeoutMs);
// Types `path` into the open-file dialog's file name box and confirms it.
void ChooseFile(HWND openDialog, const std::string& path);

// Real input through the X server, for what window messages cannot reach: the notification
// area and popup menus. Needs xdotool; throws when the build found none.
bool RealInputAvailable();
// Moves the mouse pointer to a point of the (Wine) desktop.
void MovePointerTo(int x, int y);
// Presses and releases one key of the X keyboard ("Escape", "Return" ...). Returns at once.
void PressKey(const std::string& key);
// Right-clicks the notification icons from the right end of the taskbar until one opens a
// popup menu of `processId`, and returns that menu window.
HWND OpenTrayMenu(DWORD processId);
// Chooses item `index` (0 = top) of an open popup menu with the keyboard, as a user would
// with the arrow keys and Enter, and waits for the menu to close.
void ChooseMenuItem(HWND menu, int index);
// Clicks item `index` (0 = top) of an open popup menu of `itemCount` items and no separators
// with the mouse. Returns at once: a disabled item leaves the menu open.
void ClickMenuItem(HWND menu, int index, int itemCount);

}  // namespace harness
