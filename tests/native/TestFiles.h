// Helpers for the launch core's tests: throw-away folders, raw file bytes, the current
// directory, the platform seam's recorders, and the system's own error texts taken
// straight from the system (not through the code under test).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Launch.h"
#include "Platform.h"

namespace launch_test {

// A fresh empty folder, removed with everything in it at the end of the scope.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Full path with its trailing separator, ready for "+ name".
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }
  // Names of everything in the folder, sorted.
  std::vector<std::string> Names() const;

 private:
  std::string path_;
};

// Makes folder the current directory for the scope.
class CurrentDirectoryScope {
 public:
  explicit CurrentDirectoryScope(const std::string& folder);
  ~CurrentDirectoryScope();

 private:
  std::string previous_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);
void MakeFolder(const std::string& path);
// Sets the file's last-write time to noon on July 1st of year, local time.
void SetLastWriteYear(const std::string& path, int year);

// The read-only mark: the read-only attribute on Windows, no write permission elsewhere.
void SetReadOnly(const std::string& path, bool readOnly);
// Gives the file attributes a new file does not get (hidden and archive on Windows, mode 0640
// elsewhere); Attributes reads them back for comparison.
void SetUnusualAttributes(const std::string& path);
unsigned long Attributes(const std::string& path);

// `count` distinct "allow" entries and the bytes of the list file that holds them, each
// entry followed by CR LF (about 25 bytes an entry).
struct LongList {
  launch::AllowedList entries;
  std::string bytes;
};
LongList MakeLongList(int count);

// Records every start request instead of starting anything.
class RecordedStarts {
 public:
  RecordedStarts();
  const std::vector<launch::LaunchRequest>& Requests() const;

 private:
  launch::SeamScope<launch::LaunchCalls> scope_{launch::LaunchSeam()};
};

// Write number failingWrite (counting from 1) lets its first okBytes reach the file and
// then reports failure; the writes before and after it are real.
class FailingWrites {
 public:
  FailingWrites(int failingWrite, std::size_t okBytes);

 private:
  launch::SeamScope<launch::LaunchCalls> scope_{launch::LaunchSeam()};
};

// How a failed replace leaves the three names, as the system documents its failures.
enum class ReplaceLeaves {
  BothInPlace,        // target and new file keep their names (1175, 1176 with a backup name)
  TargetRemoved,      // the target is gone, the new file keeps its name (1176 without one)
  TargetUnderBackup,  // the target went to the backup name, the new file kept its name (1177)
};

struct ReplaceCall {
  std::string target, replacement, backup;
};

// Records every replace the launch core asks for and lets it happen for real; or, given a
// failure, makes the first one fail with the system error `code` after leaving the names as
// `leaves` says. With `holdReplacement` the new file then refuses to move until the end of
// the scope, as one another program holds open would (it can still be deleted).
class ObservedReplaces {
 public:
  ObservedReplaces();
  ObservedReplaces(int code, ReplaceLeaves leaves, bool holdReplacement = false);
  ~ObservedReplaces();
  const std::vector<ReplaceCall>& Calls() const;

 private:
  launch::SeamScope<launch::LaunchCalls> scope_{launch::LaunchSeam()};
};

// The system's own text for an error code, trailing break and full stop dropped.
std::string SystemText(int code);

// The system's text (trailing break and full stop dropped) for a missing file, a path
// whose folder is missing, and a file name taken by a folder.
std::string MissingFileText();
std::string MissingFolderText();
std::string FolderInTheWayText();
// The system's text for a file that may not be written (access denied).
std::string AccessDeniedText();

}  // namespace launch_test
