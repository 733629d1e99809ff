// The two records the program remembers between runs: the four launch settings and the
// list of "allow" entries. Plain data; reading and writing them lives in SettingsFiles.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace launch {

// The four texts exactly as typed, in the line order of "settings.txt".
struct LaunchSettings {
  std::string gameExe;
  std::string nick;
  std::string interfaceAddress;
  std::string port;

  bool operator==(const LaunchSettings&) const = default;
};

// Ordered, duplicates allowed; entries loaded from "ips.txt" are kept as they stand.
using AllowedList = std::vector<std::string>;

// "allow " + address + ":" + port, both inserted unchanged.
std::string MakeAllowEntry(std::string_view address, std::string_view port);

}  // namespace launch
