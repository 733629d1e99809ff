// A benchmark run of a real program: its window is found, its CPU time is readable from
// outside (Wine's GetProcessTimes alone gives zero there), and WM_CLOSE ends it.
#include "bench/win32/ProgramRun.h"

#include <gtest/gtest.h>

#include "harness/Scratch.h"

namespace {

constexpr char kTitle[] = "Lanvora - Pelmar 2005";

std::string Folder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return harness::ScratchFolder(temp, "bench-program-run-test").Path();
}

TEST(ProgramRun, FindsTheWindowReadsCpuTimeAndCloses) {
  bench::ProgramRun run(harness::WindowsPath(BENCH_FLOOR_EXE), "", Folder());
  const double ms = run.WaitForVisibleWindow(kTitle, 30000);
  EXPECT_GT(ms, 0.0);
  ASSERT_NE(run.Window(), nullptr);
  EXPECT_TRUE(IsWindowVisible(run.Window()));
  // Creating a window with two dozen controls costs well over the 10 ms resolution of
  // the host's process accounting.
  EXPECT_GT(run.CpuTime(), 0u);
  run.Close(15000);
  EXPECT_FALSE(IsWindow(run.Window()));
}

TEST(ProgramRun, AWindowThatNeverComesEndsTheWaitWithAnError) {
  // A program that ends at once, and one that runs on without the window asked for: the
  // wait gives up with an error in both cases instead of hanging the benchmark.
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  bench::ProgramRun quits(std::string(system) + "\\cmd.exe", "/c exit", Folder());
  EXPECT_THROW(quits.WaitForVisibleWindow(kTitle, 30000), std::runtime_error);

  bench::ProgramRun floor(harness::WindowsPath(BENCH_FLOOR_EXE), "", Folder());
  EXPECT_THROW(floor.WaitForVisibleWindow("no such window", 1500), std::runtime_error);
}

}  // namespace
