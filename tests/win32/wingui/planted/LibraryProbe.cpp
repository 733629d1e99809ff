// Loads one library the way it is asked to and writes down which file was loaded and whether
// the planted library beside it ran:
//   library_probe <bare|late|started> <library> <report file>
// bare: the system's search by bare name; late: the program's way for late-bound libraries;
// started: a bare name after the program's start-up has restricted the search.
#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>

#include "wingui/LateBinding.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const std::string how = argv[1];
  HMODULE module = nullptr;
  if (how == "bare") {
    module = LoadLibraryA(argv[2]);
  } else if (how == "late") {
    module = wingui::SystemLibrary(argv[2]);
  } else if (how == "started") {
    wingui::RestrictLibrarySearch();
    module = LoadLibraryA(argv[2]);
  } else {
    return 2;
  }
  char path[MAX_PATH] = {};
  if (module) GetModuleFileNameA(module, path, MAX_PATH);
  char ran[4] = {};
  GetEnvironmentVariableA("LANVORA_PLANTED_LIBRARY_RAN", ran, sizeof ran);
  std::ofstream(argv[3]) << path << "\n" << (std::strcmp(ran, "1") == 0 ? "ran" : "not run") << "\n";
  return 0;
}
