// Program folder and folder-part rules.
#include "Paths.h"

#include "Platform.h"

namespace launch {

namespace {
#ifdef _WIN32
constexpr std::string_view kFolderSeparators = "\\:";
#else
constexpr std::string_view kFolderSeparators = "/";
#endif
}  // namespace

std::string FolderOf(std::string_view path) {
  const std::size_t last = path.find_last_of(kFolderSeparators);
  if (last == std::string_view::npos) return {};
  return std::string(path.substr(0, last + 1));
}

std::string ProgramFolder() { return FolderOf(ProgramPath()); }

}  // namespace launch
