// A small window program for proving the automation driver on its own: an edit, push
// buttons, two radio buttons, a list box, a message box and the open-file dialog. Every
// action leaves a trace in the status label, so the driver's effect can be read back.
#include <windows.h>
// clang-format off: the dialog header needs the types of <windows.h>
#include <commdlg.h>
// clang-format on

#include <string>

namespace {

enum ControlId { kEdit = 101, kCopy, kOne, kTwo, kStatus, kShowBox, kList, kBrowse, kQuit };

HWND Item(HWND window, int id) { return GetDlgItem(window, id); }

std::string ItemText(HWND window, int id) {
  HWND item = Item(window, id);
  std::string text(static_cast<size_t>(GetWindowTextLengthA(item)) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(item, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetStatus(HWND window, const std::string& text) {
  SetWindowTextA(Item(window, kStatus), text.c_str());
}

void Browse(HWND window) {
  char path[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = window;
  ofn.lpstrFile = path;
  ofn.nMaxFile = sizeof path;
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY;
  if (GetOpenFileNameA(&ofn)) {
    SetWindowTextA(Item(window, kEdit), path);
  } else {
    SetStatus(window, "cancelled");
  }
}

void OnCommand(HWND window, int id, int code) {
  switch (id) {
    case kCopy: {
      std::string text = ItemText(window, kEdit);
      SendMessageA(Item(window, kList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      break;
    }
    case kOne:
      SetStatus(window, "mode one");
      break;
    case kTwo:
      SetStatus(window, "mode two");
      break;
    case kShowBox: {
      std::string text = "You typed: " + ItemText(window, kEdit);
      MessageBoxA(window, text.c_str(), "Fixture Box", MB_OK | MB_ICONSTOP);
      SetStatus(window, "box closed");
      break;
    }
    case kList:
      if (code == LBN_SELCHANGE) {
        HWND list = Item(window, kList);
        auto row = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
        char text[256] = {};
        SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        SetStatus(window, "selected " + std::to_string(row) + " " + text);
      }
      break;
    case kBrowse:
      Browse(window);
      break;
    case kQuit:
      DestroyWindow(window);
      break;
    default:
      break;
  }
}

void CreateControls(HWND window) {
  struct Spec {
    const char* cls;
    const char* text;
    DWORD style;
    int x, y, w, h, id;
  };
  const Spec specs[] = {
      {"Edit", "", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, 10, 10, 200, 21, kEdit},
      {"Button", "&Copy", BS_PUSHBUTTON | WS_TABSTOP, 220, 10, 80, 21, kCopy},
      {"Button", "One", BS_AUTORADIOBUTTON | WS_GROUP, 10, 40, 80, 17, kOne},
      {"Button", "Two", BS_AUTORADIOBUTTON, 100, 40, 80, 17, kTwo},
      {"Static", "ready", 0, 10, 65, 290, 17, kStatus},
      {"Button", "Show &Box", BS_PUSHBUTTON | WS_TABSTOP, 10, 90, 80, 25, kShowBox},
      {"Button", "&Browse", BS_PUSHBUTTON | WS_TABSTOP, 100, 90, 80, 25, kBrowse},
      {"Button", "&Quit", BS_PUSHBUTTON | WS_TABSTOP, 190, 90, 80, 25, kQuit},
      {"ListBox", "", WS_BORDER | LBS_NOTIFY | WS_VSCROLL, 10, 125, 290, 120, kList},
  };
  for (const Spec& s : specs) {
    CreateWindowExA(0, s.cls, s.text, WS_CHILD | WS_VISIBLE | s.style, s.x, s.y, s.w, s.h, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(s.id)), GetModuleHandleA(nullptr),
                    nullptr);
  }
}

LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls(window);
      return 0;
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(7);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = FixtureProc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "LanvoraDriverFixture";
  if (!RegisterClassA(&wc)) return 1;
  HWND window = CreateWindowExA(0, wc.lpszClassName, "Driver Fixture",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                CW_USEDEFAULT, 330, 290, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOW);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageA(window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}
