// The program's two error boxes: the ordinary one for an error that escaped a command
// (caption: the application's title, stop icon, OK button) and the fatal one for an error
// that escaped the start-up sequence. The message-box call goes through a small table
// that tests replace; it holds the real MessageBoxA by default.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace wingui {

struct BoxCalls {
  int(WINAPI* messageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type) = MessageBoxA;
};

// The table in use; tests assign their own functions and put the old table back.
BoxCalls& Boxes();

// The error's own text (what() of a standard exception).
std::string ErrorText(std::exception_ptr error);
// The error's kind: its type name, as readable as the compiler allows.
std::string ErrorKind(std::exception_ptr error);

// The ordinary error box; the text gets its closing full stop.
void ShowErrorBox(HWND owner, const std::string& caption, std::exception_ptr error);
// The task-modal "Application Error" box naming the error's kind and giving its text.
void ShowFatalErrorBox(std::exception_ptr error);

}  // namespace wingui
