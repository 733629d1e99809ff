// Scratch folders, byte-exact file access and the stand-in game's log format
// ("<name> <length>:<bytes>\n" fields between "record" and "end" lines).
#include "harness/Scratch.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace harness {
namespace fs = std::filesystem;

std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string out = "Z:" + path;
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

ScratchFolder::ScratchFolder(const std::string& root, const std::string& name)
    : path_(Join(WindowsPath(root), name)) {
  fs::remove_all(path_);
  fs::create_directories(path_);
}

std::string ScratchFolder::Sub(const std::string& relative) const {
  std::string sub = Join(path_, relative);
  fs::create_directories(sub);
  return sub;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}

bool FileExists(const std::string& path) { return fs::is_regular_file(path); }

bool FolderExists(const std::string& path) { return fs::is_directory(path); }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void CopyInto(const std::string& from, const std::string& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

// Reads one "<name> <length>:<bytes>\n" field at `pos`; false at a malformed or cut-off field
// (a stand-in may be writing the log at this moment).
bool ReadField(const std::string& log, size_t& pos, std::string& name, std::string& value) {
  size_t blank = log.find(' ', pos);
  size_t colon = blank == std::string::npos ? blank : log.find(':', blank);
  if (colon == std::string::npos) return false;
  name = log.substr(pos, blank - pos);
  size_t length = std::stoul(log.substr(blank + 1, colon - blank - 1));
  if (colon + 1 + length + 1 > log.size()) return false;
  value = log.substr(colon + 1, length);
  pos = colon + 1 + length + 1;
  return true;
}

}  // namespace

std::vector<StandinStart> ReadStandinLog(const std::string& logPath) {
  std::vector<StandinStart> starts;
  if (!FileExists(logPath)) return starts;
  // A stand-in holds the log exclusively while it appends; try again shortly.
  std::string log;
  for (int attempt = 0;; ++attempt) {
    try {
      log = ReadBytes(logPath);
      break;
    } catch (const std::runtime_error&) {
      if (attempt == 200) throw;
      Sleep(10);
    }
  }
  const std::string kBegin = "record\n", kEnd = "end\n";
  size_t pos = 0;
  while (log.compare(pos, kBegin.size(), kBegin) == 0) {
    pos += kBegin.size();
    StandinStart start;
    std::string name, value;
    while (log.compare(pos, kEnd.size(), kEnd) != 0) {
      if (!ReadField(log, pos, name, value)) return starts;
      if (name == "cmdline")
        start.commandLine = value;
      else if (name == "argv")
        start.argv.push_back(value);
      else if (name == "cwd")
        start.workingDirectory = value;
      else if (name == "net.txt") {
        start.scriptPresent = true;
        start.script = value;
      }
    }
    pos += kEnd.size();
    starts.push_back(start);
  }
  return starts;
}

}  // namespace harness
