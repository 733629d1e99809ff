// Late-bound system libraries come from the system folder, whatever lies beside the program.
// A library planted in a probe program's folder under a system library's name is loaded by a
// bare name (the control: with Wine told to prefer a library file found on the search path to
// its own copy, as Windows does for every library that is not one of its "known" ones), and
// never by the program's way of loading, nor by a bare name once start-up has restricted the
// search.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

#include "harness/Driver.h"
#include "harness/Scratch.h"
#include "wingui/LateBinding.h"

namespace {

struct Loaded {
  std::string path;
  bool plantedRan = false;
};

// Wine's setting for one program, in the prefix's registry: prefer a library file found on
// the search path to Wine's own copy, as Windows does. Removed again at the end of the scope.
class PreferLibraryFiles {
 public:
  explicit PreferLibraryFiles(const std::string& library) {
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr);
    const std::string name = library.substr(0, library.find('.'));
    RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"),
                   sizeof "native,builtin");
  }
  ~PreferLibraryFiles() {
    RegCloseKey(key_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
  }

 private:
  static constexpr char kKey[] = "Software\\Wine\\AppDefaults\\library_probe.exe\\DllOverrides";
  HKEY key_ = nullptr;
};

// Runs the probe in the planted folder.
Loaded Probe(const std::string& how, const std::string& library) {
  const std::string folder = harness::WindowsPath(LANVORA_PLANTED_DIR);
  const std::string report = folder + "\\probe-report.txt";
  DeleteFileA(report.c_str());
  PreferLibraryFiles prefer(library);
  PROCESS_INFORMATION started =
      harness::Launch(folder + "\\library_probe.exe", folder, how + " " + library + " \"" + report + "\"");
  WaitForSingleObject(started.hProcess, 20000);
  CloseHandle(started.hProcess);
  Loaded loaded;
  std::ifstream in(report);
  std::string ran;
  std::getline(in, loaded.path);
  std::getline(in, ran);
  loaded.plantedRan = ran == "ran";
  return loaded;
}

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

TEST(LateBinding, APlantedLibraryBesideTheProgramIsNeverTheOneLoaded) {
  const std::string planted = harness::WindowsPath(LANVORA_PLANTED_DIR) + "\\";
  for (const char* library : {"iphlpapi.dll", "comdlg32.dll", "ws2_32.dll"}) {
    SCOPED_TRACE(library);
    const std::string system = wingui::SystemLibraryPath(library);
    ASSERT_FALSE(system.empty());

    const Loaded bare = Probe("bare", library);
    EXPECT_TRUE(SamePath(bare.path, planted + library)) << bare.path;
    EXPECT_TRUE(bare.plantedRan) << "the control: a bare name takes the planted file";

    const Loaded late = Probe("late", library);
    EXPECT_TRUE(SamePath(late.path, system)) << late.path;
    EXPECT_FALSE(late.plantedRan);

    const Loaded started = Probe("started", library);
    EXPECT_TRUE(SamePath(started.path, system)) << started.path;
    EXPECT_FALSE(started.plantedRan);
  }
}

TEST(LateBinding, FunctionsComeFromTheSystemCopy) {
  using GetAdaptersAddressesFunction = ULONG(WINAPI*)(ULONG, ULONG, void*, void*, ULONG*);
  const auto found =
      wingui::LateBound<GetAdaptersAddressesFunction>("iphlpapi.dll", "GetAdaptersAddresses");
  ASSERT_NE(found, nullptr);
  // The function lies in the module loaded from the system folder.
  HMODULE module = nullptr;
  ASSERT_TRUE(GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(found), &module));
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module, path, MAX_PATH);
  EXPECT_TRUE(SamePath(path, wingui::SystemLibraryPath("iphlpapi.dll"))) << path;
  // The system's answer for no room.
  ULONG size = 0;
  EXPECT_EQ(found(2 /* AF_INET */, 0, nullptr, nullptr, &size),
            static_cast<ULONG>(ERROR_BUFFER_OVERFLOW));
  EXPECT_GT(size, 0u);
  EXPECT_EQ(wingui::LateBound<GetAdaptersAddressesFunction>("no-such-library.dll", "F"), nullptr);
  EXPECT_EQ(wingui::LateBound<GetAdaptersAddressesFunction>("iphlpapi.dll", "NoSuchFunction"), nullptr);
}

}  // namespace
