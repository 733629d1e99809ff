// How the program looks, which it tells the framework before its first window: its icon and
// the fonts of its windows. Everything else about the look is the framework's or the system's.
#pragma once

#include <windows.h>

#include "wingui/Application.h"

namespace setup {

// The program's icon resource (resources/lanvora.rc.in).
inline constexpr WORD kIconId = 1;
// The font of every window and control that is given none of its own.
inline constexpr char kFontFace[] = "MS Sans Serif";
inline constexpr int kFontHeight = 11;
// The main window's heading and maker label: "Arial Black", a face whose only weight is black;
// asking for that weight matches it exactly where it is installed, and where it is missing the
// substitute face is still drawn heavy instead of looking like body text.
inline constexpr char kHeadingFace[] = "Arial Black";
inline constexpr int kHeadingWeight = FW_BLACK;

inline void TellTheFramework() {
  wingui::App().SetIconResource(kIconId);
  wingui::App().SetDefaultFont(kFontFace, kFontHeight);
}

}  // namespace setup
