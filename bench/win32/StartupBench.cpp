// Start-up benchmark: lanvora.exe against the floor program, which does the same platform
// work with none of our framework. Both start in a folder holding a "settings.txt" (so the
// program looks for no addresses), one warm-up each, then N alternating runs each; a run is
// timed from CreateProcess until its main window is visible, then closed with WM_CLOSE and
// waited for. Prints the medians and their ratio; exits non-zero only when a run could not
// be started, seen or closed. A third contender, the floor with --prescribed, also does the
// platform work the program's design prescribes beyond the floor (its extra windows, shell
// requests and foreground calls), which separates that work from what our code adds. A
// fourth, the program in a folder whose "ips.txt" holds 100,000 entries, gives what a long
// allowed list adds to the start against the same program with none.
// Usage: startup_bench PROGRAM FLOOR HELP_PAGE SCRATCH_ROOT [RUNS]
//        (RUNS also from LANVORA_STARTUP_RUNS; default 15)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/win32/BenchFigures.h"
#include "bench/win32/BenchSetup.h"
#include "bench/win32/ProgramRun.h"
#include "harness/Scratch.h"

namespace {

constexpr char kMainTitle[] = "Lanvora - Pelmar 2005";
constexpr DWORD kShowTimeoutMs = 30000;
constexpr DWORD kCloseTimeoutMs = 15000;

constexpr int kLongList = 100000;

struct Contender {
  const char* name;
  std::string exe;
  std::string arguments;
  std::string folder;
  std::vector<double> samples;
};

double TimeOneRun(const Contender& who) {
  bench::ProgramRun run(who.exe, who.arguments, who.folder);
  const double ms = run.WaitForVisibleWindow(kMainTitle, kShowTimeoutMs);
  run.Close(kCloseTimeoutMs);
  return ms;
}

int RunsWanted(int argc, char** argv) {
  const char* text = argc > 5 ? argv[5] : std::getenv("LANVORA_STARTUP_RUNS");
  const int runs = text ? std::atoi(text) : 15;
  return runs > 0 ? runs : 15;
}

// Each program run sits next to a floor run under the same machine load: the median of
// those pairwise ratios holds up better than the medians when others share the machine.
double PairedRatioMedian(const Contender& program, const Contender& floor) {
  std::vector<double> ratios;
  for (size_t i = 0; i < program.samples.size(); ++i) {
    ratios.push_back(program.samples[i] / floor.samples[i]);
  }
  return bench::Median(ratios);
}

double Ratio(double numerator, double denominator) {
  return denominator > 0 ? numerator / denominator : 0.0;
}

void PrintSamples(const Contender& who) {
  std::printf("%-8s runs (ms):", who.name);
  for (double ms : who.samples) std::printf(" %.1f", ms);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage = "startup_bench PROGRAM FLOOR HELP_PAGE SCRATCH_ROOT [RUNS]";
  return bench::RunBenchmark(argc, 4, usage, [&] {
    const std::string helpPage = harness::WindowsPath(argv[3]);
    const int runs = RunsWanted(argc, argv);
    const std::string scratch = bench::StartFolder(argv[4], "startup");
    const std::string longList = bench::StartFolder(argv[4], "startup-long-list", kLongList);

    const std::string exe = harness::WindowsPath(argv[1]);
    const std::string floorExe = harness::WindowsPath(argv[2]);
    Contender program{"lanvora", exe, "", scratch, {}};
    Contender floor{"floor", floorExe, "\"" + helpPage + "\"", scratch, {}};
    Contender floorPlus{"floor+", floorExe, "--prescribed \"" + helpPage + "\"", scratch, {}};
    Contender programLong{"lanvora, 100,000 entries", exe, "", longList, {}};
    Contender* contenders[] = {&program, &floor, &floorPlus, &programLong};

    // The first start of each pays for loading its DLLs into the page cache and the
    // server's first look at the executable: kept out of the figures.
    for (Contender* who : contenders) TimeOneRun(*who);
    for (int i = 0; i < runs; ++i) {
      for (Contender* who : contenders) who->samples.push_back(TimeOneRun(*who));
    }

    for (const Contender* who : contenders) PrintSamples(*who);
    const double programMs = bench::Median(program.samples);
    const double floorMs = bench::Median(floor.samples);
    std::printf("start-up median over %d runs: lanvora %.1f ms, floor %.1f ms\n", runs, programMs,
                floorMs);
    std::printf("paired ratio median: %.2fx\n", PairedRatioMedian(program, floor));
    std::printf("start-up ratio lanvora/floor: %.2fx (goal: at most 1.10x)\n",
                Ratio(programMs, floorMs));
    // The same floor doing also the platform work the program's design prescribes: the
    // difference to it is what the framework and start-up code add on their own.
    const double floorPlusMs = bench::Median(floorPlus.samples);
    std::printf("floor with the prescribed platform work: median %.1f ms; ratio lanvora/floor+: "
                "%.2fx, paired %.2fx\n",
                floorPlusMs, Ratio(programMs, floorPlusMs), PairedRatioMedian(program, floorPlus));
    const double longMs = bench::Median(programLong.samples);
    std::printf("long allowed list (%d entries): median %.1f ms against %.1f ms with none: "
                "%+.1f ms (goal: at most +150 ms); ratio %.2fx, paired %.2fx\n",
                kLongList, longMs, programMs, longMs - programMs, Ratio(longMs, programMs),
                PairedRatioMedian(programLong, program));
    return 0;
  });
}
