// Whole-file reading and the write-then-replace scheme for writing.
#include "WholeFile.h"

#include "Errors.h"
#include "Paths.h"
#include "Platform.h"

namespace launch {

namespace {

// "<verb> file "<full path>". <tidied system text>", the system text taken now.
LaunchError FileError(std::string_view verb, const std::string& path) {
  const int code = LastSystemError();
  std::string message(verb);
  message += " file \"" + FullPath(path) + "\". " + TidySystemText(SystemErrorText(code));
  return LaunchError(message);
}

// One file is written at a time, so the process id and the attempt number make the name.
std::string TemporaryName(unsigned attempt) {
  return "~lvtmp" + std::to_string(ProcessId()) + "-" + std::to_string(attempt) + ".tmp";
}

// Owns the temporary file until it has been moved over the target.
class TemporaryFile {
 public:
  // The target is taken as a full path: the system's replace operation needs one under Wine.
  explicit TemporaryFile(const std::string& target) : target_(FullPath(target)) {
    // A target that creating it for writing would refuse is refused before anything is made.
    if (!CheckReplaceable(target_)) throw FileError("Cannot create", target_);
    const std::string folder = FolderOf(target_);
    // A name left behind by an earlier process is skipped; any other failure is final.
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
      path_ = folder + TemporaryName(attempt);
      file_ = CreateNewFile(path_);
      if (file_ != kNoFile) return;
      if (!IsAlreadyExistsError(LastSystemError())) break;
    }
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
    written_ = LaunchPlatform().WriteBytes(file_, bytes.data(), bytes.size()) && written_;
  }

  void Finish() {
    bool written = FlushFile(file_) && written_;
    const NativeFile file = file_;
    file_ = kNoFile;
    written = CloseFile(file) && written;
    if (!written) throw LaunchError("Stream write error");
  }

  void MoveOverTarget() {
    if (!MoveReplacing(path_, target_)) throw FileError("Cannot create", target_);
    path_.clear();
  }

 private:
  std::string target_;
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
