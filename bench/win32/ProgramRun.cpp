// Process start, window polling, CPU time and close for the benchmarks.
#include "bench/win32/ProgramRun.h"

#include <winternl.h>

#include <stdexcept>
#include <vector>

#include "harness/Driver.h"

namespace bench {
namespace {

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

std::uint64_t FromFiletime(const FILETIME& t) {
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// CPU time of another process from the system's process list. Wine's GetProcessTimes
// answers zero user and kernel time for any process but the caller's own; its process list
// carries the real figures, read from the host's /proc with 10 ms resolution.
std::uint64_t ListedCpuTime(DWORD processId) {
  using QueryFn = NTSTATUS(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) Fail("NtQuerySystemInformation is not available");
  std::vector<char> buffer(256 * 1024);
  ULONG needed = 0;
  NTSTATUS status;
  while ((status = query(SystemProcessInformation, buffer.data(),
                         static_cast<ULONG>(buffer.size()), &needed)) ==
         static_cast<NTSTATUS>(0xC0000004L)) {  // STATUS_INFO_LENGTH_MISMATCH
    buffer.resize(buffer.size() * 2);
  }
  if (status < 0) Fail("the process list cannot be read (status " + std::to_string(status) + ")");
  for (size_t offset = 0;;) {
    const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(&buffer[offset]);
    if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == processId) {
      return static_cast<std::uint64_t>(entry->UserTime.QuadPart + entry->KernelTime.QuadPart);
    }
    if (entry->NextEntryOffset == 0) break;
    offset += entry->NextEntryOffset;
  }
  Fail("process " + std::to_string(processId) + " is not in the process list");
}

}  // namespace

double ElapsedMs(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

ProgramRun::ProgramRun(const std::string& exe, const std::string& arguments,
                       const std::string& folder) {
  QueryPerformanceCounter(&started_);
  const PROCESS_INFORMATION info = harness::Launch(exe, folder, arguments);
  process_.reset(info.hProcess);
  id_ = info.dwProcessId;
}

ProgramRun::~ProgramRun() {
  if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 5000);
  }
}

double ProgramRun::WaitForVisibleWindow(const std::string& title, DWORD timeoutMs) {
  const DWORD deadline = GetTickCount() + timeoutMs;
  for (;;) {
    // FindWindowEx walks the top-level windows with this title; the first visible one of
    // our process is the answer. Windows of earlier runs are gone: every run is closed
    // and waited for before the next starts.
    for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, title.c_str()); w != nullptr;
         w = FindWindowExA(nullptr, w, nullptr, title.c_str())) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == id_ && IsWindowVisible(w)) {
        LARGE_INTEGER seen;
        QueryPerformanceCounter(&seen);
        window_ = w;
        return ElapsedMs(started_, seen);
      }
    }
    if (WaitForSingleObject(process_.get(), 0) != WAIT_TIMEOUT) {
      Fail("the program ended before showing \"" + title + "\"");
    }
    if (static_cast<LONG>(GetTickCount() - deadline) >= 0) {
      Fail("no visible window \"" + title + "\" within " + std::to_string(timeoutMs) + " ms");
    }
    // Each look is three Wine-server round trips, and the server is the one the timed
    // program needs: looking every millisecond kept the server busy enough to slow the
    // program down. Every 5 ms costs at most 5 ms of resolution on start-ups of hundreds.
    Sleep(5);
  }
}

void ProgramRun::Close(DWORD timeoutMs) {
  if (!window_) Fail("no window to close");
  PostMessageA(window_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
    Fail("the program did not end within " + std::to_string(timeoutMs) + " ms of WM_CLOSE");
  }
}

std::uint64_t ProgramRun::CpuTime() const {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(process_.get(), &created, &ended, &kernel, &user)) {
    Fail("GetProcessTimes failed (error " + std::to_string(GetLastError()) + ")");
  }
  const std::uint64_t total = FromFiletime(kernel) + FromFiletime(user);
  // A process that has shown a window has used CPU time: zero means the figure is missing
  // (Wine), not that the process was free.
  return total != 0 ? total : ListedCpuTime(id_);
}

}  // namespace bench
