// Files and folders of the black-box tests: a fresh scratch folder per scenario, exact file
// bytes, and the record the stand-in game leaves behind. Paths are Windows paths; the build
// hands over Linux paths, which Wine sees under drive Z:.
#pragma once

#include <string>
#include <vector>

namespace harness {

// "/a/b" -> "Z:\a\b"; Windows paths pass unchanged.
std::string WindowsPath(const std::string& path);

// A folder emptied and recreated on construction: <root>\<name>.
class ScratchFolder {
 public:
  ScratchFolder(const std::string& root, const std::string& name);
  const std::string& Path() const { return path_; }
  // Creates (if needed) and returns the subfolder `relative`.
  std::string Sub(const std::string& relative) const;

 private:
  std::string path_;
};

std::string Join(const std::string& folder, const std::string& name);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
std::string ReadBytes(const std::string& path);  // throws when the file cannot be read
void WriteBytes(const std::string& path, const std::string& bytes);
void CopyInto(const std::string& from, const std::string& to);
// Names of the entries of a folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

// One start of the stand-in game.
struct StandinStart {
  std::string commandLine;
  std::vector<std::string> argv;
  std::string workingDirectory;
  bool scriptPresent = false;
  std::string script;  // the bytes of "net.txt" in the working directory
};

// Every start recorded in the log so far (empty when the log does not exist yet).
std::vector<StandinStart> ReadStandinLog(const std::string& logPath);

}  // namespace harness
