// Soak run of the real program: a long allowed list with the players refresh running, a stream
// of tray notifications, and many openings and closings of the tray menu and the help window.
// It prints the program's USER and GDI object counts, handles, windows and private bytes at the
// start, every half minute and at the end, so a leak shows as a column that keeps growing.
// It measures and reports; it never decides pass or fail.
#include <windows.h>
// psapi.h needs the types of windows.h first.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/win32/BenchFigures.h"
#include "bench/win32/BenchSetup.h"
#include "launch/Paths.h"
#include "harness/LanvoraSession.h"
#include "harness/Scratch.h"

namespace {

using harness::LanvoraSession;

constexpr char kHiddenClass[] = "LanvoraHiddenWindow";
constexpr UINT kTrayCallback = 0x0800;
constexpr UINT kIconId = 1;  // the program's one tray icon, the first the process made
constexpr DWORD kSampleMs = 30000;
constexpr DWORD kStepTimeoutMs = 5000;

struct Options {
  std::string program, scratch;
  double minutes = 30;
  int entries = 10000, notifications = 10000, menuCycles = 1000, helpCycles = 1000;
};

struct Figures {
  DWORD userObjects = 0, gdiObjects = 0, handles = 0;
  size_t windows = 0;
  SIZE_T privateBytes = 0, workingSet = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<size_t*>(count);
  return TRUE;
}

// Under Wine GetGuiResources and GetProcessHandleCount are not implemented and answer 0: the
// windows column stands in for the USER objects there.
Figures Measure(HANDLE process, DWORD processId) {
  Figures f;
  f.userObjects = GetGuiResources(process, GR_USEROBJECTS);
  f.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  GetProcessHandleCount(process, &f.handles);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof memory)) {
    // Windows fills both with the commit charge; Wine fills only the older field.
    f.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    f.workingSet = memory.WorkingSetSize;
  }
  for (HWND top : harness::TopLevelWindows(processId, "", "")) {
    ++f.windows;
    EnumChildWindows(top, CountChild, reinterpret_cast<LPARAM>(&f.windows));
  }
  // Titled windows (main, help) are not in the untitled list above.
  for (const char* title : {harness::kMainTitle, "HELP"}) {
    for (HWND top : harness::TopLevelWindows(processId, "", title)) {
      ++f.windows;
      EnumChildWindows(top, CountChild, reinterpret_cast<LPARAM>(&f.windows));
    }
  }
  return f;
}

void PrintHeader() {
  printf("%8s %6s %6s %7s %7s %12s %12s %7s %6s %6s %6s\n", "seconds", "user", "gdi",
         "handles", "windows", "private", "working-set", "notes", "menus", "helps", "fails");
}

struct Progress {
  int notifications = 0, menus = 0, helps = 0, failures = 0;
};

void PrintRow(double seconds, const Figures& f, const Progress& p) {
  printf("%8.0f %6lu %6lu %7lu %7zu %12zu %12zu %7d %6d %6d %6d\n", seconds, f.userObjects,
         f.gdiObjects, f.handles, f.windows, static_cast<size_t>(f.privateBytes),
         static_cast<size_t>(f.workingSet), p.notifications, p.menus, p.helps, p.failures);
  fflush(stdout);
}

HWND VisibleMenu(DWORD processId) {
  for (HWND w : harness::TopLevelWindows(processId, "#32768", "")) {
    if (IsWindowVisible(w)) return w;
  }
  return nullptr;
}

void RightButtonNotification(HWND trayWindow) {
  PostMessageA(trayWindow, kTrayCallback, kIconId, WM_RBUTTONDOWN);
  PostMessageA(trayWindow, kTrayCallback, kIconId, WM_RBUTTONUP);
}

// Closes an open menu as Esc would; when Esc does not end it, cancels the menu mode of every
// window of the program (one of them owns the menu).
bool CloseMenu(DWORD processId, HWND menu) {
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageA(menu, WM_KEYUP, VK_ESCAPE, 0xC0000000);
  if (harness::WaitUntil([&] { return !IsWindowVisible(menu); }, kStepTimeoutMs)) return true;
  for (HWND w : harness::TopLevelWindows(processId, "", "")) PostMessageA(w, WM_CANCELMODE, 0, 0);
  for (HWND w : harness::TopLevelWindows(processId, "", harness::kMainTitle)) {
    PostMessageA(w, WM_CANCELMODE, 0, 0);
  }
  return harness::WaitUntil([&] { return !IsWindowVisible(menu); }, kStepTimeoutMs);
}

// The program's hidden windows are the tray's and the timer service's: the tray's is the one
// whose right-button notification opens the menu.
HWND FindTrayWindow(DWORD processId) {
  for (HWND hidden : harness::TopLevelWindows(processId, kHiddenClass, "")) {
    RightButtonNotification(hidden);
    HWND menu = nullptr;
    if (harness::WaitUntil([&] { return (menu = VisibleMenu(processId)) != nullptr; }, 3000)) {
      CloseMenu(processId, menu);
      return hidden;
    }
  }
  return nullptr;
}

bool MenuCycle(DWORD processId, HWND trayWindow) {
  RightButtonNotification(trayWindow);
  HWND menu = nullptr;
  if (!harness::WaitUntil([&] { return (menu = VisibleMenu(processId)) != nullptr; },
                      kStepTimeoutMs)) {
    return false;
  }
  return CloseMenu(processId, menu);
}

