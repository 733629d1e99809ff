// Where the program's files go: the program's own folder and the folder part of a path.
// A folder part always ends with its separator, so folder + file name is a path; an empty
// folder part means the current directory.
#pragma once

#include <string>
#include <string_view>

namespace launch {

// Full path of the running executable.
std::string ProgramPath();

// The executable's folder with its trailing separator.
std::string ProgramFolder();

// Everything up to and including the last folder separator: "\" or ":" on Windows, "/"
// on POSIX hosts (where "\" and ":" are ordinary file-name characters); empty for a bare
// file name.
std::string FolderOf(std::string_view path);

}  // namespace launch
