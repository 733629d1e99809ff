#include "wingui/Fonts.h"

#include <stdexcept>

namespace wingui {

UniqueHfont MakeFont(const std::string& face, int pixelHeight) {
  HFONT font = CreateFontA(-pixelHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (!font) throw std::runtime_error("Cannot create the font " + face);
  return UniqueHfont(font);
}

}  // namespace wingui
