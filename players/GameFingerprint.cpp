// Listing the game's files, and hashing them a step at a time.
#include "players/GameFingerprint.h"

#include <algorithm>
#include <string_view>

#include "launch/Paths.h"
#include "launch/TextLines.h"

namespace players {
namespace {

std::uint64_t Combined(DWORD high, DWORD low) { return std::uint64_t{high} << 32 | low; }

// The size as eight bytes, big-endian.
std::string SizeBytes(std::uint64_t size) {
  std::string bytes(8, '\0');
  for (int i = 0; i < 8; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>(size >> (56 - 8 * i));
  return bytes;
}

}  // namespace

std::vector<GameFingerprint::File> GameFingerprint::List(const std::string& exeField) {
  std::vector<File> files;
  WIN32_FILE_ATTRIBUTE_DATA exe{};
  if (exeField.empty() ||
      !GetFileAttributesExA(exeField.c_str(), GetFileExInfoStandard, &exe) ||
      (exe.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return files;  // no game there: nothing to fingerprint
  }
  files.push_back({exeField, "", Combined(exe.nFileSizeHigh, exe.nFileSizeLow),
                   Combined(exe.ftLastWriteTime.dwHighDateTime, exe.ftLastWriteTime.dwLowDateTime)});
  const std::string folder = launch::FolderOf(exeField);
  std::vector<File> data;
  for (const char* pattern : {"*.grp", "*.con", "*.rts"}) {
    WIN32_FIND_DATAA found{};
    const HANDLE first = FindFirstFileA((folder + pattern).c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) continue;
    const wingui::UniqueFindHandle search(first);
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      data.push_back({folder + found.cFileName, launch::AsciiLower(found.cFileName),
                      Combined(found.nFileSizeHigh, found.nFileSizeLow),
                      Combined(found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime)});
    } while (FindNextFileA(search.get(), &found));
  }
  std::sort(data.begin(), data.end(), [](const File& a, const File& b) { return a.name < b.name; });
  files.insert(files.end(), data.begin(), data.end());
  return files;
}

void GameFingerprint::Restart(std::vector<File> files) {
  files_ = std::move(files);
  value_ = {};
  open_.reset();
  file_ = 0;
  sha_.reset();
  if (!files_.empty()) sha_.emplace();
}

bool GameFingerprint::Read(std::uint64_t& budget) {
  const File& file = files_[file_];
  if (!open_) {
    open_.reset(CreateFileA(file.path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (open_.get() == INVALID_HANDLE_VALUE) {
      open_.release();
      return false;
    }
    sha_->Add(file.name);
    sha_->Add(std::string_view("\0", 1));
    sha_->Add(SizeBytes(file.size));
  }
  std::string chunk(64 * 1024, '\0');
  while (budget > 0) {
    DWORD got = 0;
    if (!ReadFile(open_.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr)) {
      return false;
    }
    if (got == 0) {  // the end of this file
      open_.reset();
      ++file_;
      return true;
    }
    sha_->Add(std::string_view(chunk.data(), got));
    budget -= std::min<std::uint64_t>(budget, got);
  }
  return true;
}

void GameFingerprint::Step(const std::string& exeField) {
  const DWORD now = GetTickCount();
  if (exeField != field_) {
    field_ = exeField;
    Restart(List(exeField));
    checkedAt_ = now;
  } else if (!sha_ && now - checkedAt_ >= kRecheckMs) {
    // Known (or nothing to know): a file replaced, added or removed starts it again.
    checkedAt_ = now;
    std::vector<File> files = List(exeField);
    if (files != files_) Restart(std::move(files));
  }
  std::uint64_t budget = kBytesPerStep;
  while (sha_ && budget > 0) {
    if (file_ == files_.size()) {
      const lobby::Sha256::Digest digest = sha_->Finish();
      std::copy_n(digest.begin(), value_.size(), value_.begin());
      sha_.reset();
      break;
    }
    // A file that cannot be read leaves the game unknown until the files change.
    if (!Read(budget)) {
      Restart({});
      files_.clear();
    }
  }
}

}  // namespace players
