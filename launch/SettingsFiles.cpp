// Reading and writing "settings.txt" and "ips.txt".
#include "SettingsFiles.h"

#include "Platform.h"
#include "TextLines.h"
#include "WholeFile.h"

namespace launch {

bool FileIsPresent(const std::string& path) { return FindDatedFile(path); }

LaunchSettings ParseSettings(std::string_view bytes) {
  const std::vector<std::string> lines = SplitLines(bytes);
  // Missing lines leave their fields empty; lines after the fourth are ignored.
  auto field = [&lines](std::size_t n) {
    return n < lines.size() ? lines[n].substr(0, kMaxSettingLength) : std::string();
  };
  return LaunchSettings{field(0), field(1), field(2), field(3)};
}

namespace {

// The file's lines: the fields in their order.
std::vector<std::string> SettingsLines(const LaunchSettings& settings) {
  return {settings.gameExe, settings.nick, settings.interfaceAddress, settings.port};
}

}  // namespace

std::string FormatSettings(const LaunchSettings& settings) {
  return JoinLines(SettingsLines(settings));
}

AllowedList ParseAllowedList(std::string_view bytes) { return SplitLines(bytes); }

LaunchSettings ReadSettings(const std::string& path) {
  return ParseSettings(ReadWholeFile(path));
}

void WriteSettings(const std::string& path, const LaunchSettings& settings) {
  WriteLinesFile(path, SettingsLines(settings));
}

AllowedList ReadAllowedList(const std::string& path) {
  return ParseAllowedList(ReadWholeFile(path));
}

void WriteAllowedList(const std::string& path, const AllowedList& list) {
  WriteLinesFile(path, list);
}

void SaveAll(const std::string& folder, const LaunchSettings& settings,
             const AllowedList& list) {
  WriteAllowedList(folder + std::string(kAllowedListFileName), list);
  WriteSettings(folder + std::string(kSettingsFileName), settings);
}

}  // namespace launch
