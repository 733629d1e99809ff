// Win32 side of the platform layer: ANSI file APIs, FormatMessageA texts and
// ShellExecuteA. Paths are bytes in the ANSI code page and are passed on unchanged.
#include "Platform.h"

#include <windows.h>
#include <shellapi.h>

#include "Launch.h"
#include "Paths.h"

namespace launch {

namespace {

HANDLE AsHandle(NativeFile file) { return reinterpret_cast<HANDLE>(file); }

// Closes a search or file handle when the scope ends.
template <BOOL(WINAPI* Close)(HANDLE)>
struct HandleGuard {
  HANDLE handle;
  ~HandleGuard() { Close(handle); }
};

// One read or write moves at most 1 GiB, well inside a DWORD.
DWORD Chunk(std::size_t size) { return size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size); }

}  // namespace

void ShellOpen(const LaunchRequest& request) {
  const char* folder =
      request.workingDirectory.empty() ? nullptr : request.workingDirectory.c_str();
  // The result is deliberately ignored: a game that cannot be started is not reported.
  ShellExecuteA(reinterpret_cast<HWND>(request.ownerWindow), request.verb.c_str(),
                request.file.c_str(), request.parameters.c_str(), folder,
                request.showCommand);
}

std::size_t WriteSome(NativeFile file, const char* data, std::size_t size) {
  DWORD written = 0;
  return WriteFile(AsHandle(file), data, Chunk(size), &written, nullptr) ? written : 0;
}

int LastSystemError() { return static_cast<int>(GetLastError()); }

std::string SystemErrorText(int code) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length ? std::string(buffer, length) : std::string();
  LocalFree(buffer);
  return text;
}

std::string FullPath(const std::string& path) {
  // First call asks for the size; the path may grow beyond MAX_PATH when expanded.
  const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::string full(needed, '\0');
  const DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  return full;
}

std::string CurrentDirectory() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return {};
  std::string folder(needed, '\0');
  const DWORD length = GetCurrentDirectoryA(needed, folder.data());
  folder.resize(length < needed ? length : 0);
  return folder;
}

std::string ProgramPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    // A full buffer means the path may have been cut: try again with more room.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

unsigned long ProcessId() { return GetCurrentProcessId(); }

bool FindDatedFile(const std::string& path) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  HandleGuard<FindClose> guard{search};
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  // The old file-system date format holds 1980 to 2107. The conversion refuses the rest
  // on Windows; the year is checked as well because not every implementation does.
  FILETIME local;
  SYSTEMTIME fields;
  WORD date = 0;
  WORD time = 0;
  return FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) &&
         FileTimeToSystemTime(&local, &fields) && fields.wYear >= 1980 &&
         fields.wYear <= 2107 && FileTimeToDosDateTime(&local, &date, &time);
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  HandleGuard<CloseHandle> guard{file};
  // Read straight into the string, sized from the file; a file that grows or shrinks
  // meanwhile still reads to its end, and a failed read ends with what was read.
  LARGE_INTEGER size{};
  std::size_t expected = 0;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < 0x7FFFFFFF) {
    expected = static_cast<std::size_t>(size.QuadPart);
  }
  bytes.assign(expected + 1, '\0');
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) bytes.resize(bytes.size() * 2);
    DWORD got = 0;
    if (!ReadFile(file, bytes.data() + used, Chunk(bytes.size() - used), &got, nullptr)) break;
    if (got == 0) break;
    used += got;
  }
  bytes.resize(used);
  return true;
}

bool CheckReplaceable(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  // Nothing there, or no such folder: creating the temporary file beside it decides.
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  // The read-only mark is tested itself: Wine run by the superuser opens such a file for
  // writing, and the mark must protect the file whoever runs the program.
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  // Opening for writing while sharing everything fails where creating the file would: for a
  // folder, and while another program holds the file without sharing writes.
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

NativeFile CreateNewFile(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<NativeFile>(file);
}

bool IsAlreadyExistsError(int code) {
  return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
}

bool FlushFile(NativeFile file) { return FlushFileBuffers(AsHandle(file)) != 0; }

bool CloseFile(NativeFile file) { return CloseHandle(AsHandle(file)) != 0; }

bool ReplaceWithBackup(const std::string& target, const std::string& replacement,
                       const std::string& backup) {
  return ReplaceFileA(target.c_str(), replacement.c_str(), backup.c_str(),
                      REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0;
}

bool PathExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MoveToFreeName(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

long FileMarks(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ? -1 : static_cast<long>(attributes);
}

void SetFileMarks(const std::string& path, long marks) {
  if (marks >= 0) SetFileAttributesA(path.c_str(), static_cast<DWORD>(marks));
}

void RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }

}  // namespace launch
