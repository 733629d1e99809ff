// The main window with a long allowed list, in-process: building the window from a folder
// whose "ips.txt" holds 100,000 entries against one without, the rows still arriving after
// that, the players caption the timer builds once the list changed and its tick when nothing
// did, and "Add" and "Remove Selected" on the long list. Prints figures; fails only when the
// window cannot be built.
// Usage: long_list_bench SCRATCH_ROOT
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/win32/BenchSetup.h"
#include "setup/MainForm.h"
#include "tray/TrayPlatform.h"
#include "wingui/Application.h"

namespace {

constexpr int kEntries = 100000;

double NowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

template <typename F>
double TimeMs(F&& f) {
  const double start = NowMs();
  f();
  return NowMs() - start;
}

// The notification area is left alone: every request is taken as accepted.
BOOL WINAPI AcceptShellRequest(DWORD, tray::NotifyIconRecord*) { return TRUE; }

std::unique_ptr<setup::TForm1> BuildIn(const std::string& folder, double& ms) {
  SetCurrentDirectoryA(folder.c_str());
  std::unique_ptr<setup::TForm1> form;
  ms = TimeMs([&] { form.reset(new setup::TForm1(&wingui::App())); });
  return form;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::RunBenchmark(argc, 1, "long_list_bench SCRATCH_ROOT", [&] {
    wingui::App().Initialize();
    launch::SeamScope quietTray(tray::TraySeam());
    quietTray->ShellNotifyIcon = &AcceptShellRequest;
    const std::string empty = bench::StartFolder(argv[1], "long-list-none");
    const std::string full = bench::StartFolder(argv[1], "long-list-full", kEntries);

    double noneMs = 0, longMs = 0;
    BuildIn(empty, noneMs).reset();
    auto form = BuildIn(full, longMs);
    std::printf("window built: %.1f ms with %d entries, %.1f ms with none (%+.1f ms)\n", longMs,
                kEntries, noneMs, longMs - noneMs);

    // The rows after the first ones arrive through the message loop.
    const double fillStart = NowMs();
    MSG msg;
    while (form->ListBox1->Filling()) {
      if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
      DispatchMessageA(&msg);
    }
    std::printf("remaining rows in the list box after %.1f ms\n", NowMs() - fillStart);

    // The timer has shown the loaded list while the rows arrived: nothing changed since.
    form->Timer1Timer();
    std::printf("players caption tick, nothing changed: %.4f ms\n",
                TimeMs([&] { form->Timer1Timer(); }));

    form->Edit2->SetText("192.0.2.99");
    std::printf("Add: %.2f ms\n", TimeMs([&] { form->Button2Click(); }));
    std::printf("players caption after Add: %.2f ms\n", TimeMs([&] { form->Timer1Timer(); }));
    form->ListBox1->SetItemIndex(kEntries / 2);
    std::printf("Remove Selected (middle row): %.2f ms\n", TimeMs([&] { form->Button4Click(); }));
    std::printf("players caption after Remove: %.2f ms\n", TimeMs([&] { form->Timer1Timer(); }));
    std::printf("entries: %zu\n", form->AllowedEntries().size());
    form.reset();
    wingui::App().Shutdown();
    return 0;
  });
}
