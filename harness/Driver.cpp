// Out-of-process automation through window messages. Messages are sent with a timeout so
// that a hung or crashed target fails the test instead of hanging it.
#include "harness/Driver.h"

#include <commctrl.h>

#include <stdexcept>

namespace harness {
namespace {

constexpr int kFileNameCombo = 0x47C;    // the explorer-style open dialog's file name box
constexpr int kOldFileNameEdit = 0x480;  // the same box in the old-style dialog
constexpr int kMessageBoxText = 0xFFFF;  // the static control holding a message box's text

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error("driver: " + what); }

enum class Charset { Ansi, Wide };

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
             Charset charset = Charset::Ansi) {
  DWORD_PTR result = 0;
  LRESULT answered = charset == Charset::Ansi
                         ? SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL,
                                               kDefaultTimeoutMs, &result)
                         : SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL,
                                               kDefaultTimeoutMs, &result);
  if (!answered) {
    Fail("message " + std::to_string(message) + " was not answered (target hung or gone)");
  }
  return static_cast<LRESULT>(result);
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!PostMessageA(window, message, wParam, lParam)) Fail("cannot post to the target");
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::string TopLevelTitle(HWND window) {
  // For top-level windows the title is kept outside the process, so this works across
  // processes without a message round trip.
  char buffer[512] = {};
  int n = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

struct TopLevelSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<TopLevelSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId) search->found.push_back(window);
  return TRUE;
}

// Depth first: the file name box is an Edit inside a ComboBox, itself inside a ComboBoxEx32
// in newer dialogs.
HWND FirstDescendantOfClass(HWND parent, const std::string& className) {
  for (HWND child : Children(parent)) {
    if (lstrcmpiA(ClassOf(child).c_str(), className.c_str()) == 0) return child;
    if (HWND inner = FirstDescendantOfClass(child, className)) return inner;
  }
  return nullptr;
}

bool IsPushButton(HWND window) {
  LONG_PTR type = GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= timeoutMs) return condition();
    Sleep(10);
  }
  return true;
}

PROCESS_INFORMATION Launch(const std::string& exe, const std::string& currentDirectory,
                           const std::string& arguments, const POINT* defaultPosition) {
  std::string commandLine = "\"" + exe + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (defaultPosition) {
    startup.dwFlags = STARTF_USEPOSITION;
    startup.dwX = static_cast<DWORD>(defaultPosition->x);
    startup.dwY = static_cast<DWORD>(defaultPosition->y);
  }
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      currentDirectory.c_str(), &startup, &info)) {
    Fail("cannot start " + exe + " in " + currentDirectory + " (error " +
         std::to_string(GetLastError()) + ")");
  }
  CloseHandle(info.hThread);
  return info;
}

Process Process::Start(const std::string& exe, const std::string& currentDirectory,
                       const std::string& arguments, const POINT* defaultPosition) {
  PROCESS_INFORMATION info = Launch(exe, currentDirectory, arguments, defaultPosition);
  Process process;
  process.process_.reset(info.hProcess);
  process.id_ = info.dwProcessId;
  return process;
}

void Process::Kill() {
  TerminateProcess(process_.get(), 99);
  WaitForSingleObject(process_.get(), 5000);
}

Process::~Process() {
  if (process_ && Running()) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 5000);
  }
}

bool Process::Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

bool Process::WaitForExit(DWORD timeoutMs) const {
  return WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const std::string& className,
                                  const std::string& title) {
  TopLevelSearch search{processId, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  std::vector<HWND> matching;
  for (HWND window : search.found) {
    if (!className.empty() && ClassOf(window) != className) continue;
    if (TopLevelTitle(window) == title) matching.push_back(window);
  }
  return matching;
}

HWND WaitForWindow(DWORD processId, const std::string& className, const std::string& title,
                   DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(processId, className, title)) {
          if (IsWindowVisible(window)) found = window;
        }
        return found != nullptr;
      },
      timeoutMs);
  if (!found) Fail("no window \"" + title + "\" of class \"" + className + "\" appeared");
  return found;
}

HWND WaitForDialog(DWORD processId, const std::string& title, DWORD timeoutMs) {
  return WaitForWindow(processId, "#32770", title, timeoutMs);
}

std::string ClassOf(HWND window) {
  char buffer[256] = {};
  int n = GetClassNameA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className) {
  std::vector<HWND> matching;
  for (HWND child : Children(parent)) {
    if (lstrcmpiA(ClassOf(child).c_str(), className.c_str()) == 0) matching.push_back(child);
  }
  return matching;
}

