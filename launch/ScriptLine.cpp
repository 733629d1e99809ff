// Splitting a script line into its keyword and the rest.
#include "ScriptLine.h"

#include "TextLines.h"

namespace launch {

bool IsScriptBlank(char c) { return c == ' ' || c == '\t'; }

ScriptLine SplitScriptLine(std::string_view line) {
  std::size_t start = 0;
  while (start < line.size() && IsScriptBlank(line[start])) ++start;
  std::size_t end = start;
  while (end < line.size() && !IsScriptBlank(line[end])) ++end;
  std::size_t rest = end;
  while (rest < line.size() && IsScriptBlank(line[rest])) ++rest;

  // Only ASCII letters: the game's keywords are plain English words.
  return {AsciiLower(std::string(line.substr(start, end - start))), line.substr(rest)};
}

long LeadingNumber(std::string_view text, bool& hasDigits) {
  std::size_t i = 0;
  while (i < text.size() && IsScriptBlank(text[i])) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  long value = 0;
  hasDigits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    hasDigits = true;
    if (value < 1000000) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

std::string_view FirstWord(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && !IsScriptBlank(text[end])) ++end;
  return text.substr(0, end);
}

}  // namespace launch
