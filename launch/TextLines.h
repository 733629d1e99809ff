// The text-line convention shared by every file the program writes and reads: 8-bit
// bytes, each line ended by CR LF on writing; CR LF, a lone CR or a lone LF on reading.
// No code page conversion happens here or anywhere in launch/.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace launch {

// Splits file contents into lines. A NUL byte ends the text; LF followed by CR is two
// line ends; text after the last break is a last line; one break at the very end adds
// no empty line (an empty line before it still counts).
std::vector<std::string> SplitLines(std::string_view bytes);

// Every line followed by CR LF, the last one included; no lines give no bytes.
std::string JoinLines(const std::vector<std::string>& lines);

// The letters A to Z in lower case, every other byte as it is: the game's keywords and
// Windows file names compare this way.
std::string AsciiLower(std::string text);

}  // namespace launch