bool HelpCycle(const LanvoraSession& app, HWND helpButton) {
  harness::Click(helpButton);
  HWND help = nullptr;
  if (!harness::WaitUntil(
          [&] {
            for (HWND w : harness::TopLevelWindows(app.Program().Id(), "", "HELP")) {
              if (IsWindowVisible(w)) help = w;
            }
            return help != nullptr;
          },
          kStepTimeoutMs)) {
    return false;
  }
  PostMessageA(help, WM_CLOSE, 0, 0);
  return harness::WaitUntil([&] { return !IsWindowVisible(help); }, kStepTimeoutMs);
}

// Notifications go in bursts; a sent WM_NULL after each burst waits until the program has
// taken them all, so the queue never overflows.
bool NotificationBurst(HWND trayWindow, int count) {
  for (int i = 0; i < count; ++i) PostMessageA(trayWindow, kTrayCallback, kIconId, WM_MOUSEMOVE);
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(trayWindow, WM_NULL, 0, 0, SMTO_NORMAL, kStepTimeoutMs, &result) != 0;
}

bool Responsive(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kStepTimeoutMs, &result) != 0;
}

int Run(const Options& o) {
  harness::ScratchFolder scratch(o.scratch, "soak");
  const std::string prog = scratch.Sub("prog"), run = scratch.Sub("run");
  const std::string programExe = harness::Join(prog, "lanvora.exe");
  harness::CopyInto(harness::WindowsPath(o.program), programExe);
  const std::string help = launch::FolderOf(harness::WindowsPath(o.program)) + "help.html";
  if (harness::FileExists(help)) harness::CopyInto(help, harness::Join(prog, "help.html"));
  harness::WriteBytes(harness::Join(run, "settings.txt"),
                      "duke3d_w32.exe\r\nSoak\r\n10.0.0.1\r\n1635\r\n");
  harness::WriteBytes(harness::Join(run, "ips.txt"), bench::AllowedListFile(o.entries, "1635"));

  LanvoraSession app(programExe, run);
  const DWORD processId = app.Program().Id();
  wingui::UniqueKernelHandle process(
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) {
    fprintf(stderr, "soak: cannot open the program's process\n");
    return 1;
  }
  // Rows after the first thousand arrive after the window shows: wait until all are in.
  harness::WaitUntil([&] {
    return SendMessageW(app.AllowedList(), LB_GETCOUNT, 0, 0) >= static_cast<LRESULT>(o.entries);
  });
  const size_t rows = harness::ListRows(app.AllowedList()).size();
  HWND trayWindow = FindTrayWindow(processId);
  if (!trayWindow) {
    fprintf(stderr, "soak: no tray window answers a right-button notification\n");
    return 1;
  }
  HWND helpButton = app.Button("Help");
  printf("soak: %zu allowed entries loaded, %.1f minutes, %d notifications, %d menu and %d help "
         "cycles\n",
         rows, o.minutes, o.notifications, o.menuCycles, o.helpCycles);
  PrintHeader();

  const DWORD start = GetTickCount();
  const DWORD duration = static_cast<DWORD>(o.minutes * 60000);
  Progress p;
  const Figures first = Measure(process.get(), processId);
  PrintRow(0, first, p);
  DWORD nextSample = kSampleMs;
  // One slice of every kind of work per round until each is done, then only the refresh
  // runs until the time is up.
  while (true) {
    const DWORD elapsed = GetTickCount() - start;
    const bool workLeft = p.notifications < o.notifications || p.menus < o.menuCycles ||
                          p.helps < o.helpCycles;
    if (!workLeft && elapsed >= duration) break;
    if (elapsed >= nextSample) {
      if (!Responsive(app.Window())) ++p.failures;
      PrintRow(elapsed / 1000.0, Measure(process.get(), processId), p);
      nextSample += kSampleMs;
    }
    if (!workLeft) {
      Sleep(200);
      continue;
    }
    if (p.notifications < o.notifications) {
      const int burst = std::min(100, o.notifications - p.notifications);
      if (!NotificationBurst(trayWindow, burst)) ++p.failures;
      p.notifications += burst;
    }
    if (p.menus < o.menuCycles) {
      if (!MenuCycle(processId, trayWindow)) ++p.failures;
      ++p.menus;
    }
    if (p.helps < o.helpCycles) {
      if (!HelpCycle(app, helpButton)) ++p.failures;
      ++p.helps;
    }
  }
  const Figures last = Measure(process.get(), processId);
  const double seconds = (GetTickCount() - start) / 1000.0;
  PrintRow(seconds, last, p);
  printf("soak: start -> end: user %lu -> %lu, gdi %lu -> %lu, handles %lu -> %lu, windows %zu -> "
         "%zu, private bytes %zu -> %zu (%+lld)\n",
         first.userObjects, last.userObjects, first.gdiObjects, last.gdiObjects, first.handles,
         last.handles, first.windows, last.windows, static_cast<size_t>(first.privateBytes),
         static_cast<size_t>(last.privateBytes),
         static_cast<long long>(last.privateBytes) - static_cast<long long>(first.privateBytes));
  printf("soak: %d failed steps, program %s\n", p.failures,
         Responsive(app.Window()) ? "still responsive" : "NOT responding");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage =
      "lanvora_soak PROGRAM.exe SCRATCH-FOLDER MINUTES [ENTRIES [NOTIFICATIONS [MENU-CYCLES "
      "[HELP-CYCLES]]]]";
  return bench::RunBenchmark(argc, 3, usage, [&] {
    Options o;
    o.program = argv[1];
    o.scratch = argv[2];
    o.minutes = atof(argv[3]);
    if (argc > 4) o.entries = atoi(argv[4]);
    if (argc > 5) o.notifications = atoi(argv[5]);
    if (argc > 6) o.menuCycles = atoi(argv[6]);
    if (argc > 7) o.helpCycles = atoi(argv[7]);
    return Run(o);
  });
}
