// POSIX side of the platform layer, for the host build and its tests: open/write/rename,
// strerror texts, /proc/self/exe, and posix_spawnp for starting a program.
#include "Platform.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Launch.h"
#include "Paths.h"

extern char** environ;

namespace launch {

namespace {

// Splits the parameters at blanks, the way the game's own command line is split into words.
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) words.push_back(text.substr(start, i - start));
  }
  return words;
}

}  // namespace

void ShellOpen(const LaunchRequest& request) {
  std::vector<std::string> words = Words(request.parameters);
  std::vector<char*> argv;
  std::string file = request.file;
  argv.push_back(file.data());
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  // No shell is involved, so nothing in the nick is interpreted. The outcome is ignored.
  pid_t child = 0;
  posix_spawnp(&child, file.c_str(), nullptr, nullptr, argv.data(), environ);
}

std::size_t WriteSome(NativeFile file, const char* data, std::size_t size) {
  for (;;) {
    const ssize_t written = write(static_cast<int>(file), data, size);
    if (written < 0 && errno == EINTR) continue;
    return written > 0 ? static_cast<std::size_t>(written) : 0;
  }
}

int LastSystemError() { return errno; }

std::string SystemErrorText(int code) { return std::strerror(code); }

std::string FullPath(const std::string& path) {
  if (!path.empty() && path.front() == '/') return path;
  const std::string folder = CurrentDirectory();
  if (folder.empty()) return path;
  return folder.back() == '/' ? folder + path : folder + "/" + path;
}

std::string CurrentDirectory() {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    if (getcwd(buffer.data(), buffer.size())) return buffer.data();
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::string ProgramPath() {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < buffer.size()) {
      return std::string(buffer.data(), static_cast<std::size_t>(length));
    }
    buffer.resize(buffer.size() * 2);
  }
}

unsigned long ProcessId() { return static_cast<unsigned long>(getpid()); }

bool FindDatedFile(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  // Same window as the old 16-bit file-system date words: 1980 to 2107, local time.
  std::tm local{};
  const std::time_t modified = info.st_mtime;
  if (!localtime_r(&modified, &local)) return false;
  const int year = local.tm_year + 1900;
  return year >= 1980 && year <= 2107;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return false;
  // Read straight into the string, sized from the file; a file that grows or shrinks
  // meanwhile still reads to its end.
  struct stat info;
  std::size_t size = 0;
  if (fstat(file, &info) == 0 && info.st_size > 0) size = static_cast<std::size_t>(info.st_size);
  bytes.assign(size + 1, '\0');
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = read(file, bytes.data() + used, bytes.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    used += static_cast<std::size_t>(got);
  }
  bytes.resize(used);
  close(file);
  return true;
}

bool CheckReplaceable(const std::string& path) {
  struct stat info;
  // Nothing there, or no such folder: creating the temporary file beside it decides.
  if (stat(path.c_str(), &info) != 0) return true;
  if (S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    return false;
  }
  // A file nobody may write is refused to the superuser too, as Windows refuses a read-only
  // file to everyone: the mark must protect the file whoever runs the program.
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    errno = EACCES;
    return false;
  }
  const int file = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (file < 0) return false;
  close(file);
  return true;
}

NativeFile CreateNewFile(const std::string& path) {
  const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  return file < 0 ? kNoFile : static_cast<NativeFile>(file);
}

bool IsAlreadyExistsError(int code) { return code == EEXIST; }

bool FlushFile(NativeFile file) { return fsync(static_cast<int>(file)) == 0; }

bool CloseFile(NativeFile file) { return close(static_cast<int>(file)) == 0; }

bool ReplaceWithBackup(const std::string& target, const std::string& replacement,
                       const std::string&) {
  // One rename replaces the target whole; no backup is needed for that.
  return rename(replacement.c_str(), target.c_str()) == 0;
}

bool PathExists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

bool MoveToFreeName(const std::string& from, const std::string& to) {
  if (PathExists(to)) {
    errno = EEXIST;
    return false;
  }
  return rename(from.c_str(), to.c_str()) == 0;
}

long FileMarks(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<long>(info.st_mode & 07777);
}

void SetFileMarks(const std::string& path, long marks) {
  if (marks >= 0) chmod(path.c_str(), static_cast<mode_t>(marks));
}

void RemoveFile(const std::string& path) { unlink(path.c_str()); }

}  // namespace launch
