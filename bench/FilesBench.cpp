// Reading and writing a 100,000-entry allowed list, and "Save" with it, next to a raw
// write (and read) of the same bytes: the floor those operations are measured against.
// The writers flush to disk before replacing the target, so a raw write followed by a
// flush is shown as well.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "SettingsFiles.h"
#include "TextLines.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEntries = 100000;

const launch::AllowedList& BigList() {
  static const launch::AllowedList list = [] {
    launch::AllowedList entries;
    entries.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
      entries.push_back(launch::MakeAllowEntry(
          "10." + std::to_string(i >> 16) + "." + std::to_string((i >> 8) & 255) + "." +
              std::to_string(i & 255),
          "1635"));
    }
    return entries;
  }();
  return list;
}

// A scratch folder for the whole run, beside the system's other temporary files.
const std::string& Folder() {
  static const std::string folder = [] {
    const fs::path path = fs::temp_directory_path() / ("lanvora-bench-" + std::to_string(getpid()));
    fs::create_directories(path);
    return path.string() + "/";
  }();
  return folder;
}

void RawWrite(const std::string& path, const std::string& bytes, bool flush) {
  const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (file < 0 || write(file, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    std::abort();
  }
  if (flush) fsync(file);
  close(file);
}

void SetBytes(benchmark::State& state, std::size_t bytesPerRun) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytesPerRun));
}

void BM_RawWrite(benchmark::State& state) {
  const std::string bytes = launch::JoinLines(BigList());
  for (auto _ : state) RawWrite(Folder() + "raw.txt", bytes, false);
  SetBytes(state, bytes.size());
}

void BM_RawWriteFlushed(benchmark::State& state) {
  const std::string bytes = launch::JoinLines(BigList());
  for (auto _ : state) RawWrite(Folder() + "raw.txt", bytes, true);
  SetBytes(state, bytes.size());
}

void BM_WriteAllowedList(benchmark::State& state) {
  for (auto _ : state) launch::WriteAllowedList(Folder() + "ips.txt", BigList());
  SetBytes(state, launch::JoinLines(BigList()).size());
}

void BM_SaveAll(benchmark::State& state) {
  const launch::LaunchSettings settings{"duke3d_w32.exe", "JohnDoe", "10.0.0.1", "1635"};
  for (auto _ : state) launch::SaveAll(Folder(), settings, BigList());
  SetBytes(state, launch::JoinLines(BigList()).size());
}

void BM_RawRead(benchmark::State& state) {
  const std::string path = Folder() + "raw.txt";
  RawWrite(path, launch::JoinLines(BigList()), false);
  std::string bytes;
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    bytes.resize(fs::file_size(path));
    benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
  }
  SetBytes(state, bytes.size());
}

void BM_ReadAllowedList(benchmark::State& state) {
  const std::string path = Folder() + "ips.txt";
  launch::WriteAllowedList(path, BigList());
  for (auto _ : state) benchmark::DoNotOptimize(launch::ReadAllowedList(path));
  SetBytes(state, launch::JoinLines(BigList()).size());
}

BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWriteFlushed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteAllowedList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAllowedList)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(Folder());
  return 0;
}
