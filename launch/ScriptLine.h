// How the game splits one line of its network script into a keyword and the words after it.
// Shared by the script check and by whatever reads allowed-list entries the way the game does;
// what a keyword means stays with its reader.
#pragma once

#include <string>
#include <string_view>

namespace launch {

// The game's word separators: blanks and tabs.
bool IsScriptBlank(char c);

struct ScriptLine {
  std::string keyword;    // the first word, in lower case (the game reads keywords in any case)
  std::string_view rest;  // after the blanks that follow the keyword; views the line
};

// Leading blanks are passed over; an empty or all-blank line gives an empty keyword.
ScriptLine SplitScriptLine(std::string_view line);

// The text up to its first blank.
std::string_view FirstWord(std::string_view text);

// The whole number the text begins with, as the game reads a count: blanks, a sign and
// digits; 0 when there are no digits (hasDigits says which). Large counts stop growing past
// a million, which is more than anything the game could count.
long LeadingNumber(std::string_view text, bool& hasDigits);

}  // namespace launch
