// Checks that the Wine session the tests run in can do what every GUI test relies on:
// create and show a top-level window, and deliver timer ticks through a message loop.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    auto* ticks = reinterpret_cast<int*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    ++*ticks;
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST(PlatformSmoke, TopLevelWindowShowsAndTimerTicks) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "LanvoraSmoke";
  ASSERT_NE(RegisterClassA(&wc), 0);

  HWND hwnd = CreateWindowExA(0, "LanvoraSmoke", "smoke", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                              nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(hwnd, nullptr) << "no display: top-level windows cannot be created";
  int ticks = 0;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&ticks));
  ShowWindow(hwnd, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(hwnd));

  ASSERT_NE(SetTimer(hwnd, 1, 10, nullptr), 0u);
  const DWORD start = GetTickCount();
  MSG msg;
  while (ticks < 3 && GetTickCount() - start < 5000) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageA(&msg);
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
  }
  KillTimer(hwnd, 1);
  EXPECT_GE(ticks, 3);
  DestroyWindow(hwnd);
}

}  // namespace
