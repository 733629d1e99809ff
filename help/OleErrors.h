// Turns a failed HRESULT of an automation call into the program's error: the component's
// own description, else the system's text for the code, else "OLE error %.8x".
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace help {

class OleError : public std::runtime_error {
 public:
  OleError(HRESULT code, const std::string& text) : std::runtime_error(text), code_(code) {}
  HRESULT Code() const { return code_; }

 private:
  HRESULT code_;
};

// The text for a failure just returned by a call: takes (and clears) the thread's error
// information, so call it right after the failing call.
std::string OleErrorText(HRESULT code);

// Throws OleError when code is a failure code.
void CheckOle(HRESULT code);

}  // namespace help
