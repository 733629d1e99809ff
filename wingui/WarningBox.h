// A warning that asks whether to go on all the same: a warning icon, "Yes" and "No", with
// "No" the default so that a hasty Enter changes nothing. It goes through the same
// message-box table as the error boxes, which tests replace.
#pragma once

#include <windows.h>

#include <string>

namespace wingui {

// True when the user answered "Yes".
bool AskToGoOn(HWND owner, const std::string& caption, const std::string& text);

}  // namespace wingui
