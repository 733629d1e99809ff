// The few system calls of the tray component that tests need to see or steer: the shell
// request, the pointer position, the modifier-key state, the foreground request and the
// double-click time. Each entry starts as the real function; a test swaps in its own and
// puts the real table back with RealTrayPlatform().
#pragma once

#include <windows.h>

#include "tray/NotifyIconRecord.h"

namespace tray {

struct TrayPlatformTable {
  BOOL(WINAPI* ShellNotifyIcon)(DWORD request, NotifyIconRecord* record);
  BOOL(WINAPI* GetCursorPos)(POINT* point);
  SHORT(WINAPI* GetAsyncKeyState)(int virtualKey);
  BOOL(WINAPI* SetForegroundWindow)(HWND window);
  UINT(WINAPI* GetDoubleClickTime)();
};

// The table in use.
TrayPlatformTable& TrayPlatform();
// The real functions.
TrayPlatformTable RealTrayPlatform();

}  // namespace tray
