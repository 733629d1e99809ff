// The small layer between the launch core and the operating system: files, folders, the
// current directory, the program's own path and the shell's "open". Platform_win.cpp and
// Platform_posix.cpp implement it. The two entries of LaunchPlatformTable are the seam tests
// replace (record what the shell is asked to open, make a write fail part-way); they default
// to the real functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace launch {

struct LaunchRequest;

// A HANDLE on Windows, a file descriptor elsewhere; kNoFile when none is open.
using NativeFile = std::intptr_t;
inline constexpr NativeFile kNoFile = -1;

struct LaunchPlatformTable {
  // Hands the request (a program to start, a page to show) to the shell and returns at
  // once; the outcome is not examined.
  void (*OpenWithShell)(const LaunchRequest& request);
  // Writes all of data to file; false when any part of it could not be written.
  bool (*WriteBytes)(NativeFile file, const char* data, std::size_t size);
};

// The table in use (tests assign to its entries) and the real one.
LaunchPlatformTable& LaunchPlatform();
const LaunchPlatformTable& RealLaunchPlatform();

// The system's own calls behind the real table: the shell's "open" (where there is no shell,
// the program is started with the parameters as its words), and one write that may take only
// part of the data (the number of bytes written; 0 when it failed).
void ShellOpen(const LaunchRequest& request);
std::size_t WriteSome(NativeFile file, const char* data, std::size_t size);

// Error code of the last failed call below (GetLastError or errno).
int LastSystemError();
// The system's own text for an error code, untidied.
std::string SystemErrorText(int code);

// A relative path expanded against the current directory; the path itself when that fails.
std::string FullPath(const std::string& path);
std::string CurrentDirectory();
unsigned long ProcessId();

// True when a directory search finds path, it is a file and not a folder, and its
// last-write time in local time lies in the years 1980 to 2107.
bool FindDatedFile(const std::string& path);

// Reads the whole file into bytes; false (with LastSystemError) when it cannot be opened.
// A failure after opening ends the reading quietly with what was read so far.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// Whether the file at path may be replaced, as creating it for writing would allow: true when
// nothing is there or it opens for writing; false (with LastSystemError) for a read-only file,
// a folder, or a file another program holds open without sharing writes.
bool CheckReplaceable(const std::string& path);
// Creates a new file that must not exist yet; kNoFile (with LastSystemError) on failure.
NativeFile CreateNewFile(const std::string& path);
// True for the error CreateNewFile gives when the name is taken.
bool IsAlreadyExistsError(int code);
// Pushes written data to the disk; false when that fails.
bool FlushFile(NativeFile file);
// Closes the file; false when the system reports a late write failure.
bool CloseFile(NativeFile file);
// Moves from over to; false (with LastSystemError) on failure. A file already at `to` is
// replaced in place: it keeps its attributes (and on Windows its security settings).
bool MoveReplacing(const std::string& from, const std::string& to);
void RemoveFile(const std::string& path);

}  // namespace launch
