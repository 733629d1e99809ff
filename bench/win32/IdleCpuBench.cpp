// Idle CPU benchmark: lanvora.exe left alone with 10,000 entries in "ips.txt", next to the
// same program with an empty list, one after the other in the same Wine session. For each,
// once the main window is visible and start-up has settled, the process's CPU time is read
// from its handle at the start and end of the window and given as a share of one core;
// the Wine server's CPU over the same window is added when it can be read.
// Usage: idle_cpu_bench PROGRAM SCRATCH_ROOT [SECONDS]
//        (SECONDS also from LANVORA_IDLE_SECONDS; default 10, the figures use 60)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "bench/win32/BenchFigures.h"
#include "bench/win32/BenchSetup.h"
#include "bench/win32/ProgramRun.h"
#include "bench/win32/WineserverCpu.h"
#include "harness/Scratch.h"

namespace {

constexpr char kMainTitle[] = "Lanvora - Pelmar 2005";
constexpr int kLongList = 10000;
constexpr DWORD kShowTimeoutMs = 60000;
constexpr DWORD kCloseTimeoutMs = 15000;
// Start-up finishes its work (list box filled, first timer ticks, the shell's answers to
// the new icon and windows) well within this.
constexpr DWORD kSettleMs = 2000;

struct IdleFigures {
  double programPercent = 0;
  double programCpuMs = 0;
  double programTotalCpuMs = 0;  // since the process started, start-up included
  double wallSeconds = 0;
  std::optional<double> serverPercent;
};

IdleFigures MeasureIdle(const std::string& program, const std::string& folder, int seconds,
                        const bench::WineserverCpu& server) {
  bench::ProgramRun run(program, "", folder);
  run.WaitForVisibleWindow(kMainTitle, kShowTimeoutMs);
  Sleep(kSettleMs);

  LARGE_INTEGER from, to;
  const std::optional<std::uint64_t> serverFrom = server.CpuTime();
  const std::uint64_t cpuFrom = run.CpuTime();
  QueryPerformanceCounter(&from);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  const std::uint64_t cpuTo = run.CpuTime();
  const std::optional<std::uint64_t> serverTo = server.CpuTime();
  QueryPerformanceCounter(&to);
  run.Close(kCloseTimeoutMs);

  IdleFigures figures;
  const double wallMs = bench::ElapsedMs(from, to);
  const auto wall100ns = static_cast<std::uint64_t>(wallMs * 10000.0);
  figures.wallSeconds = wallMs / 1000.0;
  figures.programCpuMs = static_cast<double>(cpuTo - cpuFrom) / 10000.0;
  figures.programTotalCpuMs = static_cast<double>(cpuTo) / 10000.0;
  figures.programPercent = bench::PercentOfOneCore(cpuTo - cpuFrom, wall100ns);
  if (serverFrom && serverTo) {
    figures.serverPercent = bench::PercentOfOneCore(*serverTo - *serverFrom, wall100ns);
  }
  return figures;
}

void Print(const char* label, const IdleFigures& f) {
  std::printf("%-16s lanvora %.4f%% of one core (%.1f ms CPU in %.1f s; %.1f ms since its start)",
              label, f.programPercent, f.programCpuMs, f.wallSeconds, f.programTotalCpuMs);
  if (f.serverPercent) std::printf("; wineserver %.4f%%", *f.serverPercent);
  std::printf("\n");
}

int SecondsWanted(int argc, char** argv) {
  const char* text = argc > 3 ? argv[3] : std::getenv("LANVORA_IDLE_SECONDS");
  const int seconds = text ? std::atoi(text) : 10;
  return seconds > 0 ? seconds : 10;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::RunBenchmark(argc, 2, "idle_cpu_bench PROGRAM SCRATCH_ROOT [SECONDS]", [&] {
    const std::string program = harness::WindowsPath(argv[1]);
    const int seconds = SecondsWanted(argc, argv);
    const std::string empty = bench::StartFolder(argv[2], "idle-empty");
    const std::string full = bench::StartFolder(argv[2], "idle-10000", kLongList);

    const bench::WineserverCpu server;
    if (!server.Found()) std::printf("wineserver: not found through /proc, no figure for it\n");

    std::printf("idle window: %d s each, after %lu ms to settle\n", seconds, kSettleMs);
    // Process CPU time is counted in scheduler ticks (10 ms under Wine, about 15.6 ms on
    // Windows): a figure of zero means less than one tick over the whole window.
    std::printf("one 10 ms accounting step is %.4f%% of one core over this window\n",
                bench::PercentOfOneCore(100000, static_cast<std::uint64_t>(seconds) * 10000000));
    const IdleFigures emptyFigures = MeasureIdle(program, empty, seconds, server);
    Print("empty list:", emptyFigures);
    const IdleFigures fullFigures = MeasureIdle(program, full, seconds, server);
    Print("10000 entries:", fullFigures);

    std::printf("idle CPU difference: %+.4f%% of one core (goal: at most +0.1%%)\n",
                fullFigures.programPercent - emptyFigures.programPercent);
    if (emptyFigures.serverPercent && fullFigures.serverPercent) {
      std::printf("wineserver difference: %+.4f%% of one core\n",
                  *fullFigures.serverPercent - *emptyFigures.serverPercent);
    }
    return 0;
  });
}
