// The application object's work: starting COM and the zero-size application window that
// carries the taskbar button, the message loop (dialog keys go to the form that has them,
// commands one at a time), the hooks on the application window, and the error boxes for an
// error that escaped a command or the start-up.
#include "wingui/Application.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "launch/Errors.h"
#include "launch/Paths.h"
#include "wingui/ErrorBox.h"
#include "wingui/ExceptionBoundary.h"
#include "wingui/Fonts.h"
#include "wingui/Form.h"
#include "wingui/LateBinding.h"

namespace wingui {
namespace {

constexpr char kClassName[] = "LanvoraApplication";

// The program's file name without its extension: the title until the program sets one.
std::string ModuleBaseName() {
  const std::string path = launch::ProgramPath();
  const std::string name = path.substr(launch::FolderOf(path).size());
  return name.substr(0, name.rfind('.'));
}

}  // namespace

Application& App() {
  static Application* app = new Application();  // lives until the process ends
  return *app;
}

Application::Application()
    : Component(nullptr),
      title_(ModuleBaseName()),
      fontFace_(SystemFontFace()),
      fontHeight_(SystemFontHeight()) {}

Application::~Application() = default;

void Application::Initialize() {
  if (initialized_) return;
  initialized_ = true;
  // S_FALSE (already initialised on this thread) also has to be balanced.
  comInitialized_ = SUCCEEDED(CoInitialize(nullptr));
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  SetErrorHandler([](std::exception_ptr error) { App().ShowException(error); });
  MakeApplicationWindow();
}

void Application::Shutdown() {
  DestroyComponents();
  DestroyOwnWindow();
  made_ = false;
  if (comInitialized_) {
    CoUninitialize();
    comInitialized_ = false;
  }
  initialized_ = false;
}

void Application::MakeApplicationWindow() {
  RegisterWindowClass({.name = kClassName,
                       .icon = ProgramIcon(),
                       .cursor = LoadCursorA(nullptr, IDC_ARROW)});
  // A captioned popup of no size in the middle of the screen: never seen, yet a visible
  // unowned window, so the shell gives it the taskbar button; forms are owned by it.
  MakeWindow(
      {.className = kClassName,
       .text = title_,
       .style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
       .left = GetSystemMetrics(SM_CXSCREEN) / 2,
       .top = GetSystemMetrics(SM_CYSCREEN) / 2});
  made_ = true;
}

void Application::SetIconResource(WORD id) {
  iconId_ = id;
  // The application window was made at Initialize: it takes the icon now.
  if (HandleAllocated()) {
    SetClassLongPtrA(Handle(), GCLP_HICON, reinterpret_cast<LONG_PTR>(ProgramIcon()));
  }
}

HICON Application::ProgramIcon() const {
  return iconId_ ? LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId_)) : nullptr;
}

void Application::SetDefaultFont(const std::string& face, int pixelHeight) {
  fontFace_ = face;
  fontHeight_ = pixelHeight;
}

void Application::SetTitle(const std::string& title) {
  title_ = title;
  if (HandleAllocated()) SetWindowTextA(Handle(), title_.c_str());
}

void Application::HookMainWindow(AppWindowHook* hook) {
  if (hook && std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) {
    hooks_.push_back(hook);
  }
}

void Application::UnhookMainWindow(AppWindowHook* hook) {
  hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
}

void Application::Dispatch(MSG& msg) {
  auto* form = dynamic_cast<Form*>(WinControl::FromHandle(GetActiveWindow()));
  if (form && form->PreTranslateMessage(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void Application::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminating_ = true;
      break;
    }
    Dispatch(msg);
  }
}

void Application::Run() {
  if (showMainForm_ && mainForm_) mainForm_->Show();
  MSG msg;
  while (!terminating_) {
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
      terminating_ = true;
      break;
    }
    Dispatch(msg);
  }
}

void Application::Terminate() {
  terminating_ = true;
  PostQuitMessage(0);
}

void Application::Minimize() {
  HWND hwnd = Handle();
  if (IsIconic(hwnd)) return;
  // Hiding the owned forms first sends each of them WM_SHOWWINDOW with SW_PARENTCLOSING and
  // marks them, so Restore brings back exactly the ones that were shown.
  ShowOwnedPopups(hwnd, FALSE);
  ShowWindow(hwnd, SW_MINIMIZE);
}

