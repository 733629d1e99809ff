// The shell-icon record in the form the component sends it: the 32-bit NOTIFYICONDATAA
// layout up to and including the balloon-flags field, 488 bytes. The headers' own struct
// is larger (it goes on with later fields), and a shell that reads the size field treats
// a 488-byte record as the version it understands on every system since 2000.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstddef>

namespace tray {

struct NotifyIconRecord {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  CHAR szTip[128];
  DWORD dwState;
  DWORD dwStateMask;
  CHAR szInfo[256];
  UINT uVersion;  // shares its place with the balloon time-out
  CHAR szInfoTitle[64];
  DWORD dwInfoFlags;
};

inline constexpr DWORD kNotifyIconRecordSize = 488;
static_assert(sizeof(NotifyIconRecord) == kNotifyIconRecordSize);
static_assert(sizeof(NotifyIconRecord) == NOTIFYICONDATAA_V2_SIZE);
// Same places as the system's record, field by field, so the shell reads what we mean.
static_assert(offsetof(NotifyIconRecord, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(NotifyIconRecord, szTip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(offsetof(NotifyIconRecord, szInfo) == offsetof(NOTIFYICONDATAA, szInfo));
static_assert(offsetof(NotifyIconRecord, uVersion) == offsetof(NOTIFYICONDATAA, uVersion));
static_assert(offsetof(NotifyIconRecord, dwInfoFlags) == offsetof(NOTIFYICONDATAA, dwInfoFlags));

}  // namespace tray
