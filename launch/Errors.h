// The one kind of error the launch core raises, and the two text rules that every error
// message of the program passes through before it reaches the error box.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace launch {

// The program's error: what() is the exact message text. The error box adds the closing
// full stop with AddClosingFullStop, as it does for every error.
//
// Not std::runtime_error: that class keeps its text in the run-time library's older,
// reference-counted string, and using it links a second complete string implementation
// into the program (about 60 KB, a fifth of the exe).
class Error : public std::exception {
 public:
  explicit Error(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// The launch core's errors: "Cannot create file \"...\". <system text>" and the like.
class LaunchError : public Error {
 public:
  using Error::Error;
};

// Removes trailing control characters, blanks and full stops (the line break and the
// closing full stop that system texts come with).
std::string TidySystemText(std::string text);

// Appends "." when the last character sorts after "." (compared as unsigned bytes).
std::string AddClosingFullStop(std::string message);

}  // namespace launch
