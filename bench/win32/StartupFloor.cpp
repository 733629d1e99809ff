// The floor of the start-up benchmark: the platform work lanvora.exe does before its main
// window is on screen, written straight against Win32 with none of our framework. COM, the
// common controls, a window with the same kinds and number of child controls and the same
// fonts, a notification icon, then the web-browser control showing the help page in a tool
// window at the top-left corner, and last the main window shown. WM_CLOSE ends it.
//
// With --prescribed it also does, in plain Win32, the platform work that the program's own
// design prescribes beyond that: an application window that owns the two windows and
// carries the taskbar button, the two hidden windows of the tray and timer services, the
// tray's own copy of the icon, the five shell requests the tray component makes while the
// window is built (modify, add, modify, modify, add), and bringing the application window
// and then the main window to the foreground when the main window is shown.
// Command line: [--prescribed] the help page's path.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "help/BrowserHost.h"
#include "wingui/Handles.h"

namespace {

constexpr char kClassName[] = "StartupFloorWindow";
constexpr char kTitle[] = "Lanvora - Pelmar 2005";
constexpr UINT kIconId = 1;
constexpr UINT kTrayCallback = 0x0800;

struct Control {
  const char* className;
  const char* text;
  DWORD style;
  DWORD exStyle;
  int left, top, width, height;
  int font;  // index into the fonts below
};

enum FontIndex { kSans, kHeading, kDate, kMaker, kFontCount };

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kEdit = kChild | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kPush = kChild | WS_TABSTOP | BS_PUSHBUTTON;

// The main window's controls, as many of each kind as lanvora.exe has, in its places.
const Control kControls[] = {
    {"STATIC", "Lanvora", kChild, 0, 40, 0, 261, 23, kHeading},
    {"STATIC", "13.2.2005", kChild, 0, 304, 0, 41, 11, kDate},
    {"STATIC", "Duke3D .EXE:", kChild, 0, 15, 32, 70, 13, kSans},
    {"EDIT", "duke3d_w32.exe", kEdit, WS_EX_CLIENTEDGE, 88, 32, 201, 21, kSans},
    {"BUTTON", "..", kPush, 0, 288, 32, 25, 21, kSans},
    {"STATIC", "Nick:", kChild, 0, 59, 56, 25, 13, kSans},
    {"EDIT", "JohnDoe", kEdit, WS_EX_CLIENTEDGE, 88, 56, 225, 21, kSans},
    {"STATIC", "Interface:", kChild, 0, 40, 80, 45, 13, kSans},
    {"EDIT", "Own IP", kEdit, WS_EX_CLIENTEDGE, 88, 80, 201, 21, kSans},
    {"BUTTON", "Get", kPush, 0, 288, 80, 25, 21, kSans},
    {"STATIC", "Port:", kChild, 0, 64, 104, 22, 13, kSans},
    {"EDIT", "1635", kEdit, WS_EX_CLIENTEDGE, 88, 104, 41, 21, kSans},
    {"BUTTON", "&Default", kPush, 0, 128, 104, 57, 21, kSans},
    {"BUTTON", "", kChild | BS_GROUPBOX, 0, 24, 136, 297, 41, kSans},
    {"BUTTON", "Broadcast on LAN", kChild | WS_TABSTOP | BS_AUTORADIOBUTTON, 0, 80, 152, 105, 17,
     kSans},
    {"BUTTON", "Allow IP's", kChild | WS_TABSTOP | BS_AUTORADIOBUTTON, 0, 200, 152, 65, 17, kSans},
    {"STATIC", "Allowed IP List:", kChild, 0, 24, 188, 72, 13, kSans},
    {"EDIT", "", kEdit, WS_EX_CLIENTEDGE, 24, 204, 217, 21, kSans},
    {"EDIT", "", kEdit & ~WS_VISIBLE, WS_EX_CLIENTEDGE, 24, 205, 169, 21, kSans},
    {"BUTTON", "&Add", kPush, 0, 240, 204, 81, 21, kSans},
    {"LISTBOX", "", kChild | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
     WS_EX_CLIENTEDGE, 24, 228, 297, 169, kSans},
    {"BUTTON", "Remove &Selected", kPush, 0, 24, 396, 297, 21, kSans},
    {"BUTTON", "Save", kPush, 0, 17, 425, 73, 25, kSans},
    {"BUTTON", "Save && Play", kPush, 0, 97, 425, 73, 25, kSans},
    {"BUTTON", "Save && &Play", kPush & ~WS_VISIBLE, 0, 97, 425, 73, 25, kSans},
    {"BUTTON", "Help", kPush, 0, 177, 425, 73, 25, kSans},
    {"BUTTON", "&Exit", kPush, 0, 257, 425, 73, 25, kSans},
    {"STATIC", "Pelmar 2005", kChild | SS_CENTER, 0, 0, 456, 353, 33, kMaker},
};

wingui::UniqueHfont g_fonts[kFontCount];
NOTIFYICONDATAA g_tray = {};

wingui::UniqueHfont MakeFont(const char* face, int pixelHeight) {
  return wingui::UniqueHfont(CreateFontA(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face));
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY && g_tray.hWnd == hwnd) {
    Shell_NotifyIconA(NIM_DELETE, &g_tray);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Outer size of a window whose client area is width x height.
SIZE OuterSize(DWORD style, DWORD exStyle, int width, int height) {
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return {r.right - r.left, r.bottom - r.top};
}

constexpr char kPrescribedFlag[] = "--prescribed ";

bool WantsPrescribedWork(const char* commandLine) {
  return std::string(commandLine).rfind(kPrescribedFlag, 0) == 0;
}

HWND MakeTopLevel(HINSTANCE instance, const char* title, DWORD style, HWND owner) {
  return CreateWindowExA(0, kClassName, title, style, 0, 0, 0, 0, owner, nullptr, instance,
                         nullptr);
}

// The page path from the command line, without the quotes that keep its blanks together.
std::wstring PagePath(const char* commandLine) {
  std::string path = commandLine;
  if (WantsPrescribedWork(commandLine)) path.erase(0, sizeof kPrescribedFlag - 1);
  if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
    path = path.substr(1, path.size() - 2);
  }
  const int n = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()),
                                    nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), n);
  return wide;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);

  wingui::UniqueHicon icon(static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(kIconId), IMAGE_ICON, 32, 32, 0)));
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);

  const bool prescribed = WantsPrescribedWork(commandLine);
  wingui::UniqueHwnd appWindow, trayWindow, timerWindow;
  wingui::UniqueHicon trayIcon;
  if (prescribed) {
    appWindow.reset(MakeTopLevel(instance, "Pelmar 2005",
                                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, nullptr));
    SendMessageA(appWindow.get(), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(instance, MAKEINTRESOURCEA(kIconId))));
  }

  // The main window, hidden while it is built, as lanvora.exe builds it.
  const DWORD mainStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;
  const DWORD mainExStyle = WS_EX_CONTROLPARENT;
  const SIZE mainSize = OuterSize(mainStyle, mainExStyle, 349, 495);
  HWND main = CreateWindowExA(mainExStyle, kClassName, kTitle, mainStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, 355, mainSize.cy, appWindow.get(), nullptr, instance,
                              nullptr);
  if (!main) return 1;
  SendMessageA(main, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));

  g_fonts[kSans] = MakeFont("MS Sans Serif", 11);
  g_fonts[kHeading] = MakeFont("Arial Black", 16);
  g_fonts[kDate] = MakeFont("Arial Black", 8);
  g_fonts[kMaker] = MakeFont("Arial Black", 24);
  for (const Control& c : kControls) {
    HWND child = CreateWindowExA(c.exStyle, c.className, c.text, c.style, c.left, c.top, c.width,
                                 c.height, main, nullptr, instance, nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(g_fonts[c.font].get()), FALSE);
  }

  // The notification icon goes in before anything is shown, as in lanvora.exe.
  g_tray.cbSize = NOTIFYICONDATAA_V2_SIZE;
  g_tray.hWnd = main;
  g_tray.uID = 1;
  g_tray.uFlags = NIF_MESSAGE | NIF_ICON;
  g_tray.uCallbackMessage = kTrayCallback;
  g_tray.hIcon = icon.get();
  if (prescribed) {
    trayWindow.reset(MakeTopLevel(instance, "", WS_POPUP, nullptr));
    timerWindow.reset(MakeTopLevel(instance, "", WS_POPUP, nullptr));
    trayIcon.reset(CopyIcon(icon.get()));
    g_tray.hIcon = trayIcon.get();
    Shell_NotifyIconA(NIM_MODIFY, &g_tray);
    Shell_NotifyIconA(NIM_ADD, &g_tray);
    Shell_NotifyIconA(NIM_MODIFY, &g_tray);
    Shell_NotifyIconA(NIM_MODIFY, &g_tray);
  }
  Shell_NotifyIconA(NIM_ADD, &g_tray);

  // The help window: a tool window at the top-left corner, visible at once.
  const DWORD helpStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
  const DWORD helpExStyle = WS_EX_CONTROLPARENT | WS_EX_TOOLWINDOW;
  const SIZE helpSize = OuterSize(helpStyle, helpExStyle, 555, 496);
  wingui::UniqueHwnd helpWindow(CreateWindowExA(helpExStyle, kClassName, "HELP", helpStyle, 0, 0,
                                                helpSize.cx, helpSize.cy, appWindow.get(), nullptr,
                                                instance, nullptr));
  int exitCode = 0;
  try {
    help::BrowserHost browser(helpWindow.get(), 0, 0, 553, 497);
    browser.Navigate(PagePath(commandLine));
    ShowWindow(helpWindow.get(), SW_SHOWNORMAL);

    if (prescribed) ShowWindow(appWindow.get(), SW_SHOWNOACTIVATE);
    ShowWindow(main, SW_SHOWNORMAL);
    if (prescribed) {
      SetForegroundWindow(appWindow.get());
      SetForegroundWindow(main);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (IsDialogMessageA(main, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  } catch (...) {
    exitCode = 1;
  }
  helpWindow.reset();
  for (wingui::UniqueHfont& font : g_fonts) font.reset();
  CoUninitialize();
  return exitCode;
}
