// The program's two files of its own: "settings.txt" (the four launch settings, one per
// line) and "ips.txt" (the allowed list, one entry per line), and the "Save" operation.
// Readers throw "Cannot open file ..." for a file that cannot be opened; callers test
// FileIsPresent first where a missing file is not an error.
#pragma once

#include <string>
#include <string_view>

#include "LaunchSettings.h"

namespace launch {

inline constexpr std::string_view kSettingsFileName = "settings.txt";
inline constexpr std::string_view kAllowedListFileName = "ips.txt";
// Longest text one settings line gives; the rest of a longer line is dropped.
inline constexpr std::size_t kMaxSettingLength = 4096;

// A directory search finds a file (not a folder) dated within 1980 to 2107 local time.
// The file is not opened.
bool FileIsPresent(const std::string& path);

// The records from file contents, and the contents that give them back.
LaunchSettings ParseSettings(std::string_view bytes);
std::string FormatSettings(const LaunchSettings& settings);
AllowedList ParseAllowedList(std::string_view bytes);

LaunchSettings ReadSettings(const std::string& path);
void WriteSettings(const std::string& path, const LaunchSettings& settings);
AllowedList ReadAllowedList(const std::string& path);
void WriteAllowedList(const std::string& path, const AllowedList& list);

// "Save": folder + "ips.txt", then folder + "settings.txt". An empty folder is the
// current directory.
void SaveAll(const std::string& folder, const LaunchSettings& settings, const AllowedList& list);

}  // namespace launch
