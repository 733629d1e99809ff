// System libraries the program needs only now and then (the file dialog, the sockets
// library, the IP helper), found when first called instead of linked: each library linked is
// one more for the loader to map at every start.
//
// They are loaded from the system folder only, by their full path there: a bare name would
// let the system's search order decide, and a library that is not one of the system's own
// "known" ones would then be taken from the program's folder (or the current one) if a file
// of that name had been put there. RestrictLibrarySearch, called first at start, narrows the
// search for every library loaded later (the system's own included) to the system folder too.
#pragma once

#include <windows.h>

#include <string>

namespace wingui {

// Limits the library search of the whole process to the system folder where the system can
// (SetDefaultDllDirectories), and takes the current directory out of it everywhere else.
void RestrictLibrarySearch();

// The system folder's path of a system library: "<system folder>\<name>".
std::string SystemLibraryPath(const char* name);

// The system library, loaded from the system folder on first use; nullptr when it is missing.
// It stays loaded until the process ends.
HMODULE SystemLibrary(const char* name);

// The named function of a module; nullptr when the module or the function is missing.
template <typename Function>
Function FunctionOf(HMODULE module, const char* name) {
  if (!module) return nullptr;
  // Through the generic function pointer type, which converts to any other without a
  // warning about incompatible function types.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The named function of a system library; nullptr when the library or the function is missing.
template <typename Function>
Function LateBound(const char* library, const char* name) {
  return FunctionOf<Function>(SystemLibrary(library), name);
}

// A function of a system library the program links and so has loaded from its start (kernel32,
// user32, comctl32) that older systems lack; nullptr where the system has no such function.
template <typename Function>
Function NewerSystemFunction(const char* library, const char* name) {
  return FunctionOf<Function>(GetModuleHandleA(library), name);
}

}  // namespace wingui
