// Finding a system library by its full path in the system folder, once per process, and
// keeping the loader from searching the current directory for the libraries it loads.
#include "wingui/LateBinding.h"

namespace wingui {
namespace {

// Not in the headers for every Windows version this builds for; the value is the system's.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

}  // namespace

void RestrictLibrarySearch() {
  // Kernel32 is in every process already, so asking for it by name loads nothing.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefault = NewerSystemFunction<SetDefaultDllDirectoriesFunction>(
      "kernel32.dll", "SetDefaultDllDirectories");
  // Windows 7 has it only with its security update of 2011; without it, at least the
  // current directory leaves the search order.
  if (!setDefault || !setDefault(kSearchSystem32)) SetDllDirectoryA("");
}

std::string SystemLibraryPath(const char* name) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string path(folder, length);
  if (path.back() != '\\') path += '\\';
  return path + name;
}

HMODULE SystemLibrary(const char* name) {
  const std::string path = SystemLibraryPath(name);
  // No system folder, no library: a bare name is never tried.
  if (path.empty()) return nullptr;
  if (HMODULE loaded = GetModuleHandleA(path.c_str())) return loaded;
  return LoadLibraryA(path.c_str());
}

}  // namespace wingui
