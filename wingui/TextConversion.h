// Text between the program's 8-bit ANSI code page and the system's UTF-16, for the few
// places that must speak UTF-16: the browser control, error descriptions of COM objects,
// and list boxes, whose wide messages pass through unconverted.
#pragma once

#include <string>
#include <string_view>

namespace wingui {

std::wstring WideFromAnsi(std::string_view text);
// Appends the converted text to `wide` (no allocation when `wide` has the room reserved).
void AppendWideFromAnsi(std::wstring& wide, std::string_view text);
std::string AnsiFromWide(std::wstring_view text);

}  // namespace wingui
