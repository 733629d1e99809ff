// Plain-text clipboard copy for the tray menu's "IP" item.
#pragma once

#include <windows.h>

#include <string>

namespace setup {

// Replaces the clipboard's contents with the text (CF_TEXT, ANSI). Throws when the
// clipboard cannot be opened or filled.
void CopyTextToClipboard(HWND owner, const std::string& text);

}  // namespace setup
