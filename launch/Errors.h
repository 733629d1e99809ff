// The one kind of error the launch core raises, and the two text rules that every error
// message of the program passes through before it reaches the error box.
#pragma once

#include <stdexcept>
#include <string>

namespace launch {

// what() is the raw message text ("Cannot create file \"...\". <system text>"); the
// error box adds the closing full stop with AddClosingFullStop, as it does for every error.
class LaunchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Removes trailing control characters, blanks and full stops (the line break and the
// closing full stop that system texts come with).
std::string TidySystemText(std::string text);

// Appends "." when the last character sorts after "." (compared as unsigned bytes).
std::string AddClosingFullStop(std::string message);

}  // namespace launch
