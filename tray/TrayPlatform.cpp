// The real calls behind the tray seam.
#include "tray/TrayPlatform.h"

#include <shellapi.h>

namespace tray {
namespace {

BOOL WINAPI RealShellNotifyIcon(DWORD request, NotifyIconRecord* record) {
  // The record's size field tells the shell how much of it to read.
  return Shell_NotifyIconA(request, reinterpret_cast<NOTIFYICONDATAA*>(record));
}

}  // namespace

launch::Seam<TrayCalls>& TraySeam() {
  static launch::Seam<TrayCalls> seam{{.ShellNotifyIcon = &RealShellNotifyIcon,
                                       .GetCursorPos = &::GetCursorPos,
                                       .GetAsyncKeyState = &::GetAsyncKeyState,
                                       .SetForegroundWindow = &::SetForegroundWindow,
                                       .GetDoubleClickTime = &::GetDoubleClickTime}};
  return seam;
}

}  // namespace tray
