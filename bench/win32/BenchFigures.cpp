// Medians, shares of a core, and the files the benchmarks put beside the program.
#include "bench/win32/BenchFigures.h"

#include <algorithm>

namespace bench {

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const size_t mid = values.size() / 2;
  if (values.size() % 2 == 1) return values[mid];
  return (values[mid - 1] + values[mid]) / 2.0;
}

double PercentOfOneCore(std::uint64_t cpuTime100ns, std::uint64_t wallTime100ns) {
  if (wallTime100ns == 0) return 0.0;
  return 100.0 * static_cast<double>(cpuTime100ns) / static_cast<double>(wallTime100ns);
}

std::string AllowedListFile(int count, const std::string& port) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(count) * 28);
  // Addresses from 10.0.0.1 upwards: the last octet stays in 1..250 so every one is an
  // ordinary host address, and the count never wraps within the ranges used here.
  for (int i = 0; i < count; ++i) {
    const int b = i / (250 * 256), c = (i / 250) % 256, d = i % 250 + 1;
    bytes += "allow 10." + std::to_string(b) + "." + std::to_string(c) + "." + std::to_string(d) +
             ":" + port + "\r\n";
  }
  return bytes;
}

std::string SettingsFile(const std::string& game, const std::string& nick,
                         const std::string& interfaceAddress, const std::string& port) {
  return game + "\r\n" + nick + "\r\n" + interfaceAddress + "\r\n" + port + "\r\n";
}

}  // namespace bench
