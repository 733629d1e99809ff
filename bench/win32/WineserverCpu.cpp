// Finding and reading the Wine server's /proc entry from inside Wine.
#include "bench/win32/WineserverCpu.h"

#include <windows.h>

#include <cstdlib>
#include <sstream>
#include <string>

namespace bench {
namespace {

// /proc files report a size of zero, so they are read until the end rather than sized.
std::string ReadProcFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool AllDigits(const char* name) {
  if (!*name) return false;
  for (; *name; ++name) {
    if (*name < '0' || *name > '9') return false;
  }
  return true;
}

bool IsOurServer(const std::string& procEntry, const std::string& prefixSetting) {
  // The server binary is "wineserver" or, on 64-bit hosts, "wineserver64".
  const std::string name = ReadProcFile(procEntry + "\\comm");
  if (name != "wineserver\n" && name != "wineserver64\n") return false;
  // The environment is NUL-separated; wrap it so a whole entry can be matched.
  const std::string environment = '\0' + ReadProcFile(procEntry + "\\environ") + '\0';
  return environment.find('\0' + prefixSetting + '\0') != std::string::npos;
}

}  // namespace

WineserverCpu::WineserverCpu() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (!prefix) return;
  const std::string prefixSetting = std::string("WINEPREFIX=") + prefix;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && AllDigits(entry.cFileName) &&
        IsOurServer(std::string("Z:\\proc\\") + entry.cFileName, prefixSetting)) {
      pid_ = std::strtoul(entry.cFileName, nullptr, 10);
      break;
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

std::optional<std::uint64_t> WineserverCpu::CpuTime() const {
  if (!pid_) return std::nullopt;
  const std::string stat = ReadProcFile("Z:\\proc\\" + std::to_string(pid_) + "\\stat");
  // Fields after the command name, which sits in parentheses and may hold blanks: state is
  // field 3, utime and stime are fields 14 and 15, in clock ticks.
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(stat.substr(close + 1));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int n = 3; n <= 15 && fields >> field; ++n) {
    if (n == 14) utime = std::strtoull(field.c_str(), nullptr, 10);
    if (n == 15) stime = std::strtoull(field.c_str(), nullptr, 10);
  }
  if (!fields) return std::nullopt;
  // Linux reports these in USER_HZ, which is 100 on every kernel this runs on.
  constexpr std::uint64_t k100nsPerTick = 100000;
  return (utime + stime) * k100nsPerTick;
}

}  // namespace bench
