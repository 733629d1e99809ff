// Test helpers over std::filesystem and the system's error texts.
#include "TestFiles.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace launch_test {

namespace {

std::vector<launch::LaunchRequest> g_requests;
int g_writesLeft = 0;
std::size_t g_okBytes = 0;

void RecordStart(const launch::LaunchRequest& request) { g_requests.push_back(request); }

std::vector<ReplaceCall> g_replaces;
int g_replaceCode = 0;
ReplaceLeaves g_replaceLeaves = ReplaceLeaves::BothInPlace;
bool g_replaceFails = false;
bool g_holdReplacement = false;
// The new file of a failed replace that cannot be moved either ("" for none).
std::string g_stuckReplacement;

void SetSystemError(int code) {
#ifdef _WIN32
  SetLastError(static_cast<DWORD>(code));
#else
  errno = code;
#endif
}

bool ObserveReplace(const std::string& target, const std::string& replacement,
                    const std::string& backup) {
  g_replaces.push_back({target, replacement, backup});
  if (!std::exchange(g_replaceFails, false)) {
    return launch::LaunchSeam().Real.ReplaceExisting(target, replacement, backup);
  }
  switch (g_replaceLeaves) {
    case ReplaceLeaves::BothInPlace:
      break;
    case ReplaceLeaves::TargetRemoved:
      fs::remove(target);
      break;
    case ReplaceLeaves::TargetUnderBackup:
      fs::rename(target, backup);
      break;
  }
  if (g_holdReplacement) g_stuckReplacement = replacement;
  SetSystemError(g_replaceCode);
  return false;
}

// The new file of a failed replace refuses to move, as a file another program holds does;
// everything else moves for real (and may be deleted: nothing holds it).
bool MoveUnlessStuck(const std::string& from, const std::string& to) {
  if (!g_stuckReplacement.empty() && from == g_stuckReplacement) {
#ifdef _WIN32
    SetSystemError(ERROR_SHARING_VIOLATION);
#else
    SetSystemError(EBUSY);
#endif
    return false;
  }
  return launch::LaunchSeam().Real.MoveToFreeName(from, to);
}

bool WriteThenFail(launch::NativeFile file, const char* data, std::size_t size) {
  const auto& real = launch::LaunchSeam().Real;
  if (--g_writesLeft != 0) return real.WriteBytes(file, data, size);
  real.WriteBytes(file, data, std::min(size, g_okBytes));
  return false;
}

std::string WithoutTrailingBreakAndStop(std::string text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == '.' ||
                           text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

#ifdef _WIN32
std::string WindowsText(DWORD code) {
  char buffer[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                 buffer, sizeof buffer, nullptr);
  return WithoutTrailingBreakAndStop(buffer);
}
#endif

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  std::ostringstream name;
#ifdef _WIN32
  name << "lanvora-test-" << GetCurrentProcessId() << "-" << counter++;
#else
  name << "lanvora-test-" << getpid() << "-" << counter++;
#endif
  const fs::path folder = fs::temp_directory_path() / name.str();
  fs::remove_all(folder);
  fs::create_directories(folder);
  path_ = fs::canonical(folder).string();
  path_ += static_cast<char>(fs::path::preferred_separator);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::vector<std::string> TempFolder::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(path_)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::string& folder)
    : previous_(fs::current_path().string()) {
  fs::current_path(folder);
}

CurrentDirectoryScope::~CurrentDirectoryScope() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) { return fs::exists(path); }

void MakeFolder(const std::string& path) { fs::create_directories(path); }

