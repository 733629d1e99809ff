// Fonts by face name and pixel height. Heights are character heights (CreateFontA with a
// negative height), which is what a point size at 96 dpi turns into.
#pragma once

#include <string>

#include "wingui/Handles.h"

namespace wingui {

// The face and height every control uses unless it is given its own font.
inline constexpr char kDefaultFontFace[] = "MS Sans Serif";
inline constexpr int kDefaultFontHeight = 11;

// Creates a normal-weight font; throws when the system refuses.
UniqueHfont MakeFont(const std::string& face, int pixelHeight);

}  // namespace wingui
