// Making fonts, and the system's dialog font for a program that names none.
#include "wingui/Fonts.h"

#include "launch/Errors.h"

namespace wingui {
namespace {

LOGFONTA SystemFont() {
  LOGFONTA font{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  return font;
}

}  // namespace

UniqueHfont MakeFont(const std::string& face, int pixelHeight, int weight) {
  HFONT font = CreateFontA(-pixelHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (!font) throw launch::Error("Cannot create the font " + face);
  return UniqueHfont(font);
}

std::string SystemFontFace() { return SystemFont().lfFaceName; }

int SystemFontHeight() {
  const LONG height = SystemFont().lfHeight;
  return height < 0 ? -height : height > 0 ? height : 11;
}

}  // namespace wingui
