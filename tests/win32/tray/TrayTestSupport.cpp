// The recording stand-in of the tray component's system calls, and icon helpers.
#include "TrayTestSupport.h"

#include "wingui/Application.h"

namespace traytest {
namespace {

const char* RequestName(DWORD request) {
  switch (request) {
    case NIM_ADD: return "add";
    case NIM_MODIFY: return "modify";
    case NIM_DELETE: return "delete";
    case NIM_SETVERSION: return "setversion";
    default: return "other";
  }
}

BOOL WINAPI FakeShellNotifyIcon(DWORD request, tray::NotifyIconRecord* record) {
  FakeSystem::calls.push_back(ShellCall{request, *record});
  FakeSystem::log.push_back(std::string("shell ") + RequestName(request));
  return FakeSystem::shellAnswer;
}

BOOL WINAPI FakeGetCursorPos(POINT* point) {
  if (!FakeSystem::cursorReadable) return FALSE;
  *point = FakeSystem::cursor;
  return TRUE;
}

SHORT WINAPI FakeGetAsyncKeyState(int key) {
  return FakeSystem::keysDown.count(key) ? static_cast<SHORT>(0x8000) : 0;
}

BOOL WINAPI FakeSetForegroundWindow(HWND window) {
  FakeSystem::foreground.push_back(window);
  return TRUE;
}

UINT WINAPI FakeGetDoubleClickTime() { return FakeSystem::doubleClickTime; }

const char* ButtonName(tray::TMouseButton button) {
  switch (button) {
    case tray::mbLeft: return "left";
    case tray::mbRight: return "right";
    case tray::mbMiddle: return "middle";
  }
  return "?";
}

std::string Point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

}  // namespace

void FakeSystem::Reset() {
  calls.clear();
  log.clear();
  shellAnswer = TRUE;
  cursor = POINT{100, 200};
  cursorReadable = true;
  keysDown.clear();
  foreground.clear();
  doubleClickTime = 150;
}

tray::TrayCalls FakeSystem::Table() {
  return tray::TrayCalls{FakeShellNotifyIcon, FakeGetCursorPos, FakeGetAsyncKeyState,
                         FakeSetForegroundWindow, FakeGetDoubleClickTime};
}

int FakeSystem::Count(DWORD request) {
  int n = 0;
  for (const ShellCall& call : calls) n += call.request == request;
  return n;
}

void TrayTest::SetUp() {
  wingui::App().Initialize();
  FakeSystem::Reset();
  tray::TraySeam().InUse = FakeSystem::Table();
}

std::string ShiftText(tray::TShiftState shift) {
  std::string text;
  const std::pair<unsigned, const char*> names[] = {
      {tray::ssShift, "shift"}, {tray::ssCtrl, "ctrl"},   {tray::ssAlt, "alt"},
      {tray::ssLeft, "left"},   {tray::ssRight, "right"}, {tray::ssMiddle, "middle"}};
  for (const auto& [flag, name] : names) {
    if (shift & flag) text += text.empty() ? name : std::string("+") + name;
  }
  return text.empty() ? "none" : text;
}

void RecordEvents(tray::TTrayIcon& icon, bool withDoubleClick) {
  auto& log = FakeSystem::log;
  auto expectSender = [&icon](tray::TTrayIcon& sender) { EXPECT_EQ(&sender, &icon); };
  icon.OnClick = [&log, expectSender](tray::TTrayIcon& s) {
    expectSender(s);
    log.push_back("click");
  };
  if (withDoubleClick) {
    icon.OnDblClick = [&log, expectSender](tray::TTrayIcon& s) {
      expectSender(s);
      log.push_back("dblclick");
    };
  }
  icon.OnMouseDown = [&log](tray::TTrayIcon&, tray::TMouseButton b, tray::TShiftState sh, int x,
                            int y) {
    log.push_back(std::string("down ") + ButtonName(b) + " " + ShiftText(sh) + " " + Point(x, y));
  };
  icon.OnMouseUp = [&log](tray::TTrayIcon&, tray::TMouseButton b, tray::TShiftState sh, int x,
                          int y) {
    log.push_back(std::string("up ") + ButtonName(b) + " " + ShiftText(sh) + " " + Point(x, y));
  };
  icon.OnMouseMove = [&log](tray::TTrayIcon&, tray::TShiftState sh, int x, int y) {
    log.push_back("move " + ShiftText(sh) + " " + Point(x, y));
  };
  icon.OnMouseEnter = [&log](tray::TTrayIcon&) { log.push_back("enter"); };
  icon.OnMouseExit = [&log](tray::TTrayIcon&) { log.push_back("exit"); };
  icon.OnCycle = [&log](tray::TTrayIcon&, int next) { log.push_back("cycle " + std::to_string(next)); };
  icon.OnBalloonHintShow = [&log](tray::TTrayIcon&) { log.push_back("balloon show"); };
  icon.OnBalloonHintHide = [&log](tray::TTrayIcon&) { log.push_back("balloon hide"); };
  icon.OnBalloonHintTimeout = [&log](tray::TTrayIcon&) { log.push_back("balloon timeout"); };
  icon.OnBalloonHintClick = [&log](tray::TTrayIcon&) { log.push_back("balloon click"); };
}

void Notify(const tray::TTrayIcon& icon, UINT code) {
  SendMessageA(tray::SharedTrayHandler()->HiddenWindow(), tray::kTrayCallbackMessage,
               icon.IconId(), code);
}

}  // namespace traytest
