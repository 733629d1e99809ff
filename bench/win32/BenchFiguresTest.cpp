// The figures and input files of the benchmarks: medians and shares of a core as printed,
// and the files given to the program read back through the program's own readers.
#include "bench/win32/BenchFigures.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "bench/win32/WineserverCpu.h"
#include "launch/LaunchSettings.h"
#include "launch/SettingsFiles.h"
#include "harness/Scratch.h"

namespace {

TEST(BenchFigures, MedianOfOddEvenUnsortedAndEmptySamples) {
  EXPECT_DOUBLE_EQ(bench::Median({30, 10, 20}), 20);
  EXPECT_DOUBLE_EQ(bench::Median({40, 10, 30, 20}), 25);
  EXPECT_DOUBLE_EQ(bench::Median({7}), 7);
  EXPECT_DOUBLE_EQ(bench::Median({}), 0);
  // One wild run moves the median not at all.
  EXPECT_DOUBLE_EQ(bench::Median({100, 101, 102, 5000, 99}), 101);
}

TEST(BenchFigures, PercentOfOneCore) {
  const std::uint64_t second = 10'000'000;  // in 100 ns units
  EXPECT_DOUBLE_EQ(bench::PercentOfOneCore(second, 60 * second), 100.0 / 60.0);
  EXPECT_DOUBLE_EQ(bench::PercentOfOneCore(2 * second, second), 200.0);
  EXPECT_DOUBLE_EQ(bench::PercentOfOneCore(0, second), 0.0);
  EXPECT_DOUBLE_EQ(bench::PercentOfOneCore(second, 0), 0.0);
}

class BenchFiles : public ::testing::Test {
 protected:
  std::string Folder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return harness::ScratchFolder(temp, "bench-figures-test").Path();
  }
};

TEST_F(BenchFiles, LongAllowedListReadsBackAsDistinctProgramEntries) {
  const std::string path = harness::Join(Folder(), "ips.txt");
  harness::WriteBytes(path, bench::AllowedListFile(10000, "1635"));
  const launch::AllowedList entries = launch::ReadAllowedList(path);
  ASSERT_EQ(entries.size(), 10000u);
  EXPECT_EQ(entries.front(), "allow 10.0.0.1:1635");
  EXPECT_EQ(entries[250], "allow 10.0.1.1:1635");
  EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()).size(), entries.size());
  for (const std::string& entry : entries) {
    const std::string address = entry.substr(6, entry.size() - 6 - 5);
    ASSERT_EQ(entry, launch::MakeAllowEntry(address, "1635"));
  }
}

TEST_F(BenchFiles, SettingsFileReadsBackFieldByField) {
  const std::string path = harness::Join(Folder(), "settings.txt");
  harness::WriteBytes(path, bench::SettingsFile("duke3d_w32.exe", "JohnDoe", "192.0.2.10", "1635"));
  const launch::LaunchSettings settings = launch::ReadSettings(path);
  EXPECT_EQ(settings.gameExe, "duke3d_w32.exe");
  EXPECT_EQ(settings.nick, "JohnDoe");
  EXPECT_EQ(settings.interfaceAddress, "192.0.2.10");
  EXPECT_EQ(settings.port, "1635");
}

// The test session always runs a server for its prefix, so it must be found and counting.
TEST(WineserverCpu, FindsTheSessionServerAndReadsItsTime) {
  const bench::WineserverCpu server;
  ASSERT_TRUE(server.Found());
  const std::optional<std::uint64_t> first = server.CpuTime();
  ASSERT_TRUE(first.has_value());
  // Keep the server busy for a moment: every window message round trip goes through it.
  for (int i = 0; i < 20000; ++i) GetForegroundWindow();
  const std::optional<std::uint64_t> second = server.CpuTime();
  ASSERT_TRUE(second.has_value());
  EXPECT_GE(*second, *first);
}

}  // namespace
