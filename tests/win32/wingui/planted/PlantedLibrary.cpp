// A library planted beside a program under the name of a system library. Loading it marks the
// process (an environment variable), so a test can tell whether it ran; its one function
// answers with a value no system function gives.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) SetEnvironmentVariableA("LANVORA_PLANTED_LIBRARY_RAN", "1");
  return TRUE;
}

extern "C" __declspec(dllexport) ULONG WINAPI GetAdaptersAddresses(ULONG, ULONG, void*, void*,
                                                                    ULONG*) {
  return 0xDEAD;
}