void Application::Restore() {
  HWND hwnd = Handle();
  if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);  // WM_SIZE brings the forms back
  Restored();
}

void Application::Restored() {
  // Reached from Restore and from WM_SIZE, because a shell may restore the window with a
  // plain ShowWindow instead of sending the restore command. ShowOwnedPopups only shows
  // windows it hid itself, so a second call does nothing.
  ShowOwnedPopups(Handle(), TRUE);
  if (mainForm_ && mainForm_->Visible()) SetForegroundWindow(mainForm_->Handle());
}

void Application::ShowException(std::exception_ptr error) {
  HWND owner = GetActiveWindow();
  ShowErrorBox(owner ? owner : (HandleAllocated() ? Handle() : nullptr), title_, error);
}

void Application::FormCreated(Form* form) {
  if (!mainForm_) mainForm_ = form;
}

void Application::FormDestroyed(Form* form) {
  if (mainForm_ == form) mainForm_ = nullptr;
}

LRESULT Application::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // While CreateWindowEx has not returned, only the size limit is of interest.
  if (!made_ && msg != WM_GETMINMAXINFO) return DefaultMessage(msg, wParam, lParam);
  Message m{msg, wParam, lParam, 0};
  // A hook may unhook itself or others while it runs: walk a snapshot.
  const std::vector<AppWindowHook*> hooks = hooks_;
  for (AppWindowHook* hook : hooks) {
    if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) continue;
    if (hook->AppWindowMessage(m)) return m.result;
  }
  switch (msg) {
    case WM_SYSCOMMAND:
      // The taskbar button acts on this window: minimise and restore the whole application.
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
          Minimize();
          return 0;
        case SC_RESTORE:
          Restore();
          return 0;
      }
      break;
    case WM_SIZE:
      if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) Restored();
      break;
    case WM_CLOSE:
      if (mainForm_) mainForm_->Close();
      return 0;
    case WM_GETMINMAXINFO:
      // Stay at zero size even though the window has a caption.
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{0, 0};
      return 0;
    case WM_ACTIVATE:
      // Activating the application (its taskbar button) hands the focus to the main form.
      if (LOWORD(wParam) != WA_INACTIVE && mainForm_ && mainForm_->Visible() &&
          IsWindowEnabled(mainForm_->Handle())) {
        SetActiveWindow(mainForm_->Handle());
        return 0;
      }
      break;
  }
  return DefaultMessage(msg, wParam, lParam);
}

DWORD CommonControlsVersion() {
  // The version resource of the module actually loaded (the manifest may select a
  // side-by-side copy), read in place: the library is mapped already, so nothing is read
  // from disk and no version library is needed.
  HMODULE module = GetModuleHandleA("comctl32.dll");
  if (!module) return 0;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
  if (!found) return 0;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* bytes = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
  const DWORD size = SizeofResource(module, found);
  // VS_VERSIONINFO: three WORDs, the key L"VS_VERSION_INFO" with its terminator, padding to
  // a 4-byte boundary, then the fixed part, which begins with its signature.
  constexpr DWORD kFixedOffset = (3 * sizeof(WORD) + sizeof L"VS_VERSION_INFO" + 3) & ~3u;
  if (!bytes || size < kFixedOffset + sizeof(VS_FIXEDFILEINFO)) return 0;
  VS_FIXEDFILEINFO info;
  memcpy(&info, bytes + kFixedOffset, sizeof info);
  if (info.dwSignature != VS_FFI_SIGNATURE) return 0;
  // dwFileVersionMS holds the major version in its high word and the minor in its low word.
  return info.dwFileVersionMS;
}

int RunProgram(void (*startup)()) {
  // Before anything can load a library: from here on libraries come from the system folder.
  RestrictLibrarySearch();
  Application& app = App();
  try {
    app.Initialize();
    startup();
  } catch (...) {
    ShowFatalErrorBox(std::current_exception());
    CallGuarded([&] { app.Shutdown(); });
    return 1;
  }
  app.Run();
  CallGuarded([&] { app.Shutdown(); });
  return 0;
}

}  // namespace wingui
