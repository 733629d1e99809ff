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

// Unique within this process by the counter, across processes by the process id.
std::string TemporaryName(unsigned attempt) {
  static unsigned counter = 0;
  return "~lvtmp" + std::to_string(ProcessId()) + "-" + std::to_string(++counter) + "-" +
         std::to_string(attempt) + ".tmp";
}

// Owns the temporary file until it has been moved over the target.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) : target_(target) {
    const std::string folder = FolderOf(FullPath(target));
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

  void Write(std::string_view bytes) {
    bool written = Platform().WriteBytes(file_, bytes.data(), bytes.size());
    written = FlushFile(file_) && written;
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
};

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) throw FileError("Cannot open", path);
  return bytes;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
  TemporaryFile temporary(path);
  temporary.Write(bytes);
  temporary.MoveOverTarget();
}

}  // namespace launch
