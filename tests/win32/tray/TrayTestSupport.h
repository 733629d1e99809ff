// Shared pieces of the tray component tests: a recording stand-in for the component's
// system calls, one event log that the stand-in and the event handlers both write to (so
// orders across them can be checked), and solid-colour icons that tell images apart.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/win32/TestIcons.h"
#include "tray/TrayIcon.h"
#include "tray/TrayPlatform.h"

namespace traytest {

struct ShellCall {
  DWORD request;
  tray::NotifyIconRecord record;
  std::string Tip() const { return std::string(record.szTip); }
};

// What the stand-in system answers and what it was asked.
struct FakeSystem {
  static inline std::vector<ShellCall> calls;
  static inline std::vector<std::string> log;
  static inline BOOL shellAnswer = TRUE;
  static inline POINT cursor{100, 200};
  static inline bool cursorReadable = true;
  static inline std::set<int> keysDown;
  static inline std::vector<HWND> foreground;
  static inline UINT doubleClickTime = 150;

  static void Reset();
  static tray::TrayCalls Table();
  // Requests of one kind (NIM_ADD ...), in order.
  static int Count(DWORD request);
};

// Installs the stand-in for the duration of each test; initialises the application once.
class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override;

 private:
  // The fake system stands in for the test's length.
  launch::SeamScope<tray::TrayCalls> scope_{tray::TraySeam()};
};

// Assigns every event of the component a handler that writes a line to the log, such as
// "down right shift+right 100,200". The double-click handler is left out unless asked,
// since its presence changes how single clicks are reported.
void RecordEvents(tray::TTrayIcon& icon, bool withDoubleClick);

std::string ShiftText(tray::TShiftState shift);

// Sends a shell notification for the icon to the shared hidden window, as the shell does.
void Notify(const tray::TTrayIcon& icon, UINT code);

// A 16x16 icon of one colour, and the colour at the centre of an icon's image.
using test_icons::CentreColour;
using test_icons::MakeSolidIcon;

}  // namespace traytest
