// The program's message boxes: the ordinary error box for an error that escaped a command
// (caption: the application's title, stop icon, OK button), the fatal one for an error that
// escaped the start-up sequence, and the warning that asks whether to go on all the same.
// Each goes through the box seam (launch/Seam.h), which tests change.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

#include "launch/Seam.h"

namespace wingui {

struct BoxCalls {
  int(WINAPI* ShowMessageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
};

launch::Seam<BoxCalls>& BoxSeam();

// The error's own text (what() of a standard exception).
std::string ErrorText(std::exception_ptr error);
// The error's kind: its type name, as readable as the compiler allows.
std::string ErrorKind(std::exception_ptr error);

// The ordinary error box; the text gets its closing full stop.
void ShowErrorBox(HWND owner, const std::string& caption, std::exception_ptr error);
// The task-modal "Application Error" box naming the error's kind and giving its text.
void ShowFatalErrorBox(std::exception_ptr error);

// A warning icon, "Yes" and "No", with "No" the default so that a hasty Enter changes
// nothing; true when the user answered "Yes".
bool AskToGoOn(HWND owner, const std::string& caption, const std::string& text);

}  // namespace wingui
