// Fonts by face name, pixel height and weight. Heights are character heights (CreateFontA
// with a negative height), which is what a point size at 96 dpi turns into. Which faces the
// program's windows use is the program's to say (Application::SetDefaultFont, SetFont).
#pragma once

#include <windows.h>

#include <string>

#include "wingui/Handles.h"

namespace wingui {

// Creates the font; throws when the system refuses.
UniqueHfont MakeFont(const std::string& face, int pixelHeight, int weight = FW_NORMAL);

// The system's own dialog font (its face and character height at 96 dpi): what windows use
// when the program names none.
std::string SystemFontFace();
int SystemFontHeight();

}  // namespace wingui
