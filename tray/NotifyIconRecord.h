// The shell-icon record in the form the component sends it: the NOTIFYICONDATAA layout up to
// and including the balloon-flags field (the "V2" size). The headers' own struct is larger (it
// goes on with later fields); a shell that reads the size field treats a record of the V2 size
// of its own architecture as the version it understands on every system since 2000: 488 bytes
// for a 32-bit program, 504 for a 64-bit one, where the two handles are 8 bytes wide and
// aligned to 8.
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

// Size and field places of the record for each architecture, written out from the
// system's documented layout rather than taken from our own struct.
struct NotifyIconLayout {
  std::size_t size, hWnd, uID, uCallbackMessage, hIcon, szTip, szInfo, uVersion, szInfoTitle,
      dwInfoFlags;
};
inline constexpr NotifyIconLayout kLayout32{488, 4, 8, 16, 20, 24, 160, 416, 420, 484};
inline constexpr NotifyIconLayout kLayout64{504, 8, 16, 24, 32, 40, 176, 432, 436, 500};
// The one place that picks the architecture's layout.
inline constexpr NotifyIconLayout kLayout = sizeof(void*) == 4 ? kLayout32 : kLayout64;

static_assert(sizeof(void*) == 4 || sizeof(void*) == 8);
static_assert(sizeof(NotifyIconRecord) == kLayout.size);
static_assert(sizeof(NotifyIconRecord) == NOTIFYICONDATAA_V2_SIZE);
static_assert(offsetof(NotifyIconRecord, hWnd) == kLayout.hWnd);
static_assert(offsetof(NotifyIconRecord, uID) == kLayout.uID);
static_assert(offsetof(NotifyIconRecord, uCallbackMessage) == kLayout.uCallbackMessage);
static_assert(offsetof(NotifyIconRecord, hIcon) == kLayout.hIcon);
static_assert(offsetof(NotifyIconRecord, szTip) == kLayout.szTip);
static_assert(offsetof(NotifyIconRecord, szInfo) == kLayout.szInfo);
static_assert(offsetof(NotifyIconRecord, uVersion) == kLayout.uVersion);
static_assert(offsetof(NotifyIconRecord, szInfoTitle) == kLayout.szInfoTitle);
static_assert(offsetof(NotifyIconRecord, dwInfoFlags) == kLayout.dwInfoFlags);
// Same places as the system's record, field by field, so the shell reads what we mean.
static_assert(offsetof(NotifyIconRecord, hIcon) == offsetof(NOTIFYICONDATAA, hIcon));
static_assert(offsetof(NotifyIconRecord, szTip) == offsetof(NOTIFYICONDATAA, szTip));
static_assert(offsetof(NotifyIconRecord, szInfo) == offsetof(NOTIFYICONDATAA, szInfo));
static_assert(offsetof(NotifyIconRecord, uVersion) == offsetof(NOTIFYICONDATAA, uVersion));
static_assert(offsetof(NotifyIconRecord, dwInfoFlags) == offsetof(NOTIFYICONDATAA, dwInfoFlags));

}  // namespace tray
