// Line splitting and joining for the program's 8-bit text files.
#include "TextLines.h"

#include <algorithm>

namespace launch {

std::vector<std::string> SplitLines(std::string_view bytes) {
  // Whatever follows a NUL is not part of the text.
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  std::vector<std::string> lines;
  // Counting the break characters first bounds the number of lines, so the vector never
  // reallocates (lists of a hundred thousand entries are read in one go).
  const auto breaks = std::count(text.begin(), text.end(), '\r') +
                      std::count(text.begin(), text.end(), '\n');
  lines.reserve(static_cast<std::size_t>(breaks) + 1);
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    ++i;
    // Only CR LF is one break; LF CR is two.
    if (c == '\r' && i < text.size() && text[i] == '\n') ++i;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const std::string& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

}  // namespace launch
