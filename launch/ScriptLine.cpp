// Splitting a script line into its keyword and the rest.
#include "ScriptLine.h"

namespace launch {

bool IsScriptBlank(char c) { return c == ' ' || c == '\t'; }

ScriptLine SplitScriptLine(std::string_view line) {
  std::size_t start = 0;
  while (start < line.size() && IsScriptBlank(line[start])) ++start;
  std::size_t end = start;
  while (end < line.size() && !IsScriptBlank(line[end])) ++end;
  std::size_t rest = end;
  while (rest < line.size() && IsScriptBlank(line[rest])) ++rest;

  ScriptLine split{std::string(line.substr(start, end - start)), line.substr(rest)};
  // Only ASCII letters: the game's keywords are plain English words.
  for (char& c : split.keyword) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return split;
}

std::string_view FirstWord(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && !IsScriptBlank(text[end])) ++end;
  return text.substr(0, end);
}

}  // namespace launch
