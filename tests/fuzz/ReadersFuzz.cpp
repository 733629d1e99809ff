// Fuzzes the readers of the program's files: any bytes must load without a crash or an
// out-of-bounds read, reading a file must give what parsing its bytes gives, and writing
// what was read and reading it again must give the same records.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

#include "FuzzCheck.h"
#include "SettingsFiles.h"
#include "TextLines.h"

namespace {

// One scratch file per fuzzing process, in the system's temporary folder, removed at exit.
struct Scratch {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("lanvora-fuzz-" + std::to_string(getpid()) + ".txt"))
                         .string();
  ~Scratch() { std::remove(path.c_str()); }
};

const std::string& ScratchPath() {
  static const Scratch scratch;
  return scratch.path;
}

void WriteScratch(std::string_view bytes) {
  std::FILE* file = std::fopen(ScratchPath().c_str(), "wb");
  Check(file != nullptr, "scratch file opens");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const std::vector<std::string> lines = launch::SplitLines(bytes);
  for (const std::string& line : lines) {
    Check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
          "no line holds a line end or NUL");
  }
  Check(launch::SplitLines(launch::JoinLines(lines)) == lines, "lines survive a round trip");

  const launch::LaunchSettings settings = launch::ParseSettings(bytes);
  Check(launch::ParseSettings(launch::FormatSettings(settings)) == settings,
        "settings survive a round trip");
  const launch::AllowedList list = launch::ParseAllowedList(bytes);
  Check(launch::ParseAllowedList(launch::JoinLines(list)) == list, "list survives a round trip");

  // The file readers add only the reading itself to the parsing above. Going through a
  // real file is slow, so it is checked on one run in 64, always the first (so replaying
  // a single input checks it too).
  static unsigned runs = 0;
  if (runs++ % 64 != 0) return 0;
  WriteScratch(bytes);
  Check(launch::ReadSettings(ScratchPath()) == settings, "ReadSettings matches parsing");
  Check(launch::ReadAllowedList(ScratchPath()) == list, "ReadAllowedList matches parsing");
  return 0;
}
