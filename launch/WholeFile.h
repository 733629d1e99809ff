// Reading and writing a file as a whole, with the program's error messages. A file is
// written to "~lvtmp<process id>-<n>.tmp" in its own folder (n counting from 0 past names
// taken), flushed, and only then put in the target's place with the system's replace, the old
// file briefly under another such name: a failed write or replace leaves the target whole, with
// its old or its new contents, and a replaced target keeps its attributes.
#pragma once

#include <string>
#include <vector>

namespace launch {

// The whole contents. Throws LaunchError "Cannot open file "<full path>". <system text>"
// when the file cannot be opened (a missing file included).
std::string ReadWholeFile(const std::string& path);

// Replaces the file's contents with the lines, each followed by CR LF (the bytes JoinLines
// gives), written in pieces so a long list needs no second copy in memory. Throws LaunchError
// "Cannot create file "<full path>". <system text>" when the file cannot be created or
// replaced (a target that creating it for writing would refuse: read-only, a folder, held open
// without shared writes), and "Stream write error" when writing fails. On failure the target
// is unchanged and no temporary file is left, except when a failed replace left neither
// contents in the target's place: then both stay, and the message ends by naming them.
void WriteLinesFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace launch
