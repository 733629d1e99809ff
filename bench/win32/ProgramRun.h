// One run of a Windows program for the benchmarks: started with CreateProcess in a given
// folder, its main window found by polling every 5 ms from the moment of the start,
// its CPU time read from the process handle, and a graceful close (WM_CLOSE, then waiting
// for the process to end). Failures throw std::runtime_error saying what did not happen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "wingui/Handles.h"

namespace bench {

class ProgramRun {
 public:
  // Starts `exe` with `folder` as its current directory; `arguments` follow the quoted
  // program name on its command line.
  ProgramRun(const std::string& exe, const std::string& arguments, const std::string& folder);
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;
  // Ends the process if it is still running, so a failed run leaves nothing behind.
  ~ProgramRun();

  // Waits for a visible top-level window of this process with exactly this title and
  // returns the milliseconds from just before CreateProcess until it was seen.
  double WaitForVisibleWindow(const std::string& title, DWORD timeoutMs);
  HWND Window() const { return window_; }

  // Posts WM_CLOSE to the window found and waits for the process to end.
  void Close(DWORD timeoutMs);

  // User plus kernel time of the process so far, in 100 ns units: GetProcessTimes on the
  // handle, or the system process list where that gives nothing (Wine).
  std::uint64_t CpuTime() const;

 private:
  wingui::UniqueKernelHandle process_;
  DWORD id_ = 0;
  LARGE_INTEGER started_{};
  HWND window_ = nullptr;
};

// Milliseconds between two performance-counter readings.
double ElapsedMs(const LARGE_INTEGER& from, const LARGE_INTEGER& to);

}  // namespace bench
