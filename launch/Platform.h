// The small layer between the launch core and the operating system: files, folders, the
// current directory, the program's own path and the shell's "open". Platform_win.cpp and
// Platform_posix.cpp implement it. LaunchCalls is the seam (Seam.h) tests change: record what
// the shell is asked to open, make a write fail part-way, make the system's replace fail the
// ways it is documented to, and a file's move after it fail too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Seam.h"
#include "SystemErrorText.h"

namespace launch {

struct LaunchRequest;

// A HANDLE on Windows, a file descriptor elsewhere; kNoFile when none is open.
using NativeFile = std::intptr_t;
inline constexpr NativeFile kNoFile = -1;

struct LaunchCalls {
  // Hands the request (a program to start, a page to show) to the shell and returns at
  // once; the outcome is not examined.
  void (*OpenWithShell)(const LaunchRequest& request);
  // Writes all of data to file; false when any part of it could not be written.
  bool (*WriteBytes)(NativeFile file, const char* data, std::size_t size);
  // Puts the file `replacement` in the place of the existing file `target`, the old file
  // going to the free name `backup` (all three full paths in one folder): on Windows the
  // system's replace, which keeps the target's security settings. False (with
  // LastSystemError) when it failed; the three names are then left as the system's
  // documentation says for that error, which the caller sorts out by looking at them.
  bool (*ReplaceExisting)(const std::string& target, const std::string& replacement,
                          const std::string& backup);
  // Moves a file to a name that must be free (MoveToFreeName below): how a new file takes
  // the place of a missing target, and how a failed replace is sorted out.
  bool (*MoveToFreeName)(const std::string& from, const std::string& to);
};

Seam<LaunchCalls>& LaunchSeam();

// The system's own calls behind the real table: the shell's "open" (where there is no shell,
// the program is started with the parameters as its words), and one write that may take only
// part of the data (the number of bytes written; 0 when it failed).
void ShellOpen(const LaunchRequest& request);
std::size_t WriteSome(NativeFile file, const char* data, std::size_t size);

// Error code of the last failed call below (GetLastError or errno); its text is
// SystemErrorText.h's.
int LastSystemError();

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
// The real replace behind the table's entry.
bool ReplaceWithBackup(const std::string& target, const std::string& replacement,
                       const std::string& backup);
// True when anything (a file or a folder) has that name.
bool PathExists(const std::string& path);
// Moves from to the name `to`, which must be free; false (with LastSystemError) on failure.
bool MoveToFreeName(const std::string& from, const std::string& to);
// A file's marks: its attributes on Windows (read-only, hidden, archive ...), its permission
// bits elsewhere; -1 when it has none to read. SetFileMarks puts them on another file.
long FileMarks(const std::string& path);
void SetFileMarks(const std::string& path, long marks);
void RemoveFile(const std::string& path);

}  // namespace launch
