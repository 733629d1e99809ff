// Functions of system libraries the program needs only now and then (the file dialog, the
// sockets library), found when first called instead of linked: each library linked is one
// more for the loader to map at every start.
#pragma once

#include <windows.h>

namespace wingui {

// The named function of the library, loading the library on first use; nullptr when the
// library or the function is missing. The library stays loaded until the process ends.
template <typename Function>
Function LateBound(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryA(library);
  if (!module) return nullptr;
  // Through the generic function pointer type, which converts to any other without a
  // warning about incompatible function types.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace wingui
