// Whole-file reading and the write-then-replace scheme for writing.
#include "WholeFile.h"

#include "Errors.h"
#include "Paths.h"
#include "Platform.h"

namespace launch {

namespace {

// "<verb> file "<full path>". <tidied system text>", for the system's error `code`.
std::string FileErrorText(std::string_view verb, const std::string& path, int code) {
  std::string message(verb);
  message += " file \"" + FullPath(path) + "\". " + TidiedSystemErrorText(code);
  return message;
}

LaunchError FileError(std::string_view verb, const std::string& path,
                      int code = LastSystemError()) {
  return LaunchError(FileErrorText(verb, path, code));
}

// Moves to a free name through the seam, as every step of a save does.
bool Move(const std::string& from, const std::string& to) {
  return LaunchSeam().InUse.MoveToFreeName(from, to);
}

// One file is written at a time, so the process id and the attempt number make the name.
std::string TemporaryName(unsigned attempt) {
  return "~lvtmp" + std::to_string(ProcessId()) + "-" + std::to_string(attempt) + ".tmp";
}

constexpr unsigned kAttempts = 100;

// Owns the temporary file until its contents are safe: in the target's place, or named in an
// error when nothing else could hold them.
class TemporaryFile {
 public:
  // The target is taken as a full path: the system's replace operation needs one under Wine.
  explicit TemporaryFile(const std::string& target)
      : target_(FullPath(target)), folder_(FolderOf(target_)) {
    // A target that creating it for writing would refuse is refused before anything is made.
    if (!CheckReplaceable(target_)) throw FileError("Cannot create", target_);
    // A name left behind by an earlier process is skipped; any other failure is final.
    for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
      path_ = folder_ + TemporaryName(attempt);
      file_ = CreateNewFile(path_);
      if (file_ != kNoFile) return;
      if (!IsAlreadyExistsError(LastSystemError())) break;
    }
    path_.clear();
    throw FileError("Cannot create", target_);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (file_ != kNoFile) CloseFile(file_);
    if (!path_.empty()) RemoveFile(path_);
  }

  // Every write is attempted; a failure is reported once the file is closed.
  void Append(std::string_view bytes) {
    written_ = LaunchSeam().InUse.WriteBytes(file_, bytes.data(), bytes.size()) && written_;
  }

  void Finish() {
    bool written = FlushFile(file_) && written_;
    const NativeFile file = file_;
    file_ = kNoFile;
    written = CloseFile(file) && written;
    if (!written) throw LaunchError("Stream write error");
  }

  void MoveOverTarget() {
    if (!PathExists(target_)) {
      if (!Move(path_, target_)) throw FileError("Cannot create", target_);
      path_.clear();
      return;
    }
    const long marks = FileMarks(target_);
    const std::string backup = FreeName();
    if (LaunchSeam().InUse.ReplaceExisting(target_, path_, backup)) {
      Replaced(backup, marks);
      return;
    }
    SettleFailedReplace(backup, marks, LastSystemError());
  }

 private:
  // A name in the target's folder that nothing has yet, for the old file during the replace.
  std::string FreeName() const {
    for (unsigned attempt = 0; attempt < kAttempts; ++attempt) {
      std::string name = folder_ + TemporaryName(attempt);
      if (name != path_ && !PathExists(name)) return name;
    }
    return folder_ + TemporaryName(kAttempts) + ".old";
  }

  // The new contents are in place: the old ones are not needed any more, and the target
  // keeps its marks (Wine's replace drops them, and a rescued move never had them).
  void Replaced(const std::string& backup, long marks) {
    path_.clear();
    if (PathExists(backup)) RemoveFile(backup);
    SetFileMarks(target_, marks);
  }

  // A replace that failed has left the three names as its error says; the documented
  // failures leave the old contents in the target's place or under the backup name, and the
  // new ones under the temporary name. The names are looked at rather than the code, so any
  // failure (including a system that does its steps in another order) ends the same way: the
  // target holds its new contents, or else its old ones, and the error box says which.
  void SettleFailedReplace(const std::string& backup, long marks, int code) {
    const bool newInPlace = !PathExists(path_) && PathExists(target_);
    if (newInPlace || (!PathExists(target_) && Move(path_, target_))) {
      Replaced(backup, marks);
      return;
    }
    if (!PathExists(target_) && PathExists(backup) && Move(backup, target_)) {
      SetFileMarks(target_, marks);
    }
    if (PathExists(target_)) {
      // The old contents are in place; the temporary file goes with this object.
      if (PathExists(backup)) RemoveFile(backup);
      throw FileError("Cannot create", target_, code);
    }
    // Nothing could be put in the target's place: both contents stay where they are, and
    // the error says where.
    std::string message = FileErrorText("Cannot create", target_, code);
    message += ". Its new contents are kept in \"" + path_ + "\"";
    if (PathExists(backup)) message += ", its old contents in \"" + backup + "\"";
    message += ".";
    path_.clear();
    throw LaunchError(message);
  }

  std::string target_;
  std::string folder_;
  std::string path_;
  NativeFile file_ = kNoFile;
  bool written_ = true;
};

// Lines are gathered into pieces of about this size before each write.
constexpr std::size_t kPieceSize = 64 * 1024;

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) throw FileError("Cannot open", path);
  return bytes;
}

void WriteLinesFile(const std::string& path, const std::vector<std::string>& lines) {
  TemporaryFile temporary(path);
  std::string piece;
  piece.reserve(kPieceSize);
  for (const std::string& line : lines) {
    piece += line;
    piece += "\r\n";
    if (piece.size() >= kPieceSize) {
      temporary.Append(piece);
      piece.clear();
    }
  }
  // An empty file still gets its one (empty) write, so every file is written the same way.
  if (!piece.empty() || lines.empty()) temporary.Append(piece);
  temporary.Finish();
  temporary.MoveOverTarget();
}

}  // namespace launch
