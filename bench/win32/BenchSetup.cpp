#include "bench/win32/BenchSetup.h"

#include <cstdio>
#include <exception>

#include "bench/win32/BenchFigures.h"
#include "harness/Scratch.h"

namespace bench {

int RunBenchmark(int argc, int arguments, const char* usage,
                 const std::function<int()>& body) {
  const std::string name = std::string(usage).substr(0, std::string(usage).find(' '));
  if (argc < arguments + 1) {
    std::fprintf(stderr, "usage: %s\n", usage);
    return 2;
  }
  try {
    std::printf("architecture: %s\n", kArchitecture);
    return body();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", name.c_str(), e.what());
    return 1;
  }
}

std::string StartFolder(const std::string& root, const std::string& name, int entries) {
  const harness::ScratchFolder folder(harness::WindowsPath(root), name);
  harness::WriteBytes(harness::Join(folder.Path(), "settings.txt"),
                      SettingsFile("duke3d_w32.exe", "JohnDoe", "192.0.2.10", "1635"));
  if (entries > 0) {
    harness::WriteBytes(harness::Join(folder.Path(), "ips.txt"), AllowedListFile(entries, "1635"));
  }
  return folder.Path();
}

}  // namespace bench
