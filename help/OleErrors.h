// Turns a failed HRESULT of an automation call into the program's error: the component's
// own description, else the system's text for the code, else "OLE error %.8x".
#pragma once

#include <windows.h>

#include <string>

#include "launch/Errors.h"

namespace help {

class OleError : public launch::Error {
 public:
  OleError(HRESULT code, std::string text) : launch::Error(std::move(text)), code_(code) {}
  HRESULT Code() const { return code_; }

 private:
  HRESULT code_;
};

// Throws OleError when code is a failure code. Takes (and clears) the thread's error
// information for its text, so call it right after the failing call.
void CheckOle(HRESULT code);

}  // namespace help
