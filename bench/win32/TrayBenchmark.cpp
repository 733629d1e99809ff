// Prints the cost of one timer tick and one tray notification through their shared hidden
// windows (1,000,000 SendMessage calls each), and counts heap allocations during the runs
// with a replaced operator new. Exits non-zero only when a dispatch allocated; timings
// are printed, never judged.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "tray/SimpleTimer.h"
#include "tray/TrayIcon.h"
#include "tray/TrayPlatform.h"
#include "wingui/Application.h"

namespace {

long g_allocations = 0;

constexpr int kMessages = 1000000;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Sends the same message `count` times; prints ns per message and allocations.
bool Measure(const char* name, int count, HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
             const long& handled) {
  const long before = g_allocations;
  const long handledBefore = handled;
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < count; ++i) SendMessageA(window, msg, wParam, lParam);
  QueryPerformanceCounter(&end);
  const long allocations = g_allocations - before;
  std::printf("%-44s %8.0f ns/message  %ld handled  %ld allocations\n", name,
              Seconds(start, end) * 1e9 / count, handled - handledBefore, allocations);
  return allocations == 0 && handled - handledBefore == count;
}

BOOL WINAPI StubCursor(POINT* point) {
  *point = POINT{10, 20};
  return TRUE;
}
SHORT WINAPI StubKeys(int) { return 0; }

}  // namespace

// GCC sees our operator new and delete inlined and takes malloc/free for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

int main() {
  wingui::App().Initialize();
  bool ok = true;
  std::printf("architecture: %s\n", sizeof(void*) == 4 ? "32-bit" : "64-bit");

  // The counter sees allocations at all: one string too long for its inline buffer.
  const long counterBefore = g_allocations;
  { std::string probe(100, 'x'); }
  std::printf("allocation counter check: %ld (expected 1)\n", g_allocations - counterBefore);
  ok &= g_allocations - counterBefore == 1;

  long ticks = 0;
  {
    tray::TSimpleTimer timer(1000, [&](tray::TSimpleTimer&) { ++ticks; });
    const HWND window = tray::SharedTimerHandler()->HiddenWindow();
    ok &= Measure("timer tick (WM_TIMER)", kMessages, window, WM_TIMER, timer.TimerId(), 0, ticks);
  }

  long moves = 0;
  {
    tray::TTrayIcon icon(nullptr);
    icon.OnMouseMove = [&](tray::TTrayIcon&, tray::TShiftState, int, int) { ++moves; };
    const HWND window = tray::SharedTrayHandler()->HiddenWindow();
    // Under Wine each pointer and key read asks the server, so fewer of these.
    ok &= Measure("tray mouse move, real pointer and key reads", kMessages / 50, window,
                  tray::kTrayCallbackMessage, icon.IconId(), WM_MOUSEMOVE, moves);
    launch::SeamScope stubbed(tray::TraySeam());
    stubbed->GetCursorPos = StubCursor;
    stubbed->GetAsyncKeyState = StubKeys;
    ok &= Measure("tray mouse move, stubbed pointer and keys", kMessages, window,
                  tray::kTrayCallbackMessage, icon.IconId(), WM_MOUSEMOVE, moves);
  }

  {
    // The floor: a plain window procedure that only answers DefWindowProc.
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LanvoraBenchFloor";
    RegisterClassA(&wc);
    HWND floor = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    const long before = g_allocations;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kMessages; ++i) SendMessageA(floor, WM_USER, 0, 0);
    QueryPerformanceCounter(&end);
    std::printf("%-44s %8.0f ns/message  (reference)  %ld allocations\n",
                "plain window, DefWindowProc only", Seconds(start, end) * 1e9 / kMessages,
                g_allocations - before);
    DestroyWindow(floor);
  }

  std::printf(ok ? "no allocation in any dispatch\n" : "FAILED: a dispatch allocated or was lost\n");
  return ok ? 0 : 1;
}