HWND ChildByCaption(HWND parent, const std::string& className, const std::string& caption) {
  for (HWND child : ChildrenOfClass(parent, className)) {
    if (Text(child) == caption) return child;
  }
  Fail("no " + className + " \"" + caption + "\"");
}

HWND ChildAt(HWND parent, const std::string& className, int left, int top) {
  // What is there instead goes into the failure: a whole layout moved (another scale) reads
  // differently from one control out of place.
  std::string found;
  for (HWND child : ChildrenOfClass(parent, className)) {
    RECT r{};
    GetWindowRect(child, &r);
    POINT corner{r.left, r.top};
    MapWindowPoints(nullptr, parent, &corner, 1);
    if (corner.x == left && corner.y == top) return child;
    found += " " + std::to_string(corner.x) + "," + std::to_string(corner.y);
  }
  Fail("no " + className + " at " + std::to_string(left) + "," + std::to_string(top) +
       (found.empty() ? " (none of that class)" : " (there are some at" + found + ")"));
}

bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }

std::string Text(HWND window) {
  auto length = static_cast<size_t>(Send(window, WM_GETTEXTLENGTH, 0, 0));
  std::string text(length + 1, '\0');
  auto copied = static_cast<size_t>(
      Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(copied < length ? copied : length);
  return text;
}

void SetText(HWND window, const std::string& text) {
  // A single-line edit tells its parent EN_CHANGE itself when its text is set this way.
  if (!Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) {
    Fail("the control refused the text");
  }
}

void Click(HWND button) { Send(button, BM_CLICK, 0, 0); }

void PostClick(HWND button) { Post(button, BM_CLICK, 0, 0); }

bool Checked(HWND button) { return Send(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<std::string> ListRows(HWND listBox) {
  std::vector<std::string> rows;
  auto count = static_cast<int>(Send(listBox, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    auto length = static_cast<size_t>(Send(listBox, LB_GETTEXTLEN, i, 0, Charset::Wide));
    std::wstring row(length + 1, L'\0');
    auto copied = static_cast<size_t>(
        Send(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()), Charset::Wide));
    row.resize(copied <= length ? copied : length);
    rows.push_back(Narrow(row));
  }
  return rows;
}

std::vector<std::vector<std::string>> ListViewRows(HWND listView, int columns) {
  // A list view's item messages carry pointers into the target's memory: the record and the
  // text buffer are made there, filled and read back.
  DWORD processId = 0;
  GetWindowThreadProcessId(listView, &processId);
  wingui::UniqueKernelHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  if (!process) Fail("cannot reach the list's process");
  constexpr SIZE_T kText = 512;
  void* remote = VirtualAllocEx(process.get(), nullptr, sizeof(LVITEMA) + kText,
                                MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote) Fail("cannot make room in the list's process");
  char* remoteText = static_cast<char*>(remote) + sizeof(LVITEMA);
  std::vector<std::vector<std::string>> rows;
  const auto count = static_cast<int>(Send(listView, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    std::vector<std::string> cells;
    for (int column = 0; column < columns; ++column) {
      LVITEMA item{};
      item.iSubItem = column;
      item.pszText = remoteText;
      item.cchTextMax = kText;
      char text[kText] = {};
      if (!WriteProcessMemory(process.get(), remote, &item, sizeof item, nullptr) ||
          !WriteProcessMemory(process.get(), remoteText, text, 1, nullptr)) {
        break;
      }
      Send(listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
      ReadProcessMemory(process.get(), remoteText, text, kText - 1, nullptr);
      cells.emplace_back(text);
    }
    rows.push_back(std::move(cells));
  }
  VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  return rows;
}

int SelectedRow(HWND listBox) { return static_cast<int>(Send(listBox, LB_GETCURSEL, 0, 0)); }

void SelectRow(HWND listBox, int row) {
  if (Send(listBox, LB_SETCURSEL, row, 0) == LB_ERR && row != -1) {
    Fail("no row " + std::to_string(row));
  }
  // LB_SETCURSEL is silent; a user's click would also have told the owner.
  Send(GetParent(listBox), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(listBox), LBN_SELCHANGE),
       reinterpret_cast<LPARAM>(listBox));
}

std::string MessageBoxText(HWND box) {
  if (HWND text = GetDlgItem(box, kMessageBoxText)) return Text(text);
  for (HWND child : ChildrenOfClass(box, "Static")) {
    if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return Text(child);
  }
  Fail("the box holds no text");
}

std::vector<std::string> DialogButtons(HWND box) {
  std::vector<std::string> captions;
  for (HWND child : ChildrenOfClass(box, "Button")) {
    if (IsPushButton(child) && IsWindowVisible(child)) captions.push_back(Text(child));
  }
  return captions;
}

void CloseDialog(HWND box, int command) {
  Post(box, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
  if (!WaitUntil([&] { return !IsWindow(box); })) Fail("the dialog did not close");
}

HWND WaitForOpenDialog(DWORD processId, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        TopLevelSearch search{processId, {}};
        EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
        for (HWND window : search.found) {
          if (ClassOf(window) == "#32770" && IsWindowVisible(window) &&
              (GetDlgItem(window, kFileNameCombo) || GetDlgItem(window, kOldFileNameEdit))) {
            found = window;
          }
        }
        return found != nullptr;
      },
      timeoutMs);
  if (!found) Fail("no open-file dialog appeared");
  return found;
}

void ChooseFile(HWND openDialog, const std::string& path) {
  HWND nameBox = nullptr;
  if (HWND combo = GetDlgItem(openDialog, kFileNameCombo)) {
    nameBox = FirstDescendantOfClass(combo, "Edit");
  }
  if (!nameBox) nameBox = GetDlgItem(openDialog, kOldFileNameEdit);
  if (!nameBox) Fail("the open dialog has no file name box");
  SetText(nameBox, path);
  // Posted: confirming runs the dialog's own checks, which may themselves show a box.
  CloseDialog(openDialog, IDOK);
}

bool RealInputAvailable() {
#ifdef HARNESS_XDOTOOL
  return true;
#else
  return false;
#endif
}

namespace {

// Starts xdotool. Wine gives no waitable handle for a Unix program, so callers wait for the
// input's effect instead.
void XInput(const std::string& arguments) {
#ifdef HARNESS_XDOTOOL
  std::string tool = HARNESS_XDOTOOL;
  for (char& c : tool) c = c == '/' ? '\\' : c;
  PROCESS_INFORMATION info = Launch("Z:" + tool, "C:\\", arguments);
  if (info.hProcess) CloseHandle(info.hProcess);
#else
  Fail("no xdotool for real input (" + arguments + ")");
#endif
}

}  // namespace

// Desktop coordinates are relative to the Wine desktop's own X window, which need not sit at
// the X screen's origin when a developer's display is used.
std::string PointerTo(int x, int y) {
  return "search --limit 1 --name \"^Default - Wine desktop$\" mousemove --window %1 " +
         std::to_string(x) + " " + std::to_string(y);
}

void MovePointerTo(int x, int y) { XInput(PointerTo(x, y)); }

void PressKey(const std::string& key) { XInput("key " + key); }

HWND OpenTrayMenu(DWORD processId) {
  HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  if (!taskbar) Fail("no taskbar with a notification area");
  RECT bar{};
  GetWindowRect(taskbar, &bar);
  // The taskbar lays its icons out from the right edge, each a small icon plus a 2-pixel
  // border on either side; icons of programs that ended may still hold the first places.
  const int slot = GetSystemMetrics(SM_CXSMICON) + 4;
  for (int place = 0; place < 4; ++place) {
    const int x = bar.right - place * slot - slot / 2, y = (bar.top + bar.bottom) / 2;
    // A second click on the same spot within the double-click time arrives as a double
    // click, which opens no menu; a user pauses between two menus, and so do we.
    static DWORD lastClick = GetTickCount() - 60000;
    const DWORD pause = GetDoubleClickTime() + 100;
    while (GetTickCount() - lastClick < pause) Sleep(10);
    lastClick = GetTickCount();
    XInput(PointerTo(x, y) + " click 3");
    HWND menu = nullptr;
    WaitUntil(
        [&] {
          for (HWND w : TopLevelWindows(processId, "#32768", "")) {
            if (IsWindowVisible(w)) menu = w;
          }
          return menu != nullptr;
        },
        8000);
    if (menu) return menu;
    PressKey("Escape");
  }
  Fail("no popup menu of the program opened from the notification area");
}

void ChooseMenuItem(HWND menu, int index) {
  std::string keys = "key";
  for (int i = 0; i <= index; ++i) keys += " Down";
  XInput(keys + " Return");
  if (!WaitUntil([&] { return !IsWindowVisible(menu); })) Fail("the popup menu stayed open");
}

void ClickMenuItem(HWND menu, int index, int itemCount) {
  // The items of a menu without separators share its client height equally.
  RECT client{};
  GetClientRect(menu, &client);
  POINT at{(client.left + client.right) / 2,
           client.top + (2 * index + 1) * (client.bottom - client.top) / (2 * itemCount)};
  ClientToScreen(menu, &at);
  XInput(PointerTo(at.x, at.y) + " click 1");
}

}  // namespace harness
