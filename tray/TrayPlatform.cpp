// Default entries of the tray component's system-call table.
#include "tray/TrayPlatform.h"

#include <shellapi.h>

namespace tray {
namespace {

BOOL WINAPI RealShellNotifyIcon(DWORD request, NotifyIconRecord* record) {
  // The record's size field tells the shell how much of it to read.
  return Shell_NotifyIconA(request, reinterpret_cast<NOTIFYICONDATAA*>(record));
}

}  // namespace

TrayPlatformTable RealTrayPlatform() {
  return TrayPlatformTable{RealShellNotifyIcon, ::GetCursorPos, ::GetAsyncKeyState,
                           ::SetForegroundWindow, ::GetDoubleClickTime};
}

TrayPlatformTable& TrayPlatform() {
  static TrayPlatformTable table = RealTrayPlatform();
  return table;
}

}  // namespace tray
