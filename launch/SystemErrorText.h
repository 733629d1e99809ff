// The system's own text for an error code: FormatMessage on Windows, strerror elsewhere
// (Platform_win.cpp, Platform_posix.cpp). One small header for every folder that shows a
// system error in a message, without the rest of the platform layer.
#pragma once

#include <string>

namespace launch {

// The system's text, as the system gives it (a line break and a full stop at its end).
std::string SystemErrorText(int code);

// The same, tidied for a message (TidySystemText, Errors.h): asked once per code, then kept.
std::string TidiedSystemErrorText(int code);

}  // namespace launch
