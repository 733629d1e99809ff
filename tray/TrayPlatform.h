// The few system calls of the tray component that tests need to see or steer: the shell
// request, the pointer position, the modifier-key state, the foreground request and the
// double-click time. The tray seam (launch/Seam.h).
#pragma once

#include <windows.h>

#include "launch/Seam.h"
#include "tray/NotifyIconRecord.h"

namespace tray {

struct TrayCalls {
  BOOL(WINAPI* ShellNotifyIcon)(DWORD request, NotifyIconRecord* record);
  BOOL(WINAPI* GetCursorPos)(POINT* point);
  SHORT(WINAPI* GetAsyncKeyState)(int virtualKey);
  BOOL(WINAPI* SetForegroundWindow)(HWND window);
  UINT(WINAPI* GetDoubleClickTime)();
};

launch::Seam<TrayCalls>& TraySeam();

}  // namespace tray
