// Arithmetic and inputs shared by the benchmarks of the running program: medians of timed
// runs, CPU time as a share of one core, and the allowed-list file they start it with.
// Nothing here touches a process or a window, so it is tested on its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The architecture of this build, and so of the program it measures (both come from one
// preset): every benchmark names it first, since the two run under different Wine loaders.
inline constexpr const char* kArchitecture = sizeof(void*) == 4 ? "32-bit" : "64-bit";

// The middle value (the mean of the two middle values for an even count); 0 for none.
double Median(std::vector<double> values);

// CPU time spent over a wall-clock span, as a percentage of one core. Both spans are in
// 100-nanosecond units (the unit of FILETIME); a span of zero gives 0.
double PercentOfOneCore(std::uint64_t cpuTime100ns, std::uint64_t wallTime100ns);

// "allow A.B.C.D:port" lines, CR LF ended, `count` distinct addresses: the bytes of an
// allowed-list file as the program writes one.
std::string AllowedListFile(int count, const std::string& port);

// The four-line settings file (game, nick, interface, port), CR LF ended.
std::string SettingsFile(const std::string& game, const std::string& nick,
                         const std::string& interfaceAddress, const std::string& port);

}  // namespace bench