// std::filesystem cannot be used here: mingw's version wraps dates after 2038.
void SetLastWriteYear(const std::string& path, int year) {
#ifdef _WIN32
  SYSTEMTIME fields{};
  fields.wYear = static_cast<WORD>(year);
  fields.wMonth = 7;
  fields.wDay = 1;
  fields.wHour = 12;
  FILETIME local;
  FILETIME utc;
  SystemTimeToFileTime(&fields, &local);
  LocalFileTimeToFileTime(&local, &utc);
  const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  SetFileTime(file, nullptr, nullptr, &utc);
  CloseHandle(file);
#else
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = 6;
  fields.tm_mday = 1;
  fields.tm_hour = 12;
  fields.tm_isdst = -1;
  const timespec times[2] = {{0, UTIME_OMIT}, {std::mktime(&fields), 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
#endif
}

LongList MakeLongList(int count) {
  LongList list;
  for (int i = 0; i < count; ++i) {
    const std::string entry = "allow 10." + std::to_string(i / 65536) + "." +
                              std::to_string(i / 256 % 256) + "." + std::to_string(i % 256) +
                              ":" + std::to_string(1635 + i % 7);
    list.entries.push_back(entry);
    list.bytes += entry + "\r\n";
  }
  return list;
}

#ifdef _WIN32
void SetReadOnly(const std::string& path, bool readOnly) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  SetFileAttributesA(path.c_str(), readOnly ? (attributes | FILE_ATTRIBUTE_READONLY)
                                            : (attributes & ~FILE_ATTRIBUTE_READONLY));
}
void SetUnusualAttributes(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
}
unsigned long Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }
#else
void SetReadOnly(const std::string& path, bool readOnly) {
  chmod(path.c_str(), readOnly ? 0444 : 0644);
}
void SetUnusualAttributes(const std::string& path) { chmod(path.c_str(), 0640); }
unsigned long Attributes(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}
#endif

RecordedStarts::RecordedStarts() {
  g_requests.clear();
  scope_->OpenWithShell = &RecordStart;
}

const std::vector<launch::LaunchRequest>& RecordedStarts::Requests() const {
  return g_requests;
}

FailingWrites::FailingWrites(int failingWrite, std::size_t okBytes) {
  g_writesLeft = failingWrite;
  g_okBytes = okBytes;
  scope_->WriteBytes = &WriteThenFail;
}

ObservedReplaces::ObservedReplaces() {
  g_replaces.clear();
  g_replaceFails = false;
  g_stuckReplacement.clear();
  scope_->ReplaceExisting = &ObserveReplace;
  scope_->MoveToFreeName = &MoveUnlessStuck;
}

ObservedReplaces::ObservedReplaces(int code, ReplaceLeaves leaves, bool holdReplacement)
    : ObservedReplaces() {
  g_replaceFails = true;
  g_replaceCode = code;
  g_replaceLeaves = leaves;
  g_holdReplacement = holdReplacement;
}

ObservedReplaces::~ObservedReplaces() {
  g_replaceFails = false;
  g_holdReplacement = false;
  g_stuckReplacement.clear();
}

const std::vector<ReplaceCall>& ObservedReplaces::Calls() const { return g_replaces; }

#ifdef _WIN32
std::string SystemText(int code) { return WindowsText(static_cast<DWORD>(code)); }
#else
std::string SystemText(int code) { return WithoutTrailingBreakAndStop(std::strerror(code)); }
#endif

#ifdef _WIN32
std::string MissingFileText() { return WindowsText(ERROR_FILE_NOT_FOUND); }
std::string MissingFolderText() { return WindowsText(ERROR_PATH_NOT_FOUND); }
std::string FolderInTheWayText() { return WindowsText(ERROR_ACCESS_DENIED); }
std::string AccessDeniedText() { return WindowsText(ERROR_ACCESS_DENIED); }
#else
std::string MissingFileText() { return WithoutTrailingBreakAndStop(std::strerror(ENOENT)); }
std::string MissingFolderText() { return MissingFileText(); }
std::string FolderInTheWayText() { return WithoutTrailingBreakAndStop(std::strerror(EISDIR)); }
std::string AccessDeniedText() { return WithoutTrailingBreakAndStop(std::strerror(EACCES)); }
#endif

}  // namespace launch_test
